#include "app/Zoredit.h"
#include "commands/DocumentTranslation.h"
#include "commands/Input.h"
#include "commands/Vocabulary.h"
#include "editor/AppIcon.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "tests/support/MainFormFixture.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenuBar>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>
#include <gtest/gtest.h>

namespace zor {
namespace {

class DocumentWindowTest : public test::TMainFormTest
{
protected:
    QString Path(const QString &name) const { return Dir.filePath(name); }

    static QByteArray ReadFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // Clicks the command button with this name on the active document.
    void Click(const char *name)
    {
        const TCommandButton *b = FindCommandButton(name);
        Form->CommandButtonClick(int(b - CommandButtons.data()));
    }

    // Makes a folder under Dir that refuses new files, also to root (immutable); false when this
    // machine cannot. Undone when the test ends.
    bool LockFolder(const QString &name)
    {
        QDir(Dir.path()).mkdir(name);
        const QString folder = Path(name);
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner);
        if (QProcess::execute("chattr", {"+i", folder}) == 0)
            Locked << folder;
        QFile probe(folder + "/probe");
        if (probe.open(QIODevice::WriteOnly)) {
            probe.remove();
            return false;
        }
        return true;
    }

    ~DocumentWindowTest() override
    {
        for (const QString &folder : Locked) {
            QProcess::execute("chattr", {"-i", folder});
            QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        }
    }

    QStringList Locked;

    static void Type(TMDIChild *w, const QString &text)
    {
        QTextCursor c = w->Editor->textCursor();
        c.insertText(text, w->Editor->currentCharFormat());
        w->Editor->setTextCursor(c);
    }
};

TEST_F(DocumentWindowTest, NewWindowsAreUntitledAndCascadeFromTheSecond)
{
    TMDIChild *first = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    EXPECT_EQ(first->windowTitle(), "Untitled");
    EXPECT_EQ(first->FileName, "Untitled");
    EXPECT_TRUE(first->InsertMode);
    EXPECT_FALSE(first->Editor->document()->isModified());
    EXPECT_EQ(first->Editor->lineWrapMode(), QTextEdit::NoWrap);
    EXPECT_EQ(first->Editor->MaxLength, 16384);
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Insert");
    EXPECT_TRUE(Form->findChild<QAction *>("Save")->isEnabled());
    Form->FileNewExecute();
    EXPECT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(Form->Documents().size(), 2);
    for (TMDIChild *w : Form->Documents())
        EXPECT_EQ(w->FileName, "Untitled");
}

// A second document used to restore the maximized first one (the cascade), leaving both too
// small for the panel's line; windows the operator has arranged are still cascaded.
TEST_F(DocumentWindowTest, AnotherDocumentKeepsTheMaximizedOneMaximized)
{
    Form->show();
    TMDIChild *first = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    ASSERT_TRUE(first->isMaximized());
    TMDIChild *second = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    EXPECT_TRUE(second->isMaximized());
    EXPECT_EQ(Form->findChild<QMdiArea *>()->activeSubWindow(), second);

    second->showNormal();
    TMDIChild *third = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    EXPECT_FALSE(third->isMaximized()) << "arranged windows are cascaded with the new one";
}

// Cascading gives each window its size hint, which was the bare editor's, about 250 x 200.
TEST_F(DocumentWindowTest, NewAndCascadedWindowsOpenAtAComfortableSizeWithinTheArea)
{
    Form->resize(1024, 768);
    Form->show();
    const QWidget *viewport = Form->findChild<QMdiArea *>()->viewport();
    TMDIChild *first = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    first->showNormal();
    TMDIChild *second = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    TMDIChild *third = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    for (const TMDIChild *w : {first, second, third}) {
        EXPECT_FALSE(w->isMaximized());
        EXPECT_GE(w->width(), 453) << w->windowTitle().toStdString();
        EXPECT_GE(w->height(), 329) << w->windowTitle().toStdString();
    }
    // A larger typing font asks for more; a small main window bounds it.
    TMDIChild alone;
    QFont big = alone.Editor->font();
    big.setPointSize(big.pointSize() * 3);
    alone.Editor->setFont(big);
    EXPECT_GT(alone.sizeHint().width(), 453);
    Form->resize(400, 300);
    QCoreApplication::processEvents();
    TMDIChild *small = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Form->findChild<QAction *>("CascadeOkno")->trigger();
    EXPECT_LE(small->width(), viewport->width());
    EXPECT_LE(small->height(), viewport->height());
}

TEST_F(DocumentWindowTest, ClosingTheLastWindowGreysTheDocumentCommands)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    w->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form->DocumentCount(), 0);
    EXPECT_FALSE(Form->findChild<QAction *>("Save")->isEnabled());
    EXPECT_FALSE(Form->SymbolButton(0)->isEnabled());
    EXPECT_EQ(Form->StatusPanel(1)->text(), " ");
    EXPECT_EQ(Form->StatusPanel(2)->text(), " ");
    EXPECT_TRUE(Dialogs.Boxes.isEmpty()) << "an unmodified window closes without a question";
}

TEST_F(DocumentWindowTest, ModifiedWindowAsksBeforeClosing)
{
    TMDIChild *w = Form->CreateDocumentWindow(Path("demo.zor"));
    Type(w, "Hi");
    Dialogs.Answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(w->close());
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "Confirm");
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Save changes to " + Path("demo.zor"));
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::YesNoCancel);
    EXPECT_EQ(Form->DocumentCount(), 1);

    Dialogs.Answers = {TMsgAnswer::Yes};
    EXPECT_TRUE(w->close());
    EXPECT_TRUE(QFile::exists(Path("demo.zor"))) << "Yes saves a titled document";
}

TEST_F(DocumentWindowTest, CloseKeepsTheWindowWhenTheSaveAskedForDoesNotHappen)
{
    // Untitled, save dialog cancelled.
    TMDIChild *untitled = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(untitled, "text");
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {QString()};
    Form->FileCloseExecute();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Dialogs.Shown, QStringList({"box", "save"}));
    EXPECT_EQ(Dialogs.FileDialogs[0].FileName, "Untitled");
    ASSERT_EQ(Form->Documents().size(), 1);
    EXPECT_EQ(untitled->Editor->toPlainText(), "text");
    EXPECT_TRUE(untitled->Editor->document()->isModified());

    // Untitled, overwrite declined.
    QFile existing(Path("taken.zor"));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.close();
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::No};
    Dialogs.FileNames = {Path("taken.zor")};
    Form->FileCloseExecute();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form->DocumentCount(), 1);
    EXPECT_TRUE(untitled->Editor->document()->isModified());

    // Titled, the write fails.
    if (!LockFolder("locked"))
        GTEST_SKIP() << "cannot make a folder read-only here";
    TMDIChild *titled = Form->CreateDocumentWindow(Path("locked/doc.zor"));
    Type(titled, "keep me");
    Dialogs.Boxes.clear();
    Dialogs.Answers = {TMsgAnswer::Yes};
    Form->FileCloseExecute();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[1].Icon, TMsgIcon::Error) << "the failed write is reported";
    EXPECT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(titled->Editor->toPlainText(), "keep me");
    EXPECT_TRUE(titled->Editor->document()->isModified());
    EXPECT_TRUE(Form->findChild<QAction *>("Save")->isEnabled());
}

TEST_F(DocumentWindowTest, ExitAndTheCloseBoxStopWhenASaveDoesNotHappen)
{
    TMDIChild *a = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(a, "first");
    const bool locked = LockFolder("locked");
    TMDIChild *b = Form->CreateDocumentWindow(Path(locked ? "locked/b.zor" : "b.zor"));
    Type(b, "second");

    // Exit: Yes on the first, its save dialog cancelled; the second is not even asked.
    Dialogs.Answers = {TMsgAnswer::Yes};
    Dialogs.FileNames = {QString()};
    Form->FileExitExecute();
    EXPECT_EQ(Dialogs.Shown, QStringList({"box", "save"}));
    EXPECT_EQ(Form->Documents().size(), 2);
    EXPECT_TRUE(a->Editor->document()->isModified());
    EXPECT_TRUE(b->Editor->document()->isModified());

    // The close box: the first is saved, the second's write fails; the run goes on with both.
    Dialogs.Shown.clear();
    Dialogs.Answers = {TMsgAnswer::Yes, TMsgAnswer::Yes};
    Dialogs.FileNames = {Path("a.zor")};
    QCloseEvent closeBox;
    QApplication::sendEvent(Form.get(), &closeBox);
    if (!locked)
        GTEST_SKIP() << "cannot make a folder read-only here";
    EXPECT_FALSE(closeBox.isAccepted());
    EXPECT_EQ(Form->Documents().size(), 2);
    EXPECT_FALSE(a->Editor->document()->isModified()) << "the first one was saved";
    EXPECT_EQ(b->Editor->toPlainText(), "second");
    EXPECT_TRUE(b->Editor->document()->isModified());
    EXPECT_FALSE(b->CloseAgreed);
}

TEST_F(DocumentWindowTest, ExitWithTwoModifiedWindowsStopsAtTheFirstCancel)
{
    TMDIChild *a = Form->CreateDocumentWindow(Path("a.zor"));
    Type(a, "a");
    TMDIChild *b = Form->CreateDocumentWindow(Path("b.zor"));
    Type(b, "b");
    Dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::Cancel};
    EXPECT_FALSE(Form->close());
    EXPECT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(Form->Documents().size(), 2);
    Dialogs.Answers = {TMsgAnswer::No};
    a->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Form->DocumentCount(), 1);
    EXPECT_TRUE(Form->findChild<QAction *>("Save")->isEnabled());
}

TEST_F(DocumentWindowTest, SaveOnATitledDocumentWritesWithoutAsking)
{
    TMDIChild *w = Form->CreateDocumentWindow(Path("titled.zor"));
    Type(w, "Hello");
    Form->FileSaveExecute();
    EXPECT_TRUE(Dialogs.Shown.isEmpty());
    EXPECT_FALSE(w->Editor->document()->isModified());
    EXPECT_TRUE(ReadFile(Path("titled.zor")).startsWith("{\\rtf1"));
}

TEST_F(DocumentWindowTest, SavingOverAnExistingFileAsksAndNoKeepsBoth)
{
    QFile old(Path("old.zor"));
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("old contents");
    old.close();
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, "new");
    Dialogs.FileNames = {Path("old.zor")};
    Dialogs.Answers = {TMsgAnswer::No};
    Form->FileSaveExecute();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "Question");
    EXPECT_EQ(Dialogs.Boxes[0].Text, Path("old.zor") + " exists\nOverwrite?");
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::YesNo);
    EXPECT_EQ(ReadFile(Path("old.zor")), "old contents");
    EXPECT_EQ(w->windowTitle(), "Untitled");
    EXPECT_TRUE(w->Editor->document()->isModified());
}

TEST_F(DocumentWindowTest, SaveAsTitleUsesTheNameWithoutItsFolder)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("C:\\progs\\demo.zor"));
    EXPECT_EQ(w->windowTitle(), "demo.zor");
    Form->FileSaveAsExecute();
    ASSERT_EQ(Dialogs.FileDialogs.size(), 1);
    EXPECT_EQ(Dialogs.FileDialogs[0].Title, "Save demo.zor As...");
    EXPECT_EQ(Dialogs.FileDialogs[0].FileName, "C:\\progs\\demo.zor");
    EXPECT_EQ(Dialogs.FileDialogs[0].Filter, "ZorEdit files [*.zor]|*.zor");
    EXPECT_EQ(Dialogs.FileDialogs[0].DefaultExt, "zor");
}

TEST_F(DocumentWindowTest, FailedSaveLeavesTheOldFileAndTheDocumentUntouched)
{
    QDir(Dir.path()).mkdir("locked");
    const QString target = Path("locked/doc.zor");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("precious");
    old.close();
    if (!LockFolder("locked"))
        GTEST_SKIP() << "cannot make a folder read-only here";
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, "replacement");
    Dialogs.FileNames = {target};
    Dialogs.Answers = {TMsgAnswer::Yes};
    Form->FileSaveExecute();
    EXPECT_EQ(ReadFile(target), "precious");
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[1].Caption, "ZorEdit");
    EXPECT_EQ(Dialogs.Boxes[1].Icon, TMsgIcon::Error);
    EXPECT_EQ(w->windowTitle(), "Untitled") << "the name changes only with a written file";
    EXPECT_EQ(w->FileName, "Untitled");
    EXPECT_TRUE(w->Editor->document()->isModified());
}

TEST_F(DocumentWindowTest, PlainTextFilesOpenAsPlainText)
{
    QFile f(Path("notes.zor"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("first line\nsecond {line}\n");
    f.close();
    TMDIChild *w = Form->CreateDocumentWindow(Path("notes.zor"));
    EXPECT_EQ(w->Editor->toPlainText(), "first line\nsecond {line}\n");
    EXPECT_EQ(w->Editor->MaxLength, 2147483632);
    EXPECT_EQ(FormatColour(w->Editor->document()->begin().begin().fragment().charFormat()), 0u);
}

TEST_F(DocumentWindowTest, InsertedSymbolsTakeTheSymbolFontKindColourAndTenPointsMore)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, "ab");
    Click("ButtonF1");
    QTextCursor c(w->Editor->document());
    c.setPosition(2);
    c.setPosition(3, QTextCursor::KeepAnchor);
    EXPECT_EQ(c.selectedText(), ";");
    const QTextCharFormat symbol = c.charFormat();
    EXPECT_EQ(symbol.fontFamilies().toStringList().value(0), "ZorSymbolFont");
    EXPECT_EQ(FormatColour(symbol), KindColour(TCommandKind::ckTransition));
    EXPECT_EQ(symbol.fontPointSize(), 18);
    EXPECT_EQ(symbol.intProperty(CharsetProperty), 2);
    // What is typed next is plain text in the remembered font.
    Type(w, "x");
    c.setPosition(3);
    c.setPosition(4, QTextCursor::KeepAnchor);
    EXPECT_EQ(FormatColour(c.charFormat()), 0u);
    EXPECT_EQ(c.charFormat().fontFamilies().toStringList().value(0), "Arial");
}

TEST_F(DocumentWindowTest, NumberedCommandsAskForTheirNumber)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    auto enter = [](const char *text) {
        return [text](QDialog &d) {
            auto &vloz = static_cast<TVloz &>(d);
            EXPECT_EQ(vloz.MaskEdit->text(), QString::number(vloz.UpDown->Min))
                << "the dialog opens at the minimum";
            vloz.MaskEdit->setText(QLatin1String(text));
            return int(QDialog::Accepted);
        };
    };
    Dialogs.FormAnswers = {enter("05"), enter("0"), enter("7")};
    Click("ButtonWxx");
    Click("ButtonWxx");
    Click("ButtonE12");
    Click("ButtonLxx"); // cancelled: nothing inserted
    EXPECT_EQ(w->Editor->toPlainText(), "r05r1Z7");
    const TTranslation t = TranslateDocument(DocumentFromText(*w->Editor->document()));
    EXPECT_EQ(t.Program, std::string("W05W1R7E12\x1F\x1F"));
}

TEST_F(DocumentWindowTest, ParameterTextIsClampedAndKeepsALeadingZero)
{
    TVloz &v = *Form->findChild<TVloz *>();
    v.SetParameterRange("99", 99, 1);
    struct Row
    {
        const char *In, *Out;
    };
    for (Row r : {Row{"0", "1"}, Row{"05", "05"}, Row{"", "1"}, Row{"00", "1"}, Row{"42", "42"}}) {
        v.MaskEdit->setText(QLatin1String(r.In));
        EXPECT_EQ(v.GetParameterText(), QLatin1String(r.Out)) << r.In;
    }
    v.SetParameterRange("9", 8, 1);
    v.MaskEdit->setText("9");
    EXPECT_EQ(v.GetParameterText(), "8");
    EXPECT_EQ(v.MaskEdit->maxLength(), 1);
    // Typing into a full field starts a new number.
    v.SetParameterRange("99", 99, 2);
    v.MaskEdit->setText("42");
    v.MaskEdit->setCursorPosition(2);
    QTest::keyClick(v.MaskEdit, Qt::Key_7);
    EXPECT_EQ(v.MaskEdit->text(), "7");
    QTest::keyClick(v.MaskEdit, Qt::Key_3);
    EXPECT_EQ(v.MaskEdit->text(), "73");
    QTest::keyClick(v.MaskEdit, Qt::Key_A);
    EXPECT_EQ(v.MaskEdit->text(), "") << "a full field is cleared even for a refused key";
}

TEST_F(DocumentWindowTest, EveryKindSurvivesSaveAndReopenBitExact)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, "Start ");
    for (const TCommandButton &b : CommandButtons) {
        if (b.TakesNumber()) {
            Form->InsertCommandSymbol(QString(QChar(b.Symbol)), b.Kind);
            Form->InsertCommandSymbol(QStringLiteral("12").left(b.Digits), b.Kind);
        } else {
            Form->InsertCommandSymbol(QString(QChar(b.Symbol)), b.Kind);
        }
    }
    QTextCharFormat bold;
    bold.setFontFamilies(QStringList{"Courier New"});
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14);
    bold.setForeground(QColor(0x12, 0x34, 0x50));
    QTextCursor c = w->Editor->textCursor();
    c.insertBlock();
    c.insertText(QStringLiteral("Příliš žluťoučký"), bold);
    w->Editor->setTextCursor(c);
    const doc::Document before = DocumentFromText(*w->Editor->document());

    Dialogs.FileNames = {Path("all.zor")};
    Form->FileSaveExecute();
    const QByteArray first = ReadFile(Path("all.zor"));
    TMDIChild *again = Form->CreateDocumentWindow(Path("all.zor"));
    const doc::Document after = DocumentFromText(*again->Editor->document());
    EXPECT_EQ(doc::Normalized(after), doc::Normalized(before));
    EXPECT_EQ(TranslateDocument(after).Program, TranslateDocument(before).Program);
    Form->FileSaveExecute();
    EXPECT_EQ(ReadFile(Path("all.zor")), first) << "saving again gives the same bytes";
}

TEST_F(DocumentWindowTest, AWindowFilledFromAFileHasNothingToUndo)
{
    TMDIChild *source = Form->CreateDocumentWindow(Path("loaded.zor"));
    Type(source, "loaded text");
    Form->FileSaveExecute();

    TMDIChild *fresh = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    TMDIChild *opened = Form->CreateDocumentWindow(Path("loaded.zor"));
    TMDIChild *reopened = Form->CreateDocumentWindow(Path("loaded.zor"));
    for (TMDIChild *w : {fresh, opened, reopened}) {
        Form->DocumentArea()->setActiveSubWindow(w);
        w->Editor->setFocus();
        Form->UpdateStandardActions();
        const QString before = w->Editor->toPlainText();
        EXPECT_FALSE(w->Editor->document()->isUndoAvailable()) << w->FileName.toStdString();
        EXPECT_FALSE(Form->findChild<QAction *>("Undo")->isEnabled());
        Form->EditUndoExecute();
        QTest::keyClick(w->Editor, Qt::Key_Z, Qt::ControlModifier);
        QTest::keyClick(w->Editor, Qt::Key_Backspace, Qt::AltModifier);
        EXPECT_EQ(w->Editor->toPlainText(), before);
        EXPECT_FALSE(w->Editor->document()->isModified());
    }
    EXPECT_EQ(opened->Editor->toPlainText(), "loaded text");

    // Undo takes back what was typed after opening, and no more; a save then keeps the file.
    Form->DocumentArea()->setActiveSubWindow(opened);
    Type(opened, "!");
    Form->EditUndoExecute();
    Form->EditUndoExecute();
    EXPECT_EQ(opened->Editor->toPlainText(), "loaded text");
    Dialogs.FileNames = {Path("copy.zor")};
    Form->FileSaveAsExecute();
    TMDIChild *copy = Form->CreateDocumentWindow(Path("copy.zor"));
    EXPECT_EQ(copy->Editor->toPlainText(), "loaded text");
}

TEST_F(DocumentWindowTest, ANumberedCommandAtTheLengthLimitGoesInWholeOrNotAtAll)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    auto enter55 = [](QDialog &d) {
        static_cast<TVloz &>(d).MaskEdit->setText("55");
        return int(QDialog::Accepted);
    };
    // Room for the symbol, not for its digits: nothing goes in.
    Type(w, QString(16382, QLatin1Char('x')));
    Dialogs.FormAnswers = {enter55};
    Click("ButtonWxx");
    EXPECT_EQ(w->Editor->Length(), 16382);
    EXPECT_TRUE(w->Editor->toPlainText().endsWith("xx"));

    // Room for the whole unit: all three characters go in.
    QTextCursor c = w->Editor->textCursor();
    c.deletePreviousChar();
    w->Editor->setTextCursor(c);
    Dialogs.FormAnswers = {enter55};
    Click("ButtonWxx");
    EXPECT_EQ(w->Editor->Length(), 16384);
    EXPECT_TRUE(w->Editor->toPlainText().endsWith("xr55"));
    const TTranslation t = TranslateDocument(DocumentFromText(*w->Editor->document()));
    EXPECT_NE(t.Program.find("W55"), std::string::npos);
}

TEST_F(DocumentWindowTest, TextTypedIntoAnEmptiedDocumentTakesTheRememberedFont)
{
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Form->show();
    QTest::keyClicks(w->Editor, "abc");
    Click("ButtonF1");
    Form->EditSelectAllExecute();
    QTest::keyClick(w->Editor, Qt::Key_Delete);
    ASSERT_TRUE(w->Editor->document()->isEmpty());
    QTest::keyClicks(w->Editor, "xyz");

    auto check = [](TMDIChild *window, const char *where) {
        QTextCursor c(window->Editor->document());
        c.setPosition(1);
        const QTextCharFormat f = c.charFormat();
        // What the screen shows: the format over the document's default font.
        const QFont shown = f.font().resolve(window->Editor->document()->defaultFont());
        EXPECT_EQ(shown.family(), "Arial") << where;
        EXPECT_EQ(shown.pointSizeF(), 12) << where;
        EXPECT_FALSE(shown.bold()) << where;
        EXPECT_FALSE(shown.italic()) << where;
        EXPECT_EQ(FormatColour(f), 0u) << where;
        const doc::CharFormat stored = FromCharFormat(f);
        EXPECT_EQ(stored.Face, "Arial") << where;
        EXPECT_EQ(stored.HalfPoints, 24) << where;
        EXPECT_FALSE(stored.Bold) << where;
    };
    EXPECT_EQ(w->Editor->toPlainText(), "xyz");
    check(w, "on screen");
    Dialogs.FileNames = {Path("emptied.zor")};
    Form->FileSaveExecute();
    check(Form->CreateDocumentWindow(Path("emptied.zor")), "read back");
}

TEST_F(DocumentWindowTest, ClosingAWindowShowsTheNextOnesCaretAndModeAtOnce)
{
    TMDIChild *a = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(a, "ab\ncde");
    SelectRange(*a->Editor, {5, 0});
    a->InsertMode = false;
    TMDIChild *b = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    EXPECT_EQ(Form->StatusPanel(1)->text(), "1:  1");
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Insert");
    b->close();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_EQ(Form->DocumentCount(), 1);
    EXPECT_EQ(Form->StatusPanel(1)->text(), "2:  3");
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Overwrite");
}

TEST_F(DocumentWindowTest, DocumentWindowsCarryTheApplicationsIcon)
{
    Form->show();
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    QApplication::processEvents();
    const QImage own = ZorAppPixmap(16).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(w->windowIcon().pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32), own);
    // A maximised document shows its icon as the system-menu button at the menu bar's start.
    QWidget *corner = Form->menuBar()->cornerWidget(Qt::TopLeftCorner);
    ASSERT_NE(corner, nullptr);
    QImage shown(corner->size(), QImage::Format_ARGB32);
    shown.fill(Qt::transparent);
    corner->render(&shown, QPoint(), QRegion(), QWidget::DrawChildren);
    EXPECT_EQ(shown.copy(0, 0, 16, 16), own);
}

TEST_F(DocumentWindowTest, EditCommandsStayAvailableWhenTheMenuIsOpenedFromTheKeyboard)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    w->Editor->setFocus();
    QTest::keyClicks(w->Editor, "Hello");
    // Alt puts the keyboard into the menu bar.
    Form->menuBar()->setFocus(Qt::MenuBarFocusReason);
    ASSERT_EQ(QApplication::focusWidget(), Form->menuBar());
    Form->UpdateStandardActions();
    EXPECT_TRUE(Form->findChild<QAction *>("Selectall")->isEnabled());
    EXPECT_TRUE(Form->findChild<QAction *>("Undo")->isEnabled());
    Form->EditSelectAllExecute();
    Form->UpdateStandardActions();
    EXPECT_TRUE(Form->findChild<QAction *>("Cut")->isEnabled());
}

TEST_F(DocumentWindowTest, EditCommandsFollowTheFocusedEditorWithoutBeingRefreshed)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    w->Editor->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), w->Editor);
    EXPECT_TRUE(Form->findChild<QAction *>("CascadeOkno")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction *>("Selectall")->isEnabled()) << "nothing to select";
    EXPECT_FALSE(Form->findChild<QAction *>("Undo")->isEnabled());

    QTest::keyClicks(w->Editor, "Hello");
    EXPECT_TRUE(Form->findChild<QAction *>("Selectall")->isEnabled());
    EXPECT_TRUE(Form->findChild<QAction *>("Undo")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction *>("Cut")->isEnabled());
    w->Editor->selectAll();
    EXPECT_TRUE(Form->findChild<QAction *>("Cut")->isEnabled());
    EXPECT_TRUE(Form->findChild<QToolButton *>("ButtonCopy")->isEnabled());
    w->Editor->moveCursor(QTextCursor::End);
    EXPECT_FALSE(Form->findChild<QAction *>("Copy")->isEnabled());

    QApplication::clipboard()->setText(QStringLiteral("clip"));
    EXPECT_TRUE(Form->findChild<QAction *>("Paste")->isEnabled());
    QApplication::clipboard()->clear();
    EXPECT_FALSE(Form->findChild<QAction *>("Paste")->isEnabled());

    w->Editor->undo();
    EXPECT_FALSE(Form->findChild<QAction *>("Undo")->isEnabled());
    EXPECT_FALSE(Form->findChild<QAction *>("Selectall")->isEnabled());

    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(Form->findChild<QAction *>("CascadeOkno")->isEnabled())
        << "no window left to arrange";
}

TEST_F(DocumentWindowTest, TheWindowsShortcutKeysRunItsCommandsNotTheEditorsOwn)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
    w->Editor->setFocus();
    Dialogs.FormAnswers = {[](QDialog &d) {
        static_cast<TVloz &>(d).MaskEdit->setText(QStringLiteral("05"));
        return int(QDialog::Accepted);
    }};
    Click("ButtonWxx");
    ASSERT_EQ(w->Editor->toPlainText().size(), 3);
    // Ctrl+C on the symbol's digits alone is the Copy command, which copies the unit whole.
    SelectRange(*w->Editor, {1, 2});
    QTest::keyClick(w->Editor, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), w->Editor->toPlainText());
    // Ctrl+V is Paste, which puts the text after the unit rather than into it.
    QApplication::clipboard()->setText(QStringLiteral("x"));
    SelectRange(*w->Editor, {1, 0});
    QTest::keyClick(w->Editor, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(w->Editor->toPlainText().mid(1), "05x");
    // A key no command of the window has stays the editor's.
    QTest::keyClick(w->Editor, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(w->Editor->textCursor().selectedText().size(), 4);
}

} // namespace
} // namespace zor
