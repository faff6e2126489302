// The live preview dock, Export animation, symbol tooltips and Character > All commands.
#include "sim/Preview.h"
#include "app/Zoredit.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentManager.h"
#include "editor/SymbolTips.h"
#include "sim/ExportDialog.h"
#include "sim/engine/GifExport.h"
#include "tests/sim/EngineTestSupport.h"
#include "tests/support/MainFormFixture.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QProcess>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSlider>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace zor {
namespace {

void Type(TMainForm &form, TMDIChild *w, const QString &text)
{
    QTextCursor end(w->Editor->document());
    end.movePosition(QTextCursor::End);
    end.insertText(text, form.DocumentManager()->PlainTextFormat());
}

using PreviewTest = test::TMainFormTest;
using test::TManualTick;

TEST_F(PreviewTest, FollowsTheActiveWindowAndTheTextAfterTheDelay)
{
    Form->show();
    Form->findChild<QAction *>("Preview")->trigger();
    ASSERT_TRUE(Form->findChild<TPreviewDock *>()->isVisible());
    TMDIChild *first = Form->CreateDocumentWindow(Dir.filePath("first.zor"));
    Form->InsertCommandSymbol(";", TCommandKind::ckTransition);
    Type(*Form, first, "One");
    Form->findChild<TPreviewDock *>()->Retranslate();
    const std::string one = PreviewProgram(*first->Editor->document());
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), one);

    TMDIChild *second = Form->CreateDocumentWindow(Dir.filePath("second.zor"));
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), "")
        << "no commands: a dark panel";
    Form->InsertCommandSymbol("=", TCommandKind::ckTransition);
    Type(*Form, second, "Two");
    // Not before the delay...
    EXPECT_TRUE(Form->findChild<TPreviewDock *>()->RetranslatePending());
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), "");
    // ...but after it.
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return !Form->findChild<TPreviewDock *>()->RetranslatePending(); }));
    const std::string two = PreviewProgram(*second->Editor->document());
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), two);

    // An edit that leaves the program as it was does not restart the run.
    const std::uint64_t runs = Form->findChild<TPreviewDock *>()->Player().Runs();
    QTextCursor all(second->Editor->document());
    all.select(QTextCursor::Document);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    all.mergeCharFormat(bold);
    Form->findChild<TPreviewDock *>()->Retranslate();
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Runs(), runs);

    Form->DocumentArea()->setActiveSubWindow(first);
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), one);
    Dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::No}; // do not save
    first->close();
    second->close();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->DocumentCount() == 0; }));
    EXPECT_EQ(Form->findChild<TPreviewDock *>()->Player().Program(), "");
    EXPECT_TRUE(Form->findChild<TPreviewDock *>()->isVisible());
}

TEST_F(PreviewTest, PreviewChoiceIsRememberedInTheSettingsFile)
{
    Form->show();
    Form->findChild<QAction *>("Preview")->trigger();
    ASSERT_TRUE(Form->findChild<TPreviewDock *>()->isVisible());
    TProfileFile profile;
    profile.Load(Form->SettingsPath().toStdString());
    EXPECT_TRUE(profile.ReadBool("Editor", "Preview", false));
    Form->findChild<QAction *>("Preview")->trigger();
    EXPECT_FALSE(Form->findChild<TPreviewDock *>()->isVisible());
    profile.Load(Form->SettingsPath().toStdString());
    EXPECT_FALSE(profile.ReadBool("Editor", "Preview", true));

    // Leaving the editor with the preview shown is not a choice to hide it.
    Form->findChild<QAction *>("Preview")->trigger();
    const std::string path = Form->SettingsPath().toStdString();
    ASSERT_TRUE(Form->close());
    Form.reset();
    profile.Load(path);
    EXPECT_TRUE(profile.ReadBool("Editor", "Preview", false));
}

TEST_F(PreviewTest, ThePreviewsKeysLeaveTheMenusAltKeysAlone)
{
    // Alt+letter of a control in the dock would shadow the menu with the same letter whenever
    // the preview is shown.
    QSet<QKeyCombination> menus;
    for (QAction *menu : Form->menuBar()->actions())
        menus.insert(QKeySequence::mnemonic(menu->text())[0]);
    auto *dock = Form->findChild<TPreviewDock *>();
    int controls = 0;
    for (QWidget *w : dock->findChildren<QWidget *>()) {
        QString text;
        if (auto *button = qobject_cast<QAbstractButton *>(w))
            text = button->text();
        else if (auto *label = qobject_cast<QLabel *>(w))
            text = label->text();
        const QKeySequence key = QKeySequence::mnemonic(text);
        if (key.isEmpty())
            continue;
        ++controls;
        EXPECT_FALSE(menus.contains(key[0])) << text.toStdString();
    }
    EXPECT_GE(controls, 3);
}

TEST(PreviewDock, ShowsTheEnginesFramesAtTheChosenZoomAndCopiesThem)
{
    TManualTick tick;
    TFixedClock clock(TLocalDateTime{2024, 1, 2, 3, 4, 5});
    QWidget window;
    auto *dock = new TPreviewDock(&window, &tick, &clock);
    window.show();
    QTextDocument document;
    QTextCursor c(&document);
    QTextCharFormat symbol;
    symbol.setFontFamilies(QStringList{"ZorSymbolFont"});
    symbol.setForeground(ColourToQColor(KindColour(TCommandKind::ckEffect)));
    c.insertText("Z", symbol); // the time effect, repeated 10 times
    c.insertText("10", symbol);
    dock->SetSource(TDocumentProgram::ProgramOf(&document));
    const std::string program = PreviewProgram(document);
    ASSERT_FALSE(program.empty());

    TDisplayEngine engine;
    engine.SetClock(&clock);
    struct TKeep final : TFrameSink
    {
        std::vector<TPanelPicture> Frames;
        void PresentFrame(const TPanelPicture &b) override { Frames.push_back(b); }
    } frames;
    engine.SetFrameSink(&frames);
    engine.RunDisplayEngine(program, 0, 200);

    tick.Release(150);
    ASSERT_TRUE(dock->Player().WaitForFrame(150));
    dock->Zoom->setValue(5);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return dock->View->Picture() == PanelImage(frames.Frames[150], 5, false); }));
    dock->LedLook->setChecked(true);
    EXPECT_EQ(dock->View->Picture(), PanelImage(frames.Frames[150], 5, true));

    dock->CopyFrame();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(241 * 5, 21 * 5));

    // The timeline shows any frame.
    dock->Player().Pause();
    dock->Player().Seek(42);
    ASSERT_TRUE(dock->Player().WaitForFrame(42));
    EXPECT_EQ(dock->Player().Picture().Dots, frames.Frames[42].Dots);
}

// The frames of a fresh engine run that differ from the frame before, with colours, blinking
// and a scroll, so that dots change in every way.
std::vector<TPanelPicture> ChangingFrames()
{
    TDisplayEngine engine;
    test::TRecorder recorder;
    engine.SetFrameSink(&recorder);
    engine.RunDisplayEngine(test::Program("I3S0F3T0S1I2F0T1", {"Blink", "Move 123"}), 0, 120);
    std::vector<TPanelPicture> frames;
    for (const TPanelPicture &f : recorder.Frames)
        if (frames.empty() || f != frames.back())
            frames.push_back(f);
    return frames;
}

// What the view's window holds: its buffer, as the screen shows it.
QImage OnScreen(QWidget &view)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(view.winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

// The dock runs whatever program source it is given, not only a document's.
TEST(PreviewDock, FollowsAProgramSourceUntilItIsGone)
{
    struct TFixedProgram final : TProgramSource
    {
        TPreviewProgram Text;
        TPreviewProgram Program() const override { return Text; }
    };
    TManualTick tick;
    QWidget window;
    auto *dock = new TPreviewDock(&window, &tick);
    dock->SetTooManySegmentsText(QStringLiteral("Too many texts"));
    auto source = std::make_unique<TFixedProgram>();
    source->Text.Program = "F1T0\x1FOne\x1F\x1F";
    dock->SetSource(source.get());
    EXPECT_EQ(dock->Player().Program(), source->Text.Program);
    source->Text = {{}, true};
    emit source->Changed();
    EXPECT_TRUE(dock->RetranslatePending());
    dock->Retranslate();
    EXPECT_TRUE(dock->Player().Program().empty());
    EXPECT_EQ(dock->Message->text(), "Too many texts");
    source->Text.Program = "F1T0\x1FTwo\x1F\x1F";
    source->Text.TooManySegments = false;
    dock->Retranslate();
    EXPECT_EQ(dock->Player().Program(), source->Text.Program);
    source.reset();
    dock->Retranslate();
    EXPECT_TRUE(dock->Player().Program().empty());

    // A document has one source, made a child of it, gone with it.
    auto document = std::make_unique<QTextDocument>();
    TDocumentProgram *program = TDocumentProgram::ProgramOf(document.get());
    EXPECT_EQ(TDocumentProgram::ProgramOf(document.get()), program);
    EXPECT_EQ(TDocumentProgram::ProgramOf(nullptr), nullptr);
    dock->SetSource(program);
    document.reset();
    EXPECT_FALSE(dock->RetranslatePending());
    dock->Retranslate();
    EXPECT_TRUE(dock->Player().Program().empty());
}

TEST(PreviewDock, TheViewRepaintsChangedDotsIntoTheSamePictureAsBefore)
{
    const std::vector<TPanelPicture> frames = ChangingFrames();
    ASSERT_GT(frames.size(), 20u);
    TPanelView view;
    // The region of the last paint.
    QRegion painted;
    struct TPaints : QObject
    {
        QRegion &Region;
        explicit TPaints(QRegion &region) : Region(region) {}
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                Region = static_cast<QPaintEvent *>(event)->region();
            return false;
        }
    } recorder(painted);
    view.installEventFilter(&recorder);
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    for (const int zoom : {1, 3, 8})
        for (const bool led : {false, true}) {
            view.SetLook(zoom, led);
            // Each frame repaints only what changed; the window must end up with every dot.
            for (std::size_t i = 0; i < frames.size(); i += frames.size() / 12) {
                const std::uint64_t paints = view.Paints();
                view.SetFrame(frames[i]);
                ASSERT_TRUE(QTest::qWaitFor([&] { return view.Paints() > paints; }));
                ASSERT_EQ(OnScreen(view), PanelImage(frames[i], zoom, led))
                    << "zoom " << zoom << (led ? ", LED look" : "") << ", frame " << i;
            }
            // The same frame again draws and asks for no paint: a paint asked for after it comes
            // alone, with its one dot.
            const std::uint64_t paints = view.Paints(), drawn = view.FramesDrawn();
            view.SetFrame(TPanelPicture(view.Frame()));
            EXPECT_EQ(view.FramesDrawn(), drawn);
            painted = QRegion();
            view.update(0, 0, 1, 1);
            ASSERT_TRUE(QTest::qWaitFor([&] { return view.Paints() > paints; }));
            EXPECT_EQ(view.Paints(), paints + 1);
            EXPECT_EQ(painted, QRegion(0, 0, 1, 1));
        }
}

TEST(PreviewDock, DotsLookAsTheSimulationWindowsOrAsLeds)
{
    TPanelPicture frame;
    frame.SetDot(0, 0, 1);
    frame.SetDot(119, 9, 3);
    frame.SetDot(5, 4, 2);
    const QImage square = PanelImage(frame, 4, false);
    ASSERT_EQ(square.size(), QSize(241 * 4, 21 * 4));
    // A dot is a zoom-sized square at pixel (2x + 1) * zoom, black all round.
    auto at = [](const QImage &i, int x, int y) { return QColor(i.pixel(x, y)); };
    EXPECT_EQ(at(square, 4, 4), QColor(0, 255, 0));
    EXPECT_EQ(at(square, 7, 7), QColor(0, 255, 0));
    EXPECT_EQ(at(square, 8, 8), QColor(Qt::black));
    EXPECT_EQ(at(square, 3, 4), QColor(Qt::black));
    EXPECT_EQ(at(square, 239 * 4, 19 * 4), QColor(255, 255, 0));
    EXPECT_EQ(at(square, 240 * 4, 20 * 4), QColor(Qt::black)) << "the border";
    EXPECT_EQ(at(square, 11 * 4 + 2, 9 * 4 + 2), QColor(255, 0, 0));
    EXPECT_EQ(at(square, 13 * 4 + 2, 9 * 4 + 2), QColor(Qt::black)) << "an unlit dot";

    // LEDs: a lit disc in the dot's colour, a dim disc where a dot is off, black between.
    const QImage led = PanelImage(frame, 8, true);
    EXPECT_EQ(at(led, 12, 12), QColor(0, 255, 0));
    // Round, not cut flat on the right or at the bottom by the tile's edge.
    for (const QPoint side : {QPoint(7, 12), QPoint(17, 12), QPoint(12, 7), QPoint(12, 17)})
        EXPECT_EQ(at(led, side.x(), side.y()), QColor(0, 255, 0)) << side.x() << "," << side.y();
    EXPECT_EQ(at(led, 11 * 8 + 4, 9 * 8 + 4), QColor(255, 0, 0));
    const QColor unlit = at(led, 13 * 8 + 4, 9 * 8 + 4);
    EXPECT_NE(unlit, QColor(Qt::black));
    EXPECT_LT(unlit.value(), 64);
    EXPECT_EQ(at(led, 13 * 8 - 4, 9 * 8 - 4), QColor(Qt::black)) << "between four LEDs";
}

// A dock in a main window, with a document of text shown at once and then held for 99 s
// (paused), or moving in from the right (moving).
class PreviewDockRun : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Window.resize(1400, 400);
        Dock = new TPreviewDock(&Window, &Tick, &Clock);
        Window.addDockWidget(Qt::BottomDockWidgetArea, Dock);
        Window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&Window));
        Dock->Zoom->setValue(8);
        Dock->Position->installEventFilter(&PaintedPosition);
    }
    // Text in plain characters, a symbol and its digits in the colour of its kind.
    void Write(const QString &text) { Cursor.insertText(text, QTextCharFormat()); }
    void Write(const QString &symbol, TCommandKind kind)
    {
        QTextCharFormat f;
        f.setFontFamilies(QStringList{"ZorSymbolFont"});
        f.setForeground(ColourToQColor(KindColour(kind)));
        Cursor.insertText(symbol, f);
    }
    void Run()
    {
        Dock->SetSource(TDocumentProgram::ProgramOf(&Document));
        ASSERT_FALSE(Dock->Player().Program().empty());
    }
    // Frame n is shown and its paint done.
    bool Reach(std::int64_t n)
    {
        return Dock->Player().WaitForFrame(n) &&
               QTest::qWaitFor([&] { return Dock->View->Frame() == Dock->Player().Picture(); });
    }
    // The frame number reads frame n on the screen. The window paints all that is asked of it in
    // one pass, so every paint asked for before that one is done as well.
    bool PositionPainted(std::int64_t n)
    {
        const QString text = QStringLiteral("Frame %1 ").arg(n);
        return QTest::qWaitFor([&] { return PaintedPosition.Text.startsWith(text); });
    }
    // Notes the frame number's text each time it is painted.
    struct TPaintedText : QObject
    {
        QString Text;
        bool eventFilter(QObject *watched, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                Text = static_cast<QLabel *>(watched)->text();
            return false;
        }
    } PaintedPosition;

    TManualTick Tick;
    TFixedClock Clock{TLocalDateTime{2024, 1, 2, 3, 4, 5}};
    QMainWindow Window;
    TPreviewDock *Dock = nullptr;
    QTextDocument Document;
    QTextCursor Cursor{&Document};
};

TEST_F(PreviewDockRun, APanelWiderThanTheDockScrollsSidewaysAndShowsEveryRow)
{
    // As in the editor: the documents take all the height the dock does not need.
    auto *documents = new QWidget;
    documents->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Window.setCentralWidget(documents);
    auto *scroll = Dock->findChild<QScrollArea *>(QStringLiteral("PreviewScroll"));
    ASSERT_NE(scroll, nullptr);
    for (int zoom : {8, 1, 8}) {
        Dock->Zoom->setValue(zoom);
        ASSERT_TRUE(QTest::qWaitFor([&] {
            return scroll->viewport()->height() >= Dock->View->height() &&
                   scroll->horizontalScrollBar()->isVisible() == (zoom == 8);
        })) << "zoom "
            << zoom << ": rows shown " << scroll->viewport()->height() << " of "
            << Dock->View->height();
        EXPECT_FALSE(scroll->verticalScrollBar()->isVisible()) << "zoom " << zoom;
    }
}

TEST_F(PreviewDockRun, RepeatedFramesAreNotRepainted)
{
    Write("=", TCommandKind::ckTransition);
    Write("Still");
    Write("r99", TCommandKind::ckParameter);
    Run();
    Tick.Release(10);
    ASSERT_TRUE(Reach(10));
    ASSERT_TRUE(PositionPainted(10));
    const std::uint64_t paints = Dock->View->Paints(), drawn = Dock->View->FramesDrawn();
    EXPECT_EQ(drawn, 1u) << "the text, once";
    Tick.Release(200);
    ASSERT_TRUE(Reach(210));
    // The frame number shows the run going on meanwhile, and the panel is not painted with it.
    ASSERT_TRUE(PositionPainted(210));
    EXPECT_EQ(Dock->View->FramesDrawn(), drawn);
    EXPECT_EQ(Dock->View->Paints(), paints);
    EXPECT_EQ(Dock->View->Picture(), PanelImage(Dock->Player().Picture(), 8, false));
}

TEST_F(PreviewDockRun, PausesWhileHiddenOrMinimisedAndGoesOnWhenShown)
{
    Write(":", TCommandKind::ckTransition);
    Write("Moving text");
    Run();
    Tick.Release(10);
    ASSERT_TRUE(Reach(10));

    // Hidden, at most the frame already waiting for its tick comes; the ticks wait.
    Dock->hide();
    Tick.Release(50);
    ASSERT_TRUE(Dock->Player().WaitUntilHeld());
    EXPECT_LE(Dock->Player().ShownFrame(), 11);
    Dock->show();
    ASSERT_TRUE(Reach(60));

    Window.showMinimized();
    Tick.Release(50);
    ASSERT_TRUE(Dock->Player().WaitUntilHeld());
    EXPECT_LE(Dock->Player().ShownFrame(), 61);
    const std::uint64_t drawn = Dock->View->FramesDrawn();
    Window.showNormal();
    ASSERT_TRUE(Reach(110));
    EXPECT_GT(Dock->View->FramesDrawn(), drawn);
}

TEST_F(PreviewDockRun, AClickOnTheTimelineJumpsToTheMomentClicked)
{
    Write(":", TCommandKind::ckTransition);
    Write("Moving text");
    Run();
    Dock->Player().Pause();
    QSlider *timeline = Dock->Timeline;
    QTest::mouseClick(timeline, Qt::LeftButton, {},
                      QPoint(timeline->width() * 3 / 4, timeline->height() / 2));
    // Three quarters of the 60 seconds, give or take the handle's width; not one page.
    EXPECT_GT(timeline->value(), TPreviewDock::TimelineFrames * 7 / 10);
    EXPECT_LT(timeline->value(), TPreviewDock::TimelineFrames * 8 / 10);
    EXPECT_TRUE(Dock->Player().WaitForFrame(timeline->value()));
}

TEST_F(PreviewDockRun, AnEditKeepsTheFrameNumberShownUntilTheNewRunHasOne)
{
    Write(":", TCommandKind::ckTransition);
    Write("Moving text");
    Run();
    Tick.Release(30);
    ASSERT_TRUE(Reach(30));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dock->Position->text().startsWith("Frame 3"); }));
    Write(" and more");
    Dock->Retranslate();
    EXPECT_NE(Dock->Position->text(), "Frame -");
    Tick.Release(5);
    ASSERT_TRUE(Dock->Player().WaitForFrame(5));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Dock->Position->text().startsWith("Frame 5 "); }));
    // Without a program there is no frame to show.
    Dock->SetSource(nullptr);
    EXPECT_EQ(Dock->Position->text(), "Frame -");
    EXPECT_EQ(Dock->Timeline->value(), 0) << "nor the last run's moment on the timeline";
}

TEST_F(PreviewTest, TabGoesRoundThePreviewsControlsAndBackToTheActiveDocument)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    Form->findChild<QAction *>("Preview")->trigger();
    TMDIChild *background = Form->CreateDocumentWindow(Dir.filePath("first.zor"));
    TMDIChild *active = Form->CreateDocumentWindow(Dir.filePath("second.zor"));
    ASSERT_EQ(Form->ActiveDocument(), active);
    auto *dock = Form->findChild<TPreviewDock *>();
    auto focusIn = [](QWidget *w) {
        QWidget *focus = QApplication::focusWidget();
        return focus && (focus == w || w->isAncestorOf(focus));
    };
    dock->PlayButton->setFocus(Qt::MouseFocusReason);
    ASSERT_TRUE(focusIn(dock->PlayButton));
    for (QWidget *next : std::initializer_list<QWidget *>{
             dock->RestartButton, dock->StepButton, dock->Timeline, dock->Zoom, dock->FitWidth,
             dock->LedLook, active->Editor, // out of the preview into the document worked on
         }) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_TRUE(focusIn(next)) << next->objectName().toStdString() << " has not the focus";
    }
    EXPECT_EQ(Form->ActiveDocument(), active);
    EXPECT_FALSE(focusIn(background->Editor));

    // Shift+Tab from the first control goes back there too, and comes back in at the last.
    dock->PlayButton->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(focusIn(active->Editor));
    EXPECT_EQ(Form->ActiveDocument(), active);
    dock->Timeline->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_TRUE(focusIn(dock->StepButton));
}

TEST_F(PreviewTest, TooManyTextsAreExplainedByThePreviewAndByExport)
{
    Form->show();
    Form->findChild<QAction *>("Preview")->trigger();
    TMDIChild *w = Form->CreateDocumentWindow(Dir.filePath("many.zor"));
    // The last text is still open at the end, and only closed ones count: 101 are too many.
    for (int i = 0; i < 101; ++i) {
        Form->InsertCommandSymbol(":", TCommandKind::ckTransition);
        Type(*Form, w, QStringLiteral("T%1").arg(i));
    }
    auto *dock = Form->findChild<TPreviewDock *>();
    dock->Retranslate();
    const QString limit = QString::fromStdString(ResultText(ResultTooManySegments));
    EXPECT_EQ(dock->Message->text(), limit.simplified()) << "the Simulation command's words";
    EXPECT_TRUE(dock->Message->isVisible());
    EXPECT_FALSE(dock->View->isVisible());

    Form->findChild<QAction *>("ExportAnimation")->trigger();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, limit);
    EXPECT_FALSE(Dialogs.Shown.contains("save")) << "nothing to ask a file name for";

    // One text fewer: the panel runs again.
    QTextCursor last(w->Editor->document());
    last.movePosition(QTextCursor::End);
    last.movePosition(QTextCursor::Left, QTextCursor::KeepAnchor, 5);
    last.removeSelectedText();
    dock->Retranslate();
    EXPECT_FALSE(dock->Player().Program().empty());
    EXPECT_FALSE(dock->Message->isVisible());
    EXPECT_TRUE(dock->View->isVisible());
}

TEST(ExportDialog, OnlyTheRadioButtonsChooseTheLengthWithinTheToolsLimit)
{
    TExportDialog dialog;
    dialog.show();
    ASSERT_TRUE(dialog.OnePass->isChecked());
    EXPECT_FALSE(dialog.SecondsValue->isEnabled()) << "greyed while one pass is chosen";
    // Enter in the box, where Tab leads after the radio buttons.
    QTest::keyClick(dialog.SecondsValue, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(dialog.OnePass->isChecked());

    dialog.Seconds->setChecked(true);
    EXPECT_TRUE(dialog.SecondsValue->isEnabled());
    dialog.SecondsValue->setValue(400);
    EXPECT_TRUE(dialog.TooLong->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.TooLong->text().startsWith(
        QString::fromLatin1(AnimationTooLong.data(), qsizetype(AnimationTooLong.size())),
        Qt::CaseInsensitive))
        << "the words of zor simulate --gif";
    EXPECT_FALSE(dialog.OkButton->isEnabled());
    dialog.SecondsValue->setValue(int(MaxAnimationFrames / 50));
    EXPECT_FALSE(dialog.TooLong->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.OkButton->isEnabled());
    // Back to one pass: the seconds asked for no longer count.
    dialog.SecondsValue->setValue(400);
    dialog.OnePass->setChecked(true);
    EXPECT_FALSE(dialog.SecondsValue->isEnabled());
    EXPECT_TRUE(dialog.OkButton->isEnabled());
}

TEST_F(PreviewTest, ExportAnimationWritesWhatTheToolWrites)
{
    TMDIChild *w = Form->CreateDocumentWindow(Dir.filePath("doc.zor"));
    Form->InsertCommandSymbol(";", TCommandKind::ckTransition);
    Type(*Form, w, "Export me");
    Form->InsertCommandSymbol("r", TCommandKind::ckParameter);
    Form->InsertCommandSymbol("1", TCommandKind::ckParameter);
    const QString doc = Dir.filePath("doc.zor");
    QString error;
    ASSERT_TRUE(SaveDocumentFile(doc, *w->Editor->document(), &error)) << error.toStdString();

    const QString gif = Dir.filePath("editor.gif");
    Dialogs.FileNames = {gif};
    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &e = static_cast<TExportDialog &>(d);
        e.Seconds->setChecked(true);
        e.SecondsValue->setValue(3);
        e.Scale->setValue(3);
        return int(QDialog::Accepted);
    }};
    Form->StatusPanel(0)->clear();
    Form->findChild<QAction *>("ExportAnimation")->trigger();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    EXPECT_EQ(Form->StatusPanel(0)->text(), "Animation written to " + gif) << "says it is done";
    // The document's name is proposed, beside it; the file type is named once.
    ASSERT_EQ(Dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(Dialogs.FileDialogs[0].FileName, Dir.filePath("doc.gif"));
    EXPECT_EQ(QtFileFilter(Dialogs.FileDialogs[0].Filter), "Animated GIF (*.gif)");

    const QString tool = Dir.filePath("tool.gif");
    QProcess zor;
    zor.start(ZOR_TOOL_PATH, {"simulate", doc, "--gif", tool, "--frames", "150", "--scale", "3"});
    ASSERT_TRUE(zor.waitForFinished(30000));
    ASSERT_EQ(zor.exitCode(), 0) << zor.readAllStandardError().toStdString();
    {
        // Closed before the next export: Windows replaces no file that is open.
        QFile a(gif), b(tool);
        ASSERT_TRUE(a.open(QIODevice::ReadOnly));
        ASSERT_TRUE(b.open(QIODevice::ReadOnly));
        const QByteArray editorBytes = a.readAll();
        EXPECT_GT(editorBytes.size(), 100);
        EXPECT_EQ(editorBytes, b.readAll());
    }

    // One pass: the scroll in and the one-second pause.
    Dialogs.FileNames = {gif};
    Dialogs.Answers = {TMsgAnswer::Yes}; // overwrite
    Dialogs.FormAnswers = {[](QDialog &) { return int(QDialog::Accepted); }};
    Form->findChild<QAction *>("ExportAnimation")->trigger();
    const std::string program = PreviewProgram(*w->Editor->document());
    const std::uint64_t pass = OnePassFrames(program, 3000);
    EXPECT_EQ(pass, 9u * 6u * 2u + 50u);
    QFile again(gif);
    ASSERT_TRUE(again.open(QIODevice::ReadOnly));
    EXPECT_EQ(again.readAll().toStdString(), EncodeGif(program, pass, 2));

    // A longer one shows its progress in a window wide enough for the whole caption beside the
    // title bar's icon and buttons.
    Dialogs.FileNames = {gif};
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FormAnswers = {[](QDialog &d) {
        auto &e = static_cast<TExportDialog &>(d);
        e.Seconds->setChecked(true);
        e.SecondsValue->setValue(20);
        return int(QDialog::Accepted);
    }};
    int captionRoom = -1;
    QTimer::singleShot(0, Form.get(), [&] {
        if (auto *progress = Form->findChild<QProgressDialog *>("ExportProgress")) {
            QFont title = QApplication::font();
            title.setBold(true);
            captionRoom = progress->minimumWidth() -
                          QFontMetrics(title).horizontalAdvance(progress->windowTitle());
        }
    });
    Form->findChild<QAction *>("ExportAnimation")->trigger();
    EXPECT_GE(captionRoom, 100);
}

TEST_F(PreviewTest, TooltipsNameASymbolAndItsNumber)
{
    TMDIChild *w = Form->CreateDocumentWindow(Dir.filePath("doc.zor"));
    Type(*Form, w, "Hi");
    Form->InsertCommandSymbol("r", TCommandKind::ckParameter); // position 2
    Form->InsertCommandSymbol("05", TCommandKind::ckParameter);
    Form->InsertCommandSymbol(":", TCommandKind::ckTransition); // position 5
    Type(*Form, w, "there");
    Form->InsertCommandSymbol("k", TCommandKind::ckStyle); // position 11
    const QTextDocument &d = *w->Editor->document();
    EXPECT_EQ(SymbolTipAt(d, 2), "Pause 05: 0.5 s");
    EXPECT_EQ(SymbolTipAt(d, 4), "Pause 05: 0.5 s") << "over a digit";
    EXPECT_EQ(SymbolTipAt(d, 5), "Move text in from right, the 2nd text") << "Hi is the 1st";
    EXPECT_EQ(SymbolTipAt(d, 11), "Blinking on");
    EXPECT_EQ(SymbolTipAt(d, 0), "") << "plain text has none";

    // Texts are counted as they are read: an empty line is none, and a transition followed by
    // another has no text of its own. The clock's number is its seconds.
    TMDIChild *other = Form->CreateDocumentWindow(Dir.filePath("other.zor"));
    Type(*Form, other, "\n");
    Form->InsertCommandSymbol("B", TCommandKind::ckTransition); // position 1
    Type(*Form, other, "One");
    Form->InsertCommandSymbol("B", TCommandKind::ckTransition); // position 5
    Form->InsertCommandSymbol("B", TCommandKind::ckTransition); // position 6
    Type(*Form, other, "Two");
    Form->InsertCommandSymbol("Z", TCommandKind::ckEffect); // position 10
    Form->InsertCommandSymbol("1", TCommandKind::ckEffect);
    Form->InsertCommandSymbol("[", TCommandKind::ckEffect); // position 12
    Form->InsertCommandSymbol("30", TCommandKind::ckEffect);
    const QTextDocument &o = *other->Editor->document();
    EXPECT_EQ(SymbolTipAt(o, 1), "Snow text, the 1st text");
    EXPECT_EQ(SymbolTipAt(o, 5), "Snow text");
    EXPECT_EQ(SymbolTipAt(o, 6), "Snow text, the 2nd text");
    EXPECT_EQ(SymbolTipAt(o, 11), "Time: 1 s");
    EXPECT_EQ(SymbolTipAt(o, 12), "Date and time: 30 s");
}

TEST_F(PreviewTest, AllCommandsEnablesTheSixButtonsAndIsRemembered)
{
    auto button = [&](const char *name) { return Form->findChild<QToolButton *>(name); };
    Form->CreateDocumentWindow(Dir.filePath("doc.zor"));
    for (const auto name : NeverEnabledButtons)
        EXPECT_FALSE(button(std::string(name).c_str())->isEnabled()) << name;
    Form->findChild<QAction *>("AllCommands")->setChecked(true);
    for (const auto name : NeverEnabledButtons)
        EXPECT_TRUE(button(std::string(name).c_str())->isEnabled()) << name;

    // A new window reads the choice back.
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = Form->SettingsPath();
    o.StartDirectory = Dir.path();
    TMainForm again(o);
    EXPECT_TRUE(again.findChild<QAction *>("AllCommands")->isChecked());
    again.CreateDocumentWindow(Dir.filePath("other.zor"));
    EXPECT_TRUE(again.findChild<QToolButton *>("ButtonLxx")->isEnabled());
    again.findChild<QAction *>("AllCommands")->setChecked(false);
    EXPECT_FALSE(again.findChild<QToolButton *>("ButtonLxx")->isEnabled());
    EXPECT_TRUE(again.findChild<QToolButton *>("ButtonF0")->isEnabled());
    // Closing the last document disables them with the others.
    Form->FileCloseExecute();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Form->DocumentCount() == 0; }));
    EXPECT_FALSE(button("ButtonLxx")->isEnabled());
}

} // namespace
} // namespace zor
