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

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QMdiArea>
#include <QProcess>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTextCursor>
#include <QToolButton>
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace zor {
namespace {

template <typename F> bool WaitFor(F done)
{
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < 5000)
        QTest::qWait(5);
    return done();
}

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
    ASSERT_TRUE(WaitFor([&] { return !Form->findChild<TPreviewDock *>()->RetranslatePending(); }));
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
    ASSERT_TRUE(WaitFor([&] { return Form->DocumentCount() == 0; }));
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
        std::vector<TPanelFrame> Frames;
        void PresentFrame(const TPanelFrame &b) override { Frames.push_back(b); }
    } frames;
    engine.SetFrameSink(&frames);
    engine.RunDisplayEngine(program, 0, 200);

    tick.Release(150);
    ASSERT_TRUE(dock->Player().WaitForFrame(150));
    dock->Zoom->setValue(5);
    ASSERT_TRUE(WaitFor(
        [&] { return dock->View->Picture() == PanelPicture(frames.Frames[150], 5, false); }));
    dock->LedLook->setChecked(true);
    EXPECT_EQ(dock->View->Picture(), PanelPicture(frames.Frames[150], 5, true));

    dock->CopyFrame();
    EXPECT_EQ(QApplication::clipboard()->image().size(), QSize(241 * 5, 21 * 5));

    // The timeline shows any frame.
    dock->Player().Pause();
    dock->Player().Seek(42);
    ASSERT_TRUE(dock->Player().WaitForFrame(42));
    EXPECT_EQ(dock->Player().Picture().Dots, frames.Frames[42].Dots);
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
    ASSERT_TRUE(WaitFor([&] { return Form->DocumentCount() == 0; }));
    EXPECT_FALSE(button("ButtonLxx")->isEnabled());
}

} // namespace
} // namespace zor
