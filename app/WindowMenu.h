// The Window menu's list of documents and the tiling of document windows.
#pragma once

#include <QList>
#include <Qt>

class QAction;
class QMdiArea;
class QMenu;

namespace zor {

// Replaces the numbered window entries at the end of menu (previous: the ones made last time,
// refilled) with one per window of area, the active one checked.
void FillWindowMenu(QMenu &menu, QMdiArea &area, QList<QAction *> &previous);

// Horizontal: one above the other, each the full width; vertical: side by side.
void TileSubWindows(QMdiArea &area, Qt::Orientation orientation);

} // namespace zor
