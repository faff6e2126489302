#include "app/BarWidgets.h"

#include "app/FontCheck.h"

#include <QPainter>

namespace zor {

TToolGap::TToolGap(int width, QWidget *parent) : QWidget(parent)
{
    setFixedWidth(width);
}

void TToolGap::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    const int x = width() / 2;
    p.setPen(palette().color(QPalette::Mid));
    p.drawLine(x, 4, x, height() - 5);
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(x + 1, 4, x + 1, height() - 5);
}

TStatusPanel::TStatusPanel(int width, QWidget *parent) : QLabel(parent), Width(width)
{
    setMaximumWidth(width);
}

QSize TStatusPanel::sizeHint() const
{
    return {Width, QLabel::sizeHint().height()};
}

QSize TStatusPanel::minimumSizeHint() const
{
    return {0, QLabel::minimumSizeHint().height()};
}

QPixmap SymbolImage(const TCommandButton &button)
{
    QPixmap image(QStringLiteral(":/symbols/%1.png")
                      .arg(QLatin1String(button.Name.data(), qsizetype(button.Name.size()))));
    if (!image.isNull() && image.size() == QSize(24, 16))
        return image;
    image = QPixmap(24, 16);
    image.fill(Qt::transparent);
    QPainter p(&image);
    const std::uint32_t c = button.Colour();
    p.setPen(QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF));
    QFont font{QString::fromLatin1(SymbolFontFace)};
    font.setPixelSize(15);
    p.setFont(font);
    p.drawText(image.rect(), Qt::AlignCenter, QString(QChar(button.Symbol)));
    return image;
}

} // namespace zor
