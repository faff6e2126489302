#include "app/Zoredit.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentManager.h"
#include "sim/Sim.h"
#include "tests/sim/EngineTestSupport.h"
#include "tests/support/MainFormFixture.h"

#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace zor {
namespace {

bool Lit(const QImage &picture)
{
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (picture.pixel(x, y) != qRgb(0, 0, 0))
                return true;
    return false;
}

TEST(SimulationWindow, RunsUntilAKeyStopsAndClosesIt)
{
    TFormSim sim;
    const std::string program = "I3E3E9\x1F\x1F"; // the panel lit all over, again and again
    sim.SetProgram(&program);
    sim.show();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Lit(sim.Picture()); }));
    EXPECT_TRUE(sim.Running());
    QTest::keyClick(&sim, Qt::Key_A);
    EXPECT_FALSE(sim.Running());
    EXPECT_FALSE(sim.isVisible());
}

TEST(SimulationWindow, MouseStopsTheRunAndKeepsTheLastFrame)
{
    test::TManualTick tick;
    TFormSim sim(nullptr, &tick);
    const std::string program = "I3E3E9\x1F\x1F";
    sim.SetProgram(&program);
    sim.show();
    // A frame at a time, until one lights the panel.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        tick.Release(1);
        return Lit(sim.Picture());
    }));
    QTest::mouseClick(&sim, Qt::LeftButton);
    EXPECT_FALSE(sim.Running());
    EXPECT_TRUE(sim.isVisible());
    const QImage last = sim.Picture();
    // A frame the player was making when stopped is made, and not drawn.
    tick.Release(100);
    ASSERT_TRUE(sim.WaitUntilStopped());
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(sim.Picture(), last);
    // Shown again, the program starts from its beginning.
    sim.hide();
    sim.show();
    EXPECT_TRUE(QTest::qWaitFor([&] { return sim.Running(); }));
    sim.StopRun();
}

using TranslateProgramTest = test::TMainFormTest;

TEST_F(TranslateProgramTest, SimulationShowsTheWindowOnlyForACommandPart)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    Form->InsertCommandSymbol(":", TCommandKind::ckTransition); // F0 alone has no code
    Form->ZorSimulationExecute();
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
    EXPECT_TRUE(w->Editor->isEnabled());

    QTextCursor end(w->Editor->document());
    end.movePosition(QTextCursor::End);
    end.insertText("Hi", Form->DocumentManager()->PlainTextFormat());
    bool sawRun = false;
    Dialogs.FormAnswers = {[&](QDialog &d) {
        auto &sim = static_cast<TFormSim &>(d);
        sawRun = QTest::qWaitFor([&] { return Lit(sim.Picture()); });
        EXPECT_FALSE(w->Editor->isEnabled()) << "the editor waits for the simulation";
        return int(QDialog::Rejected);
    }};
    Form->ZorSimulationExecute();
    EXPECT_EQ(Dialogs.Shown, QStringList({"zor::TFormSim"}));
    EXPECT_TRUE(sawRun);
    EXPECT_TRUE(w->Editor->isEnabled());
    EXPECT_FALSE(Form->findChild<TFormSim *>()->Running());
}

TEST_F(TranslateProgramTest, SymbolFontTextWithoutACommandColourIsAskedAboutFirst)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    Form->InsertCommandSymbol(";", TCommandKind::ckTransition);
    // The F1 symbol recoloured black, as a word processor may leave it: it looks like the
    // symbol, but the panel gets a ';'.
    QTextCursor c(w->Editor->document());
    c.setPosition(1, QTextCursor::KeepAnchor);
    QTextCharFormat black;
    black.setForeground(QColor(0, 0, 0));
    c.mergeCharFormat(black);
    c.movePosition(QTextCursor::End);
    c.insertText("Hi", Form->DocumentManager()->PlainTextFormat());
    const QString said = "The document holds 1 character in the symbol font without a command "
                         "colour (on line 1); the panel gets it as the plain character it is.\n";

    Form->ZorSimulationExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, said + "Simulate anyway?");
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(Dialogs.Boxes[0].Default, TMsgAnswer::No);
    EXPECT_FALSE(Dialogs.Shown.contains("zor::TFormSim")) << "the default answer shows nothing";
    EXPECT_TRUE(w->Editor->isEnabled());

    Dialogs.Boxes.clear();
    Form->ZorSendExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1) << "no transfer, no other box";
    EXPECT_EQ(Dialogs.Boxes[0].Text, said + "Send anyway?");

    Dialogs.Boxes.clear();
    Form->ZorExportAnimationExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, said + "Export anyway?");
    EXPECT_EQ(Dialogs.Shown, QStringList({"box", "box", "box"}));

    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FormAnswers = {[](QDialog &) { return int(QDialog::Rejected); }};
    Form->ZorSimulationExecute();
    EXPECT_TRUE(Dialogs.Shown.contains("zor::TFormSim"));
}

TEST_F(TranslateProgramTest, TooManySegmentsAreRefusedWithTheLimitMessage)
{
    TMDIChild *w = Form->CreateDocumentWindow("Untitled");
    for (int i = 0; i < 100; ++i)
        Form->InsertCommandSymbol(";", TCommandKind::ckTransition);
    Form->ZorSimulationExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("Number of text segments"));
    EXPECT_FALSE(Dialogs.Shown.contains("zor::TFormSim"));
    EXPECT_TRUE(w->Editor->isEnabled());
}

} // namespace
} // namespace zor
