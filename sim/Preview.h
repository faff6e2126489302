// The live preview: a dock under the documents that shows the panel running the active
// document's program, 50 frames a second, and follows the text as it is written. Also the
// Export animation command, which writes the same GIF as `zor simulate --gif`.
#pragma once

#include "sim/ProgramSource.h"
#include "sim/engine/Engine.h"
#include "sim/engine/Player.h"

#include <QDialog>
#include <QDockWidget>
#include <QImage>
#include <QMutex>
#include <QPointer>
#include <QRect>
#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

class QCheckBox;
class QPushButton;
class QLabel;
class QRadioButton;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace zor {

struct TFileDialogState;

// The panel picture of a frame at zoom pixels a dot (1 to 8, clamped): square dots with black
// between them as the simulation window draws them, or with ledLook round lit dots and dim
// unlit ones. The picture is (241 x zoom) by (21 x zoom) pixels.
QImage PanelPicture(const TPanelFrame &frame, int zoom, bool ledLook);

// The panel picture kept up to date dot by dot: a new frame redraws only the dots that differ
// from the last one, from one pre-drawn tile per colour. Nothing is allocated per frame; the
// picture and the tiles are made anew only when the zoom or the look changes.
class TPanelCanvas
{
public:
    TPanelCanvas();
    // zoom 1 to 8 (clamped); redraws the whole picture. Returns whether anything changed.
    bool SetLook(int zoom, bool ledLook);
    // Draws the dots of frame that differ from the frame drawn before. Returns the rectangle of
    // changed dots of each dot row (empty where a row is unchanged), in picture pixels.
    const std::array<QRect, PanelRows> &Draw(const TPanelFrame &frame);

    const QImage &Picture() const { return Image; }
    const TPanelFrame &Frame() const { return Shown; }
    int Zoom() const { return DotZoom; }
    bool LedLook() const { return Led; }

private:
    // part: the pixels of the dot's tile to copy.
    void DrawDot(int x, int y, int colour, const QRect &part);

    int DotZoom = 0;
    bool Led = false;
    int Origin = 0; // pixels from the picture's corner to the first dot's tile
    QImage Tiles[4];
    QRect Differs; // of a tile: where the four colours differ
    QImage Image;
    TPanelFrame Shown;
    std::array<QRect, PanelRows> Changed;
};

// Shows the panel, repainting only the dots that change.
class TPanelView : public QWidget
{
    Q_OBJECT
public:
    explicit TPanelView(QWidget *parent = nullptr);
    // Shows the frame; a frame equal to the one shown costs nothing.
    void SetFrame(const TPanelFrame &frame);
    // Pixels a dot (1 to 8) and the look; the view takes the picture's size.
    void SetLook(int zoom, bool ledLook);
    const TPanelFrame &Frame() const { return Canvas.Frame(); }
    int Zoom() const { return Canvas.Zoom(); }
    bool LedLook() const { return Canvas.LedLook(); }
    // The picture shown, as PanelPicture draws it.
    QImage Picture() const { return Canvas.Picture(); }
    // Frames that changed the picture, and paint events, since the view was made.
    std::uint64_t FramesDrawn() const { return Drawn; }
    std::uint64_t Paints() const { return PaintCount; }
    QSize sizeHint() const override;

signals:
    void CopyFrameRequested();

protected:
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;

private:
    TPanelCanvas Canvas;
    std::uint64_t Drawn = 0;
    std::uint64_t PaintCount = 0;
};

class TPreviewDock : public QDockWidget
{
    Q_OBJECT
public:
    static constexpr int RetranslateDelayMs = 300;
    static constexpr int TimelineFrames = 3000; // the first 60 seconds

    // tick and clock as TPreviewPlayer takes them (null: real time, the system clock).
    explicit TPreviewDock(QWidget *parent = nullptr, TFrameTick *tick = nullptr,
                          TClock *clock = nullptr);
    ~TPreviewDock() override;

    // The program to follow (null: none, a dark panel); the caller keeps it alive or deletes it
    // (the dock then lets go). Its program runs at once; later changes restart it
    // RetranslateDelayMs after the last one.
    void SetSource(TProgramSource *source);
    // Where Tab from the last of the preview's controls and Shift+Tab from the first go: the
    // editor of the document followed. Null: they go round the controls.
    void SetFocusTarget(QWidget *target);
    // Shown in the strip, in place of the panel, while the program has more text segments than
    // the panel takes (the editor gives it the Simulation command's message).
    void SetTooManySegmentsText(const QString &text);
    // Reads the followed program now, as the delay's end does.
    void Retranslate();
    bool RetranslatePending() const;

    TPreviewPlayer &Player() { return *Runner; }
    TPanelView *View = nullptr;

    // Controls, by name.
    QToolButton *PlayButton = nullptr, *RestartButton = nullptr, *StepButton = nullptr;
    QSlider *Timeline = nullptr;
    QLabel *Position = nullptr;
    QSpinBox *Zoom = nullptr;
    QCheckBox *FitWidth = nullptr, *LedLook = nullptr;
    // Says why the panel shows nothing, in place of the panel (hidden while a program runs).
    QLabel *Message = nullptr;

    // The zoom in use (the spin box's, or the widest that fits).
    int CurrentZoom() const { return View->Zoom(); }
    // Puts the current frame on the clipboard as an image at the preview's zoom.
    void CopyFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void OnFrame(const TPanelFrame &frame);
    void ShowLatestFrame();
    void UpdateZoom();
    void FitStripHeight();
    void UpdatePosition();
    void UpdatePlayButton();
    void UpdateSuspended();

    std::unique_ptr<TPreviewPlayer> Runner;
    QPointer<TProgramSource> Source;
    QPointer<QWidget> FocusTarget;
    QString TooManySegmentsText;
    QStackedWidget *Strip = nullptr;
    QTimer *Debounce = nullptr;
    QTimer *PositionTimer = nullptr;
    std::atomic<bool> UpdatePosted{false};
    QMutex FrameLock;
    TPanelFrame LatestFrame; // the player's newest, under FrameLock
    bool SliderHeld = false;
};

// Length and scale of an exported animation. The seconds box counts only while Seconds is
// chosen; a length over MaxAnimationFrames shows AnimationTooLong and OK stays greyed.
class TExportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TExportDialog(QWidget *parent = nullptr);
    QRadioButton *OnePass = nullptr, *Seconds = nullptr;
    QSpinBox *SecondsValue = nullptr, *Scale = nullptr;
    QLabel *TooLong = nullptr;
    QPushButton *OkButton = nullptr;

private:
    void UpdateLength();
};

// Zor > Export animation: asks for a *.gif name, proposed from documentName (NAME.gif, in the
// folder of the last export, else the document's), then the length and scale, and writes the
// program's animation with a progress bar. Failures are reported with a message box; nothing
// is written when the operator cancels.
void ExportAnimationCommand(QWidget *parent, const std::string &program,
                            const QString &documentName, TFileDialogState &state);

} // namespace zor
