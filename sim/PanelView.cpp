#include "sim/PanelView.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>

namespace zor {

namespace {

QRect ToQRect(const TPixelRect &r)
{
    return r.Empty() ? QRect() : QRect(r.Left, r.Top, r.Width, r.Height);
}

} // namespace

QImage PanelImage(const TPanelPicture &picture, int zoom, bool ledLook)
{
    TPanelCanvas canvas;
    canvas.SetLook(zoom, ledLook);
    canvas.Draw(picture);
    return canvas.Picture();
}

// ---- TPanelCanvas ----

TPanelCanvas::TPanelCanvas()
{
    Image = QImage(Painter.Width(), Painter.Height(), QImage::Format_RGB32);
    Painter.Paint(Shown, reinterpret_cast<TPixel *>(Image.bits()), Image.bytesPerLine() / 4);
}

bool TPanelCanvas::SetLook(int zoom, bool ledLook)
{
    const TPanelLook look{std::clamp(zoom, TPanelLook::MinZoom, TPanelLook::MaxZoom), ledLook};
    if (look == Painter.Look())
        return false;
    Painter = TPanelPainter(look);
    Image = QImage(Painter.Width(), Painter.Height(), QImage::Format_RGB32);
    Painter.Paint(Shown, reinterpret_cast<TPixel *>(Image.bits()), Image.bytesPerLine() / 4);
    return true;
}

const std::array<QRect, PanelRows> &TPanelCanvas::Draw(const TPanelPicture &frame)
{
    const auto changed = Painter.PaintChanges(
        Shown, frame, reinterpret_cast<TPixel *>(Image.bits()), Image.bytesPerLine() / 4);
    for (std::size_t y = 0; y < changed.size(); ++y)
        Changed[y] = ToQRect(changed[y]);
    Shown = frame;
    return Changed;
}

// ---- TFrameHandOff ----

TFrameHandOff::TFrameHandOff(QObject *receiver, TShow show)
    : Receiver(receiver), Show(std::move(show))
{
}

void TFrameHandOff::Post(const TPanelPicture &frame)
{
    if (Held)
        return;
    {
        QMutexLocker lock(&Lock);
        Latest = frame;
    }
    if (!Posted.exchange(true))
        QMetaObject::invokeMethod(
            Receiver, [this] { Deliver(); }, Qt::QueuedConnection);
}

void TFrameHandOff::Deliver()
{
    Posted = false;
    if (Held)
        return;
    TPanelPicture frame;
    {
        QMutexLocker lock(&Lock);
        frame = Latest;
    }
    Show(frame);
}

// ---- TPanelView ----

TPanelView::TPanelView(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PreviewPanel"));
    setAccessibleName(tr("Panel preview"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFixedSize(Canvas.Picture().size());
}

void TPanelView::SetFrame(const TPanelPicture &frame)
{
    if (frame == Canvas.Frame())
        return;
    ++Drawn;
    // One rectangle around the changed rows: each rectangle of a repaint is a request of its
    // own to the display server, which costs more than copying the unchanged dots between.
    QRect changed;
    for (const QRect &r : Canvas.Draw(frame))
        changed |= r;
    update(changed);
}

void TPanelView::SetLook(int zoom, bool ledLook)
{
    if (!Canvas.SetLook(zoom, ledLook))
        return;
    if (Canvas.Picture().size() != size()) {
        setFixedSize(Canvas.Picture().size());
        updateGeometry();
    }
    update();
}

QSize TPanelView::sizeHint() const
{
    return Canvas.Picture().size();
}

void TPanelView::paintEvent(QPaintEvent *event)
{
    ++PaintCount;
    // Only the changed dots' rows are asked for; each is one straight copy.
    QPainter p(this);
    for (const QRect &r : event->region())
        p.drawImage(r.topLeft(), Canvas.Picture(), r);
}

void TPanelView::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    QAction *copy = menu.addAction(tr("Copy frame"));
    copy->setObjectName(QStringLiteral("CopyFrame"));
    connect(copy, &QAction::triggered, this, &TPanelView::CopyFrameRequested);
    menu.exec(event->globalPos());
}

} // namespace zor
