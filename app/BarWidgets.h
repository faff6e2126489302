// Small widgets of the main window's bars and the images of the command buttons.
#pragma once

#include "commands/Vocabulary.h"

#include <QIcon>
#include <QLabel>
#include <QPixmap>
#include <QWidget>
#include <array>
#include <functional>
#include <vector>

class QAction;
class QMainWindow;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace zor {

// The two parts of a "short|long" hint; a hint without '|' is both.
QString ShortHint(const QString &hint);
QString LongHint(const QString &hint);

// A toolbar gap: an empty space with a faint divider, the given number of pixels wide.
class TToolGap : public QWidget
{
public:
    TToolGap(int width, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *) override;
};

// A status-bar panel that is given its width when there is room and gives way when the window
// is narrower, clipping its text at its own edge instead of running under the next panel.
class TStatusPanel : public QLabel
{
public:
    TStatusPanel(int width, QWidget *parent);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

private:
    int Width;
};

// A fixed toolbar of window, named name, height pixels high, without margins or spacing, so
// that its buttons sit side by side as one row.
QToolBar *AddFixedToolBar(QMainWindow &window, const char *name, int height);

// A flat button at the end of bar, size pixels, showing icon at iconSize; hint ("short|long")
// gives its tooltip, its status-bar text and its accessible name.
QToolButton *AddBarButton(QToolBar &bar, const QString &name, const QIcon &icon, QSize size,
                          QSize iconSize, const QString &hint);

// The button of action at the end of bar, named name, size pixels: it shows the action's image,
// takes its tooltip and status-bar text, follows its enabled state and runs it; its accessible
// name is the action's short hint.
QToolButton *AddActionButton(QToolBar &bar, QAction *action, const char *name, QSize size);

// The status bar's three sunken panels, of the given widths in pixels: the first (the hint) gives
// way when the window is narrow, the others always show whole.
std::array<QLabel *, 3> AddStatusPanels(QStatusBar &bar, const std::array<int, 3> &widths);

// The command buttons in vocabulary order, the first ButtonsPerToolBar on first and the others on
// second, each size pixels with its image from images; all start disabled. click gets the index
// of the button clicked.
std::array<QToolButton *, CommandButtonCount>
AddCommandButtons(QToolBar &first, QToolBar &second, const std::vector<QPixmap> &images, QSize size,
                  const std::function<void(int)> &click);

// Whether a command button follows the documents: the six of NeverEnabledButtons only while All
// commands (allCommands) is on.
bool CommandButtonAllowed(const QToolButton &button, bool allCommands);

// The 24 x 16 button image of a command symbol: the committed pictogram, or when it is missing
// the symbol's character drawn in its kind colour, so no button is ever blank.
QPixmap SymbolImage(const TCommandButton &button);

} // namespace zor
