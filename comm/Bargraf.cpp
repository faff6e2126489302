#include "comm/Bargraf.h"

#include <QProgressBar>

namespace zor {

TGraf::TGraf(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graf"));
    setWindowTitle(QStringLiteral("Wait please..."));
    // No border icons: a transfer cannot be broken off half way.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(228, 40);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 8, 198, 18);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
}

} // namespace zor
