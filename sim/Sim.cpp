#include "sim/Sim.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace zor {

namespace {

// The panel's image sits in the client area with this margin at its left and top.
constexpr QPoint ImageAt(1, 3);
// Where the window first opens on the screen.
constexpr QPoint WindowAt(271, 542);
constexpr int WindowZoom = 2;

} // namespace

TFormSim::TFormSim(QWidget *parent, TFrameTick *tick) : QDialog(parent), Player(tick, nullptr, true)
{
    setObjectName(QStringLiteral("FormSim"));
    setWindowTitle(tr("Simulation"));
    setToolTip(QString());
    setStatusTip(tr("Simulation"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Canvas.SetLook(WindowZoom, false);
    setFixedSize(Canvas.Picture().width() + 2 * ImageAt.x(),
                 Canvas.Picture().height() + 2 * ImageAt.y());
    move(WindowAt);
    setAttribute(Qt::WA_OpaquePaintEvent);
    Player.SetFrameCallback(
        [this](std::int64_t, const TPanelPicture &frame) { FrameHandOff.Post(frame); });
}

TFormSim::~TFormSim() = default;

void TFormSim::SetProgram(const std::string *program)
{
    Program = program;
}

void TFormSim::StopRun()
{
    // A frame the player made before it paused, but not yet drawn, is not drawn: the window
    // keeps what it showed when it was stopped.
    FrameHandOff.Hold(true);
    Player.Pause();
}

void TFormSim::BNText()
{
    StoppedByMouse = false;
    if (!Program) {
        StopRun();
        return;
    }
    FrameHandOff.Hold(false);
    ShowFrame(TPanelPicture{});
    // The player keeps a copy, so that the caller may release its text the moment the window
    // closes.
    if (!Player.SetProgram(*Program))
        Player.Restart();
    Player.Play();
}

void TFormSim::ShowFrame(const TPanelPicture &frame)
{
    QRect changed;
    for (const QRect &r : Canvas.Draw(frame))
        changed |= r;
    if (changed.isEmpty())
        return;
    OwnPaintPending = true;
    update(changed.translated(ImageAt));
}

void TFormSim::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    BNText();
}

void TFormSim::hideEvent(QHideEvent *event)
{
    // Closed: the run ends, and its thread waits for the next program.
    StopRun();
    Player.SetProgram({});
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
    const QRect image(ImageAt, Canvas.Picture().size());
    if (!image.contains(event->rect()))
        p.fillRect(rect(), palette().color(QPalette::Button));
    p.drawImage(ImageAt, Canvas.Picture());
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
