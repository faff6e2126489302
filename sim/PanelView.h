// The panel on screen: the picture of a frame drawn by the engine's painter into a QImage, the
// widget that shows it repainting only the dots that change, and the hand-off that brings
// frames from the player's thread to the window's. The simulation window and the preview both
// show the panel through these.
#pragma once

#include "sim/engine/PanelPainter.h"

#include <QImage>
#include <QMutex>
#include <QRect>
#include <QWidget>
#include <array>
#include <atomic>
#include <cstdint>
#include <functional>

namespace zor {

// The image of a picture at zoom pixels a dot (1 to 8, clamped): square dots with black
// between them as the simulation window draws them, or with ledLook round lit dots and dim
// unlit ones. The image is (241 x zoom) by (21 x zoom) pixels.
QImage PanelImage(const TPanelPicture &picture, int zoom, bool ledLook);

// The panel's image kept up to date dot by dot: a new frame redraws only the dots that differ
// from the last one. Nothing is allocated per frame; the image is made anew only when the zoom
// or the look changes.
class TPanelCanvas
{
public:
    TPanelCanvas();
    // zoom 1 to 8 (clamped); redraws the whole image. Returns whether anything changed.
    bool SetLook(int zoom, bool ledLook);
    // Draws the dots of frame that differ from the frame drawn before. Returns the rectangle of
    // changed dots of each dot row (empty where a row is unchanged), in image pixels.
    const std::array<QRect, PanelRows> &Draw(const TPanelPicture &frame);

    const QImage &Picture() const { return Image; }
    const TPanelPicture &Frame() const { return Shown; }
    int Zoom() const { return Painter.Look().Zoom; }
    bool LedLook() const { return Painter.Look().Led; }

private:
    TPanelPainter Painter;
    QImage Image;
    TPanelPicture Shown;
    std::array<QRect, PanelRows> Changed;
};

// Brings frames from another thread to the receiver's: the newest frame waits under a lock and
// one queued call at a time hands it to show, so that a window that falls behind shows the
// newest frame and skips the ones between. Lives as long as the receiver (make it a member).
class TFrameHandOff
{
public:
    using TShow = std::function<void(const TPanelPicture &frame)>;
    TFrameHandOff(QObject *receiver, TShow show);
    // From any thread.
    void Post(const TPanelPicture &frame);
    // While held, frames posted or on their way are dropped, so that what is shown stays.
    void Hold(bool held) { Held = held; }

private:
    void Deliver();

    QObject *Receiver;
    TShow Show;
    QMutex Lock;
    TPanelPicture Latest; // under Lock
    std::atomic<bool> Posted{false};
    std::atomic<bool> Held{false};
};

// Shows the panel, repainting only the dots that change.
class TPanelView : public QWidget
{
    Q_OBJECT
public:
    explicit TPanelView(QWidget *parent = nullptr);
    // Shows the frame; a frame equal to the one shown costs nothing.
    void SetFrame(const TPanelPicture &frame);
    // Pixels a dot (1 to 8) and the look; the view takes the picture's size.
    void SetLook(int zoom, bool ledLook);
    const TPanelPicture &Frame() const { return Canvas.Frame(); }
    int Zoom() const { return Canvas.Zoom(); }
    bool LedLook() const { return Canvas.LedLook(); }
    // The picture shown, as PanelImage draws it.
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

} // namespace zor
