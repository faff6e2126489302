// The simulation window: runs the display engine on a program and shows the panel as it draws
// it, 50 frames a second, until a key (which also closes the window) or a mouse button stops it.
#pragma once

#include "sim/engine/Engine.h"

#include <QDialog>
#include <QImage>
#include <QList>
#include <QMutex>
#include <atomic>
#include <memory>
#include <string>
#include <thread>

namespace zor {

// The panel picture of one frame as the window shows it: 241 x 21 pixels, one per dot with
// black between the dots, in the panel's palette.
QImage FrameImage(const TPanelFrame &frame);
// The same from the frame picture's pixels.
QImage FrameImage(const TFrameBitmap &bitmap);
// The panel's palette as an image's colour table.
QList<QRgb> PanelColourTable();

class TFormSim : public QDialog, private TFrameSink
{
    Q_OBJECT
public:
    explicit TFormSim(QWidget *parent = nullptr);
    ~TFormSim() override;

    // The program the next run starts from. The window keeps only the pointer: the caller keeps
    // the text alive while the window is shown, and clears it (nullptr) afterwards.
    void SetProgram(const std::string *program);

    // Starts a run of the program from its beginning on the engine's thread, stopping a run that
    // is still going. Nothing happens without a program.
    void BNText();

    // Ends the current run (if any) and waits for the engine's thread.
    void StopRun();

    bool Running() const { return RunActive.load(); }

    // The engine, for the clock and for tests; do not touch it while a run lasts.
    TDisplayEngine &Engine() { return *DisplayEngine; }

    // The picture of the last frame shown, as painted: twice the frame's size.
    QImage Picture() const;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    void PresentFrame(const TPanelFrame &frame) override;
    void ShowLatestFrame();

    const std::string *Program = nullptr;
    std::unique_ptr<TDisplayEngine> DisplayEngine;
    TSteadyTick Tick;
    std::thread Worker;
    std::atomic<bool> RunActive{false};
    std::atomic<bool> StopWanted{false};
    std::atomic<bool> UpdatePosted{false};
    bool OwnPaintPending = false;
    bool StoppedByMouse = false;

    mutable QMutex FrameLock;
    QImage Latest;
    // The last frame handed to the window (engine thread only).
    TPanelFrame Shown;
    bool HaveShown = false;
};

} // namespace zor
