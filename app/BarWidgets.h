// Small widgets of the main window's bars and the images of the command buttons.
#pragma once

#include "commands/Vocabulary.h"

#include <QLabel>
#include <QPixmap>
#include <QWidget>

namespace zor {

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

// The 24 x 16 button image of a command symbol: the committed pictogram, or when it is missing
// the symbol's character drawn in its kind colour, so no button is ever blank.
QPixmap SymbolImage(const TCommandButton &button);

} // namespace zor
