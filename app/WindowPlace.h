// Where the main window opens: the place kept from the last run, or at the first start a size
// that shows the preview and about twenty lines of a document, on the screen it opens on.
#pragma once

#include "app/EditorSettings.h"

#include <QList>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>

class QMainWindow;

namespace zor {

// The size (without the window manager's frame) at which window shows its menu, toolbars,
// status bar, its dock widgets (shown or not) and a document area of about twenty lines of
// the editor's text.
QSize FirstStartSize(const QMainWindow &window);

// The main window's rectangle (without frame) on screens, the available areas of the desktop's
// screens. A kept place whose middle is on one of them stays there, made to fit it; otherwise
// wanted is centred on the screen at pointer (the first screen when none is there), made to
// fit. Empty when there is no screen.
QRect MainWindowPlace(const std::optional<TWindowPlace> &kept, QSize wanted,
                      const QList<QRect> &screens, QPoint pointer);

// Puts window at the place kept in profile, maximised when it was, or at its first-start size.
void PlaceMainWindow(QMainWindow &window, const TProfileFile &profile);
// Writes window's place (its normal size when maximised or minimised) to settingsFile; a file
// that cannot be written is passed over, and the next start opens at the first-start size.
void KeepMainWindowPlace(const QMainWindow &window, const QString &settingsFile);

} // namespace zor
