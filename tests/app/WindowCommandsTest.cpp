// The Window menu and the tiling commands, and the document's length limit for every way text
// comes in (typing, pasting, inserting a command).
#include "app/Zoredit.h"
#include "commands/Input.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/rtf/RtfCodec.h"
#include "tests/support/MainFormFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMimeData>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace zor {
namespace {

class WindowCommandsTest : public test::TMainFormTest
{
protected:
    TMDIChild *Document(const QString &title, const QString &text = {})
    {
        TMDIChild *w = Form->CreateDocumentWindow(title);
        w->setWindowTitle(title);
        QTextCursor(w->Editor->document()).insertText(text);
        w->show();
        return w;
    }

    // The window-list entries of the Window menu as it opens.
    QList<QAction *> WindowList()
    {
        emit Form->findChild<QMenu *>("Window")->aboutToShow();
        QList<QAction *> items;
        bool afterSeparator = false;
        for (QAction *a : Form->findChild<QMenu *>("Window")->actions()) {
            if (a->isSeparator())
                afterSeparator = true;
            else if (afterSeparator)
                items << a;
        }
        return items;
    }

    void Click(const char *name)
    {
        const TCommandButton *b = FindCommandButton(name);
        Form->CommandButtonClick(int(b - CommandButtons.data()));
    }

    static void End(TMDIChild *w)
    {
        QTextCursor c = w->Editor->textCursor();
        c.movePosition(QTextCursor::End);
        w->Editor->setTextCursor(c);
    }
};

TEST_F(WindowCommandsTest, WindowMenuListsTheDocumentsAndActivatesTheChosenOne)
{
    EXPECT_TRUE(WindowList().isEmpty());
    TMDIChild *a = Document("a.zor");
    TMDIChild *b = Document("b.zor");
    TMDIChild *c = Document("c.zor");
    Form->DocumentArea()->setActiveSubWindow(b);

    QList<QAction *> items = WindowList();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "&1 a.zor");
    EXPECT_EQ(items[2]->text(), "&3 c.zor");
    EXPECT_TRUE(items[1]->isChecked());
    EXPECT_FALSE(items[0]->isChecked());

    items[0]->trigger();
    EXPECT_EQ(Form->DocumentArea()->activeSubWindow(), a);

    // Opening the menu again lists each window once, without the closed one.
    delete c;
    items = WindowList();
    ASSERT_EQ(items.size(), 2);
    EXPECT_EQ(items[1]->text(), "&2 b.zor");
    EXPECT_TRUE(items[0]->isChecked());

    // A name is shown as it is: its "&" is no access key.
    Document("R&D notes.zor");
    items = WindowList();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[2]->text(), "&3 R&&D notes.zor");
    EXPECT_EQ(QKeySequence::mnemonic(items[2]->text()), QKeySequence(Qt::ALT | Qt::Key_3));
}

TEST_F(WindowCommandsTest, UntitledDocumentsAreNumberedAndAFreedNumberIsUsedAgain)
{
    Form->FileNewExecute();
    Form->FileNewExecute();
    Form->FileNewExecute();
    QList<QAction *> items = WindowList();
    ASSERT_EQ(items.size(), 3);
    EXPECT_EQ(items[0]->text(), "&1 Untitled");
    EXPECT_EQ(items[1]->text(), "&2 Untitled 2");
    EXPECT_EQ(items[2]->text(), "&3 Untitled 3");
    auto *second = qobject_cast<TMDIChild *>(Form->DocumentArea()->subWindowList()[1]);
    ASSERT_NE(second, nullptr);
    delete second;
    Form->FileNewExecute();
    EXPECT_EQ(Form->ActiveDocument()->windowTitle(), "Untitled 2");
    // A saved document gives its number up.
    Dialogs.FileNames.push_back(Dir.filePath("saved.zor"));
    Form->FileSaveExecute();
    EXPECT_EQ(Form->ActiveDocument()->windowTitle(), "saved.zor");
    Form->FileNewExecute();
    EXPECT_EQ(Form->ActiveDocument()->windowTitle(), "Untitled 2");
}

TEST_F(WindowCommandsTest, TilingSharesTheAreaWithoutOverlapAndRestoresMaximizedWindows)
{
    Form->resize(900, 700);
    Form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(Form.get()));
    QList<TMDIChild *> windows = {Document("a"), Document("b"), Document("c")};
    windows[1]->showMaximized();
    const QRect area = Form->DocumentArea()->viewport()->rect();
    ASSERT_GT(area.height(), 30);

    for (auto [action, orientation] :
         {std::pair{&TMainForm::WindowTileHorizontalExecute, Qt::Horizontal},
          std::pair{&TMainForm::WindowTileVerticalExecute, Qt::Vertical}}) {
        (Form.get()->*action)();
        int covered = 0;
        for (int i = 0; i < windows.size(); ++i) {
            const QRect r = windows[i]->geometry();
            EXPECT_FALSE(windows[i]->isMaximized());
            EXPECT_TRUE(area.contains(r)) << i;
            if (orientation == Qt::Horizontal) {
                EXPECT_EQ(r.width(), area.width());
                covered += r.height();
            } else {
                EXPECT_EQ(r.height(), area.height());
                covered += r.width();
            }
            for (int j = i + 1; j < windows.size(); ++j)
                EXPECT_FALSE(r.intersects(windows[j]->geometry())) << i << " and " << j;
        }
        EXPECT_EQ(covered, orientation == Qt::Horizontal ? area.height() : area.width());
    }
}

TEST_F(WindowCommandsTest, TypingPastTheLimitIsRefusedWhole)
{
    TMDIChild *w = Document("Untitled", "abcd");
    w->Editor->MaxLength = 6;
    End(w);
    QTest::keyClicks(w->Editor, "xyz");
    EXPECT_EQ(w->Editor->toPlainText(), "abcdxy");
    QTest::keyClick(w->Editor, Qt::Key_Return);
    QTest::keyClick(w->Editor, Qt::Key_Tab);
    EXPECT_EQ(w->Editor->toPlainText(), "abcdxy");

    // Typing over a selection or in overwrite mode does not grow the document.
    SelectRange(*w->Editor, {0, 2});
    QTest::keyClicks(w->Editor, "Q");
    EXPECT_EQ(w->Editor->toPlainText(), "Qcdxy");
    QTest::keyClick(w->Editor, Qt::Key_Insert);
    SelectRange(*w->Editor, {1, 0});
    QTest::keyClicks(w->Editor, "RS");
    EXPECT_EQ(w->Editor->toPlainText(), "QRSxy");
    EXPECT_LE(w->Editor->Length(), w->Editor->MaxLength);
}

TEST_F(WindowCommandsTest, PasteThatDoesNotFitIsRefusedWholeWithItsUnits)
{
    TMDIChild *source = Document("source");
    Click("ButtonF1");
    QTextCursor(source->Editor->document()).insertText("ab");
    source->Editor->selectAll();
    Form->EditCopyExecute();
    ASSERT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(RtfMimeType));

    TMDIChild *w = Document("target", "1234");
    w->Editor->MaxLength = 6;
    End(w);
    Form->EditPasteExecute(); // three characters, room for two
    EXPECT_EQ(w->Editor->toPlainText(), "1234");

    w->Editor->MaxLength = 7;
    Form->EditPasteExecute();
    EXPECT_EQ(w->Editor->Length(), 7);

    QApplication::clipboard()->setText("plain");
    w->Editor->MaxLength = 11;
    Form->EditPasteExecute();
    EXPECT_EQ(w->Editor->Length(), 7);
    w->Editor->MaxLength = 12;
    Form->EditPasteExecute();
    EXPECT_EQ(w->Editor->Length(), 12);
}

TEST_F(WindowCommandsTest, CommandThatDoesNotFitIsNotInsertedNorSplit)
{
    TMDIChild *w = Document("Untitled", "abc");
    w->Editor->MaxLength = 4;
    End(w);
    Click("ButtonF1");
    EXPECT_EQ(w->Editor->Length(), 4);
    Click("ButtonF2");
    EXPECT_EQ(w->Editor->Length(), 4);

    // A command with two digits needs room for all three characters.
    w->Editor->MaxLength = 6;
    Dialogs.FormAnswers = {[](QDialog &d) {
        static_cast<TVloz &>(d).MaskEdit->setText(QStringLiteral("12"));
        return int(QDialog::Accepted);
    }};
    Click("ButtonWxx");
    EXPECT_EQ(w->Editor->Length(), 4);
    w->Editor->MaxLength = 7;
    Dialogs.FormAnswers = {[](QDialog &d) {
        static_cast<TVloz &>(d).MaskEdit->setText(QStringLiteral("12"));
        return int(QDialog::Accepted);
    }};
    Click("ButtonWxx");
    EXPECT_EQ(w->Editor->Length(), 7);
}

TEST_F(WindowCommandsTest, FileLargerThanAnyDocumentIsRefusedUnread)
{
    // A sparse file: its size is past the bound without the disk or the test paying for it.
    const QString path = Dir.filePath(QStringLiteral("huge.zor"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_TRUE(file.resize(qint64(rtf::MaxInputBytes) + 1));
    }
    QTextDocument text;
    text.setPlainText(QStringLiteral("before"));
    QString error;
    EXPECT_FALSE(LoadDocumentFile(path, text, &error));
    EXPECT_EQ(error,
              QStringLiteral("Cannot read file %1. It is too large for a document.").arg(path));
    EXPECT_TRUE(text.isEmpty());
    EXPECT_EQ(QFile(path).size(), qint64(rtf::MaxInputBytes) + 1);
}

TEST_F(WindowCommandsTest, OpenedDocumentHasNothingToUndo)
{
    // Undo right after opening used to take the whole loaded text away again.
    const QString path = Dir.filePath(QStringLiteral("short.zor"));
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("{\\rtf1 {\\b a}a{\\b a}a\\par b}");
    }
    QTextDocument text;
    QString error;
    ASSERT_TRUE(LoadDocumentFile(path, text, &error)) << error.toStdString();
    EXPECT_EQ(text.toPlainText(), "aaaa\nb");
    EXPECT_FALSE(text.isUndoAvailable());
    EXPECT_TRUE(text.isUndoRedoEnabled());
}

} // namespace
} // namespace zor
