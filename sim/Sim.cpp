#include "sim/Sim.h"

#include <QPainter>

namespace zor {

TFormSim::TFormSim(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormSim"));
    setWindowTitle(QStringLiteral("Simulation"));
    setFixedSize(484, 48);
    // An unlit panel: 120 x 10 dark dots on black, as the panel looks before a program runs.
    Picture = QImage(241, 21, QImage::Format_RGB32);
    Picture.fill(Qt::black);
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 120; ++x)
            Picture.setPixel(2 * x + 1, 2 * y + 1, qRgb(40, 40, 40));
}

void TFormSim::SetProgram(const std::string *program)
{
    Program = program;
}

void TFormSim::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    p.drawImage(QRect(1, 3, 482, 42), Picture);
}

} // namespace zor
