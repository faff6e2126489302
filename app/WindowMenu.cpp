#include "app/WindowMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>

namespace zor {

void FillWindowMenu(QMenu &menu, QMdiArea &area, QList<QAction *> &previous)
{
    for (QAction *a : previous)
        menu.removeAction(a);
    qDeleteAll(previous);
    previous.clear();
    const QList<QMdiSubWindow *> windows = area.subWindowList();
    if (windows.isEmpty())
        return;
    previous << menu.addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow *sub = windows[i];
        // A "&" of the name would otherwise vanish and make the next letter an access key.
        QString name = sub->windowTitle();
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction *item = menu.addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        item->setCheckable(true);
        item->setChecked(sub == area.activeSubWindow());
        QObject::connect(item, &QAction::triggered, &area,
                         [area = &area, sub = QPointer<QMdiSubWindow>(sub)] {
                             if (sub)
                                 area->setActiveSubWindow(sub);
                         });
        previous << item;
    }
}

void TileSubWindows(QMdiArea &area, Qt::Orientation orientation)
{
    const QList<QMdiSubWindow *> windows = area.subWindowList();
    if (windows.isEmpty())
        return;
    const QRect rect = area.viewport()->rect();
    const int n = int(windows.size());
    for (int i = 0; i < n; ++i) {
        QMdiSubWindow *w = windows[i];
        w->showNormal();
        if (orientation == Qt::Horizontal) {
            const int top = rect.height() * i / n, bottom = rect.height() * (i + 1) / n;
            w->setGeometry(0, top, rect.width(), bottom - top);
        } else {
            const int left = rect.width() * i / n, right = rect.width() * (i + 1) / n;
            w->setGeometry(left, 0, right - left, rect.height());
        }
    }
}

} // namespace zor
