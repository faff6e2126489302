#include "sim/Sim.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <sys/resource.h>
#include <unistd.h>

namespace zor {

QList<QRgb> PanelColourTable()
{
    QList<QRgb> table;
    for (const TRgb &c : PanelPalette)
        table.append(qRgb(c.Red, c.Green, c.Blue));
    return table;
}

QImage FrameImage(const TPanelFrame &frame)
{
    QImage image(FrameBitmapWidth, FrameBitmapHeight, QImage::Format_Indexed8);
    image.setColorTable(PanelColourTable());
    image.fill(0);
    // Dot x, y is pixel 2x + 1, 2y + 1: black between the dots and round the panel.
    for (int y = 0; y < PanelRows; ++y) {
        uchar *line = image.scanLine(2 * y + 1);
        for (int x = 0; x < PanelColumns; ++x)
            line[2 * x + 1] = static_cast<uchar>(frame.Dot(x, y));
    }
    return image;
}

QImage FrameImage(const TFrameBitmap &bitmap)
{
    QImage image(FrameBitmapWidth, FrameBitmapHeight, QImage::Format_Indexed8);
    image.setColorTable(PanelColourTable());
    for (int row = 0; row < FrameBitmapHeight; ++row) {
        // The bitmap's first row is the picture's bottom row.
        const std::uint8_t *bits = bitmap.Bits.data() + row * FrameBitmapStride;
        uchar *line = image.scanLine(FrameBitmapHeight - 1 - row);
        for (int x = 0; x < FrameBitmapWidth; ++x) {
            const std::uint8_t pair = bits[x / 2];
            line[x] = (x & 1 ? pair : pair >> 4) & 0x03;
        }
    }
    return image;
}

// The frame as the window paints it, twice its size. Made on the engine's thread, so that
// painting is a plain copy.
static QImage WindowPicture(const TPanelFrame &frame)
{
    return FrameImage(frame)
        .scaled(FrameBitmapWidth * 2, FrameBitmapHeight * 2)
        .convertToFormat(QImage::Format_RGB32);
}

TFormSim::TFormSim(QWidget *parent)
    : QDialog(parent), DisplayEngine(std::make_unique<TDisplayEngine>())
{
    setObjectName(QStringLiteral("FormSim"));
    setWindowTitle(QStringLiteral("Simulation"));
    setToolTip(QString());
    setStatusTip(QStringLiteral("Simulation"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(484, 48);
    move(271, 542);
    setAttribute(Qt::WA_OpaquePaintEvent);
    DisplayEngine->SetFrameTick(&Tick);
    DisplayEngine->SetFrameSink(this);
    Latest = WindowPicture(TPanelFrame{});
}

TFormSim::~TFormSim()
{
    StopRun();
}

void TFormSim::SetProgram(const std::string *program)
{
    Program = program;
}

QImage TFormSim::Picture() const
{
    QMutexLocker lock(&FrameLock);
    return Latest;
}

void TFormSim::StopRun()
{
    // The engine forgets a stop requested before its run began; the flag is seen at the next
    // frame whatever the moment.
    StopWanted = true;
    DisplayEngine->RequestStop();
    if (Worker.joinable())
        Worker.join();
    RunActive = false;
}

void TFormSim::BNText()
{
    StopRun();
    StoppedByMouse = false;
    if (!Program)
        return;
    {
        QMutexLocker lock(&FrameLock);
        Latest = WindowPicture(TPanelFrame{});
    }
    HaveShown = false;
    StopWanted = false;
    RunActive = true;
    // The window keeps only the pointer; the run reads a copy so that the caller may release
    // its text the moment the window closes, even before the thread has noticed the stop.
    Worker = std::thread([this, program = *Program] {
        // Frames are due every 20 ms: the run's own thread asks for a higher priority (granted
        // where the user may raise it). It ends with the run, so nothing needs restoring.
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), -10);
        DisplayEngine->RunDisplayEngine(program);
        RunActive = false;
    });
}

void TFormSim::PresentFrame(const TPanelFrame &frame)
{
    if (StopWanted)
        DisplayEngine->RequestStop();
    // Most frames repeat the one before (pauses, a shown text): nothing to draw then.
    if (HaveShown && frame == Shown)
        return;
    Shown = frame;
    HaveShown = true;
    QImage image = WindowPicture(frame);
    {
        QMutexLocker lock(&FrameLock);
        Latest = std::move(image);
    }
    // One repaint request at a time: a window that falls behind shows the newest frame.
    if (!UpdatePosted.exchange(true))
        QMetaObject::invokeMethod(this, &TFormSim::ShowLatestFrame, Qt::QueuedConnection);
}

void TFormSim::ShowLatestFrame()
{
    UpdatePosted = false;
    OwnPaintPending = true;
    update(QRect(QPoint(1, 3), Picture().size()));
}

void TFormSim::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    BNText();
}

void TFormSim::hideEvent(QHideEvent *event)
{
    StopRun();
    QDialog::hideEvent(event);
}

void TFormSim::paintEvent(QPaintEvent *event)
{
    // A repaint the window did not ask for (uncovered after a mouse stop) starts the program
    // again, as the panel would after being switched back on.
    if (!OwnPaintPending && StoppedByMouse && !Running() && isVisible())
        BNText();
    OwnPaintPending = false;
    QPainter p(this);
    const QImage picture = Picture();
    const QRect image(QPoint(1, 3), QSize(FrameBitmapWidth * 2, FrameBitmapHeight * 2));
    if (!image.contains(event->rect()))
        p.fillRect(rect(), palette().color(QPalette::Button));
    p.drawImage(image, picture);
}

void TFormSim::keyPressEvent(QKeyEvent *)
{
    StopRun();
    reject();
}

void TFormSim::mousePressEvent(QMouseEvent *)
{
    StopRun();
    StoppedByMouse = true;
}

} // namespace zor
