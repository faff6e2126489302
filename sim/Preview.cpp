#include "sim/Preview.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QSpinBox>
#include <QStackedWidget>
#include <QStyle>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

// A click on the timeline jumps to the moment clicked, as on a media player's, instead of
// moving one page towards it; the handle can still be dragged from there.
class TJumpClickStyle : public QProxyStyle
{
public:
    int styleHint(StyleHint hint, const QStyleOption *option, const QWidget *widget,
                  QStyleHintReturn *returned) const override
    {
        if (hint == QStyle::SH_Slider_AbsoluteSetButtons)
            return Qt::LeftButton | Qt::MiddleButton;
        return QProxyStyle::styleHint(hint, option, widget, returned);
    }
};

} // namespace

// ---- TPreviewDock ----

TPreviewDock::TPreviewDock(QWidget *parent, TFrameTick *tick, TClock *clock)
    : QDockWidget(tr("Preview"), parent), Runner(std::make_unique<TFramePlayer>(tick, clock))
{
    setObjectName(QStringLiteral("Preview"));
    setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
    setAllowedAreas(Qt::BottomDockWidgetArea | Qt::TopDockWidgetArea);

    auto *body = new QWidget(this);
    auto *layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    auto *scroll = new QScrollArea(body);
    scroll->setObjectName(QStringLiteral("PreviewScroll"));
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setAlignment(Qt::AlignCenter);
    scroll->setBackgroundRole(QPalette::Dark);
    View = new TPanelView;
    scroll->setWidget(View);
    // The strip is as tall as the panel; only a panel wider than the dock scrolls, sideways.
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setMinimumHeight(PanelImageHeight * 2 + 8);
    // Nothing in the strip takes keys; Tab goes from control to control.
    scroll->setFocusPolicy(Qt::NoFocus);
    Message = new QLabel(body);
    Message->setObjectName(QStringLiteral("PreviewMessage"));
    Message->setAlignment(Qt::AlignCenter);
    Message->setWordWrap(true);
    Message->setTextFormat(Qt::PlainText);
    Strip = new QStackedWidget(body);
    Strip->addWidget(scroll);
    Strip->addWidget(Message);
    layout->addWidget(Strip, 1);

    auto *controls = new QHBoxLayout;
    auto button = [&](const char *name, const QString &text, QStyle::StandardPixmap icon) {
        auto *b = new QToolButton(body);
        b->setObjectName(QLatin1String(name));
        b->setIcon(style()->standardIcon(icon));
        b->setToolTip(text);
        b->setAccessibleName(text);
        b->setAutoRaise(true);
        // In the Tab order, but a click leaves the keyboard with the document.
        b->setFocusPolicy(Qt::TabFocus);
        controls->addWidget(b);
        return b;
    };
    PlayButton = button("PreviewPlay", tr("Pause"), QStyle::SP_MediaPause);
    RestartButton = button("PreviewRestart", tr("Restart"), QStyle::SP_MediaSkipBackward);
    StepButton = button("PreviewStep", tr("One frame forward"), QStyle::SP_MediaSeekForward);
    Timeline = new QSlider(Qt::Horizontal, body);
    Timeline->setObjectName(QStringLiteral("PreviewTimeline"));
    Timeline->setAccessibleName(tr("Timeline"));
    Timeline->setToolTip(tr("The first 60 seconds of the run"));
    Timeline->setRange(0, TimelineFrames - 1);
    Timeline->setPageStep(50);
    auto *jump = new TJumpClickStyle;
    jump->setParent(Timeline);
    Timeline->setStyle(jump);
    controls->addWidget(Timeline, 1);
    Position = new QLabel(body);
    Position->setObjectName(QStringLiteral("PreviewPosition"));
    // A fixed size: the text changes ten times a second, and a label that may grow would lay
    // out the whole main window each time.
    Position->setFixedSize(
        Position->fontMetrics().horizontalAdvance(
            tr("Frame %1  %2 s").arg(QStringLiteral("0000000"), QStringLiteral("00000.00"))),
        Position->sizeHint().height());
    controls->addWidget(Position);
    auto *zoomLabel = new QLabel(tr("Zoo&m"), body);
    Zoom = new QSpinBox(body);
    Zoom->setObjectName(QStringLiteral("PreviewZoom"));
    Zoom->setAccessibleName(tr("Zoom"));
    Zoom->setToolTip(tr("Pixels a dot"));
    Zoom->setRange(1, 8);
    Zoom->setValue(2);
    zoomLabel->setBuddy(Zoom);
    controls->addWidget(zoomLabel);
    controls->addWidget(Zoom);
    FitWidth = new QCheckBox(tr("F&it"), body);
    FitWidth->setObjectName(QStringLiteral("PreviewFit"));
    FitWidth->setToolTip(tr("Fit to width"));
    controls->addWidget(FitWidth);
    LedLook = new QCheckBox(tr("&LED look"), body);
    LedLook->setObjectName(QStringLiteral("PreviewLedLook"));
    controls->addWidget(LedLook);
    layout->addLayout(controls);
    setWidget(body);
    QWidget *const order[] = {PlayButton, RestartButton, StepButton, Timeline,
                              Zoom,       FitWidth,      LedLook};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);

    connect(PlayButton, &QToolButton::clicked, this, [this] {
        if (Runner->Playing())
            Runner->Pause();
        else
            Runner->Play();
        UpdatePosition();
    });
    connect(RestartButton, &QToolButton::clicked, this, [this] { Runner->Restart(); });
    connect(StepButton, &QToolButton::clicked, this, [this] { Runner->Step(); });
    connect(Timeline, &QSlider::sliderPressed, this, [this] { SliderHeld = true; });
    connect(Timeline, &QSlider::sliderMoved, this, [this](int frame) { Runner->Seek(frame); });
    connect(Timeline, &QSlider::sliderReleased, this, [this] {
        SliderHeld = false;
        Runner->Seek(static_cast<std::uint64_t>(Timeline->value()));
    });
    // Keys and clicks beside the handle move the slider without a drag.
    connect(Timeline, &QSlider::actionTriggered, this, [this](int action) {
        if (action != QAbstractSlider::SliderMove)
            QTimer::singleShot(
                0, this, [this] { Runner->Seek(static_cast<std::uint64_t>(Timeline->value())); });
    });
    connect(Zoom, &QSpinBox::valueChanged, this, &TPreviewDock::UpdateZoom);
    connect(FitWidth, &QCheckBox::toggled, this, &TPreviewDock::UpdateZoom);
    connect(LedLook, &QCheckBox::toggled, this, &TPreviewDock::UpdateZoom);
    connect(View, &TPanelView::CopyFrameRequested, this, &TPreviewDock::CopyFrame);
    connect(this, &QDockWidget::visibilityChanged, this, &TPreviewDock::UpdateSuspended);

    Debounce = new QTimer(this);
    Debounce->setObjectName(QStringLiteral("PreviewDelay"));
    Debounce->setSingleShot(true);
    Debounce->setInterval(RetranslateDelayMs);
    connect(Debounce, &QTimer::timeout, this, &TPreviewDock::Retranslate);
    // The frame number and the slider follow the run ten times a second; the picture itself
    // is repainted only when it changes.
    PositionTimer = new QTimer(this);
    PositionTimer->setInterval(100);
    connect(PositionTimer, &QTimer::timeout, this, &TPreviewDock::UpdatePosition);

    // Only the dots are handed over; the view draws what changed.
    Runner->SetFrameCallback(
        [this](std::int64_t, const TPanelPicture &frame) { FrameHandOff.Post(frame); });
    if (parent)
        parent->installEventFilter(this);
    UpdatePosition();
    UpdateSuspended();
}

TPreviewDock::~TPreviewDock()
{
    // The player's thread calls back into this dock: it ends first.
    Runner.reset();
}

void TPreviewDock::SetSource(TProgramSource *source)
{
    if (Source == source)
        return;
    if (Source)
        disconnect(Source, nullptr, this, nullptr);
    Source = source;
    Debounce->stop();
    if (Source)
        connect(Source, &TProgramSource::Changed, Debounce, qOverload<>(&QTimer::start));
    Retranslate();
}

void TPreviewDock::Retranslate()
{
    Debounce->stop();
    const TPreviewProgram run = Source ? Source->Program() : TPreviewProgram{};
    Runner->SetProgram(run.Program);
    // One line: the strip is as tall as the panel.
    Message->setText(run.TooManySegments ? TooManySegmentsText.simplified() : QString());
    Strip->setCurrentIndex(Message->text().isEmpty() ? 0 : 1);
    UpdatePosition();
}

void TPreviewDock::SetFocusTarget(QWidget *target)
{
    FocusTarget = target;
}

void TPreviewDock::SetTooManySegmentsText(const QString &text)
{
    TooManySegmentsText = text;
    Retranslate();
}

bool TPreviewDock::focusNextPrevChild(bool next)
{
    // Qt's own chain runs through every window in creation order, so the key would land in
    // whichever document was opened first, and would make it the active one.
    QList<QWidget *> order;
    for (QWidget *w : std::initializer_list<QWidget *>{PlayButton, RestartButton, StepButton,
                                                       Timeline, Zoom, FitWidth, LedLook})
        if (w->isEnabled() && w->isVisibleTo(this))
            order << w;
    const QWidget *focus = QApplication::focusWidget();
    qsizetype at = -1;
    for (qsizetype i = 0; i < order.size(); ++i)
        if (order[i] == focus || order[i]->isAncestorOf(focus))
            at = i;
    if (at < 0 || order.isEmpty())
        return QDockWidget::focusNextPrevChild(next);
    const Qt::FocusReason reason = next ? Qt::TabFocusReason : Qt::BacktabFocusReason;
    const qsizetype to = at + (next ? 1 : -1);
    if ((to < 0 || to >= order.size()) && FocusTarget && FocusTarget->isEnabled()) {
        if (FocusTarget->window() != window())
            FocusTarget->window()->activateWindow();
        FocusTarget->setFocus(reason);
        return true;
    }
    order[(to + order.size()) % order.size()]->setFocus(reason);
    return true;
}

bool TPreviewDock::RetranslatePending() const
{
    return Debounce->isActive();
}

void TPreviewDock::UpdateZoom()
{
    int zoom = Zoom->value();
    if (FitWidth->isChecked()) {
        const int width = widget()->width() - 16;
        zoom = std::clamp(width / PanelImageWidth, TPanelLook::MinZoom, TPanelLook::MaxZoom);
    }
    Zoom->setEnabled(!FitWidth->isChecked());
    View->SetLook(zoom, LedLook->isChecked());
    FitStripHeight();
}

void TPreviewDock::FitStripHeight()
{
    auto *scroll = findChild<QScrollArea *>(QStringLiteral("PreviewScroll"));
    if (!scroll)
        return;
    // The strip grows with the zoom, so that every row shows; a panel wider than the dock gets
    // its scroll bar below the rows instead of over the lowest ones.
    const bool wider = View->width() > scroll->width();
    const int bar = wider ? scroll->horizontalScrollBar()->sizeHint().height() : 0;
    scroll->setMinimumHeight(View->height() + 8 + bar);
}

void TPreviewDock::resizeEvent(QResizeEvent *event)
{
    QDockWidget::resizeEvent(event);
    if (FitWidth && FitWidth->isChecked())
        UpdateZoom();
    else if (View)
        FitStripHeight();
}

void TPreviewDock::UpdatePosition()
{
    const std::int64_t frame = Runner->ShownFrame();
    // A run that is starting again (a restart, a jump, an edit) keeps the number shown until
    // its first frame comes, instead of blinking "Frame -".
    if (frame < 0 && !Runner->Program().empty())
        return UpdatePlayButton();
    const QString text =
        frame < 0
            ? tr("Frame -")
            : tr("Frame %1  %2 s").arg(frame).arg(static_cast<double>(frame) / 50.0, 0, 'f', 2);
    if (Position->text() != text)
        Position->setText(text);
    if (!SliderHeld && frame >= 0 &&
        Timeline->value() != std::min<std::int64_t>(frame, TimelineFrames - 1)) {
        const QSignalBlocker block(Timeline);
        Timeline->setValue(static_cast<int>(std::min<std::int64_t>(frame, TimelineFrames - 1)));
    } else if (frame < 0 && Timeline->value() != 0) {
        // No run (none, or too many texts): the handle must not stay where the last one was.
        const QSignalBlocker block(Timeline);
        Timeline->setValue(0);
    }
    UpdatePlayButton();
}

void TPreviewDock::UpdatePlayButton()
{
    const bool playing = Runner->Playing();
    const QString caption = playing ? tr("Pause") : tr("Play");
    if (PlayButton->toolTip() != caption) {
        PlayButton->setToolTip(caption);
        PlayButton->setAccessibleName(caption);
        PlayButton->setIcon(
            style()->standardIcon(playing ? QStyle::SP_MediaPause : QStyle::SP_MediaPlay));
    }
}

void TPreviewDock::UpdateSuspended()
{
    const bool hidden = !isVisible() || (window() && window()->isMinimized());
    Runner->Suspend(hidden);
    if (hidden)
        PositionTimer->stop();
    else if (!PositionTimer->isActive())
        PositionTimer->start();
}

bool TPreviewDock::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Show ||
        event->type() == QEvent::Hide)
        UpdateSuspended();
    return QDockWidget::eventFilter(watched, event);
}

void TPreviewDock::CopyFrame()
{
    QApplication::clipboard()->setImage(View->Picture());
}

} // namespace zor
