// The live preview: a dock under the documents that shows the panel running the active
// document's program, 50 frames a second, and follows the text as it is written.
#pragma once

#include "sim/PanelView.h"
#include "sim/ProgramSource.h"
#include "sim/engine/Engine.h"
#include "sim/engine/Player.h"

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
class QLabel;
class QSlider;
class QSpinBox;
class QStackedWidget;
class QTimer;
class QToolButton;

namespace zor {

class TPreviewDock : public QDockWidget
{
    Q_OBJECT
public:
    static constexpr int RetranslateDelayMs = 300;
    static constexpr int TimelineFrames = 3000; // the first 60 seconds

    // tick and clock as TFramePlayer takes them (null: real time, the system clock).
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

    TFramePlayer &Player() { return *Runner; }
    TPanelView *View = nullptr;

    // Controls, by name.
    QToolButton *PlayButton = nullptr, *RestartButton = nullptr, *StepButton = nullptr;
    QSlider *Timeline = nullptr;
    QLabel *Position = nullptr;
    QSpinBox *Zoom = nullptr;
    QCheckBox *FitWidth = nullptr, *LedLook = nullptr;
    // Says why the panel shows nothing, in place of the panel (hidden while a program runs).
    QLabel *Message = nullptr;

    // Puts the current frame on the clipboard as an image at the preview's zoom.
    void CopyFrame();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    bool focusNextPrevChild(bool next) override;

private:
    void UpdateZoom();
    void FitStripHeight();
    void UpdatePosition();
    void UpdatePlayButton();
    void UpdateSuspended();

    std::unique_ptr<TFramePlayer> Runner;
    QPointer<TProgramSource> Source;
    QPointer<QWidget> FocusTarget;
    QString TooManySegmentsText;
    QStackedWidget *Strip = nullptr;
    QTimer *Debounce = nullptr;
    QTimer *PositionTimer = nullptr;
    // The player's frames on their way to the view.
    TFrameHandOff FrameHandOff{this, [this](const TPanelPicture &frame) { View->SetFrame(frame); }};
    bool SliderHeld = false;
};

} // namespace zor
