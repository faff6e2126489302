#include "editor/AppIcon.h"

#include <QApplication>
#include <QPainter>

namespace zor {

QPixmap ZorAppPixmap(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size / 32.0;
    p.setPen(QPen(QColor(90, 90, 90), s));
    p.setBrush(QColor(20, 20, 20));
    p.drawRoundedRect(QRectF(0.5 * s, 4.5 * s, 31 * s, 23 * s), 3 * s, 3 * s);

    // A 7 x 5 dot Z in the panel's three colours, one colour per band of rows.
    static const char *const rows[5] = {"#######", ".....#.", "...#...", ".#.....", "#######"};
    const QColor colours[5] = {QColor(255, 60, 40), QColor(255, 200, 0), QColor(255, 200, 0),
                               QColor(255, 200, 0), QColor(40, 220, 60)};
    p.setPen(Qt::NoPen);
    for (int r = 0; r < 5; ++r) {
        for (int c = 0; c < 7; ++c) {
            QColor colour = rows[r][c] == '#' ? colours[r] : QColor(55, 55, 55);
            p.setBrush(colour);
            p.drawEllipse(QPointF((4.5 + c * 3.8) * s, (8.5 + r * 3.8) * s), 1.5 * s, 1.5 * s);
        }
    }
    return pixmap;
}

QIcon ZorAppIcon()
{
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128})
        icon.addPixmap(ZorAppPixmap(size));
    return icon;
}

void SetUpApplication()
{
    QApplication::setApplicationName(QStringLiteral("ZorEdit"));
    QApplication::setApplicationDisplayName(QStringLiteral(""));
    QApplication::setWindowIcon(ZorAppIcon());
}

} // namespace zor
