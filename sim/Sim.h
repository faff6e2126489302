// The simulation window: runs the display engine on a program and shows the panel as it draws
// it, 50 frames a second, until a key (which also closes the window) or a mouse button stops it.
#pragma once

#include "sim/PanelView.h"
#include "sim/engine/Player.h"

#include <QDialog>
#include <QImage>
#include <string>

namespace zor {

class TFormSim : public QDialog
{
    Q_OBJECT
public:
    // tick paces the frames (null: the player's own 20 ms tick; tests give their own); not owned.
    explicit TFormSim(QWidget *parent = nullptr, TFrameTick *tick = nullptr);
    ~TFormSim() override;

    // The program the next run starts from. The window keeps only the pointer: the caller keeps
    // the text alive while the window is shown, and clears it (nullptr) afterwards.
    void SetProgram(const std::string *program);

    // Starts a run of the program from its beginning on the player's thread, giving up a run
    // that is still going. Nothing happens without a program.
    void BNText();

    // Stops the run at its next frame; the last frame stays on the window.
    void StopRun();

    bool Running() const { return Player.Playing() && Player.RunGoing(); }
    // Waits until a stopped run has made its last frame (for tests).
    bool WaitUntilStopped() const { return Player.WaitUntilHeld(); }

    // The picture of the last frame shown, as painted: twice the frame's size.
    QImage Picture() const { return Canvas.Picture(); }

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void ShowFrame(const TPanelPicture &frame);

    const std::string *Program = nullptr;
    TPanelCanvas Canvas;
    bool OwnPaintPending = false;
    bool StoppedByMouse = false;
    TFrameHandOff FrameHandOff{this, [this](const TPanelPicture &frame) { ShowFrame(frame); }};
    // Last, so that its thread, which hands frames to the members above, ends first.
    TFramePlayer Player;
};

} // namespace zor
