// The live preview dock, Export animation, symbol tooltips and Character > All commands.
#include "sim/Preview.h"
#include "app/Zoredit.h"
#include "comm/ProfileFile.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/SymbolTips.h"
#include "sim/engine/GifExport.h"
#include "tests/sim/EngineTestSupport.h"
#include "tests/support/MainFormFixture.h"

#include <QAbstractButton>
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
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QSet>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
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
    end.insertText(text, form.PlainTextFormat());
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
    dock->SetDocument(&document);
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

TEST(PreviewDock, TheViewRepaintsChangedDotsIntoTheSamePictureAsBefore)
{
    const std::vector<TPanelPicture> frames = ChangingFrames();
    ASSERT_GT(frames.size(), 20u);
    TPanelView view;
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
            // The same frame again draws and paints nothing.
            const std::uint64_t paints = view.Paints(), drawn = view.FramesDrawn();
            view.SetFrame(TPanelPicture(view.Frame()));
            QTest::qWait(20);
            EXPECT_EQ(view.Paints(), paints);
            EXPECT_EQ(view.FramesDrawn(), drawn);
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
        Dock->SetDocument(&Document);
        ASSERT_FALSE(Dock->Player().Program().empty());
    }
    // Frame n is shown and its paint done.
    bool Reach(std::int64_t n)
    {
        return Dock->Player().WaitForFrame(n) &&
               QTest::qWaitFor([&] { return Dock->View->Frame() == Dock->Player().Picture(); });
    }

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
    QTest::qWait(20);
    const std::uint64_t paints = Dock->View->Paints(), drawn = Dock->View->FramesDrawn();
    EXPECT_EQ(drawn, 1u) << "the text, once";
    Tick.Release(200);
    ASSERT_TRUE(Reach(210));
    QTest::qWait(250); // the frame number shows the run going on meanwhile
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
    QTest::qWait(100);
    EXPECT_LE(Dock->Player().ShownFrame(), 11);
    Dock->show();
    ASSERT_TRUE(Reach(60));

    Window.showMinimized();
    Tick.Release(50);
    QTest::qWait(100);
    EXPECT_LE(Dock->Player().ShownFrame(), 61);
    const std::uint64_t drawn = Dock->View->FramesDrawn();
    Window.showNormal();
    ASSERT_TRUE(Reach(110));
    EXPECT_GT(Dock->View->FramesDrawn(), drawn);
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
    Form->findChild<QAction *>("ExportAnimation")->trigger();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());

    const QString tool = Dir.filePath("tool.gif");
    QProcess zor;
    zor.start(ZOR_TOOL_PATH, {"simulate", doc, "--gif", tool, "--frames", "150", "--scale", "3"});
    ASSERT_TRUE(zor.waitForFinished(30000));
    ASSERT_EQ(zor.exitCode(), 0) << zor.readAllStandardError().toStdString();
    QFile a(gif), b(tool);
    ASSERT_TRUE(a.open(QIODevice::ReadOnly));
    ASSERT_TRUE(b.open(QIODevice::ReadOnly));
    const QByteArray editorBytes = a.readAll();
    EXPECT_GT(editorBytes.size(), 100);
    EXPECT_EQ(editorBytes, b.readAll());

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
    EXPECT_EQ(SymbolTipAt(d, 5), "Move text in from right, segment 1");
    EXPECT_EQ(SymbolTipAt(d, 11), "Blinking on");
    EXPECT_EQ(SymbolTipAt(d, 0), "") << "plain text has none";
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
