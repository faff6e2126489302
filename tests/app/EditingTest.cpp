#include "app/Zoredit.h"
#include "commands/Vocabulary.h"
#include "editor/About.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentManager.h"
#include "editor/Help.h"
#include "editor/SymbolTips.h"
#include "tests/support/MainFormFixture.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMimeData>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextCursor>
#include <gtest/gtest.h>

namespace zor {
namespace {

// Documents are written as strings: capitals and '[' are command symbols (transition kind),
// digits after a '#' are tagged digits, everything else plain text.
class EditingTest : public test::TMainFormTest
{
protected:
    TMDIChild *NewDocument(const QString &content)
    {
        TMDIChild *w = Form->CreateDocumentWindow(QStringLiteral("Untitled"));
        QTextCursor c(w->Editor->document());
        bool digits = false;
        for (QChar ch : content) {
            if (ch == QLatin1Char('#')) {
                digits = true;
                continue;
            }
            const bool symbol = ch.isUpper() || (digits && ch.isDigit());
            digits = digits && ch.isDigit();
            if (ch == QLatin1Char('\n')) {
                c.insertBlock();
                continue;
            }
            QTextCharFormat f = Form->DocumentManager()->PlainTextFormat();
            if (symbol) {
                f.setFontFamilies(QStringList{"ZorSymbolFont"});
                f.setForeground(ColourToQColor(KindColour(TCommandKind::ckParameter)));
            }
            c.insertText(QString(ch), f);
        }
        w->Editor->document()->setModified(false);
        return w;
    }

    // The document in the same notation ('#' before each run of tagged digits), to compare.
    static QString Content(TMDIChild *w)
    {
        QString out;
        TDocumentUnits units(*w->Editor->document());
        const QString text = w->Editor->toPlainText();
        bool digits = false;
        for (int i = 0; i < text.size(); ++i) {
            const bool taggedDigit = units.Tagged(i) && units.Digit(i);
            if (taggedDigit && !digits)
                out += QLatin1Char('#');
            digits = taggedDigit;
            out += text[i];
            if (units.Tagged(i) != (text[i].isUpper() || taggedDigit))
                out += QLatin1Char('!'); // a character whose tag does not match its look
        }
        return out;
    }

    static void Caret(TMDIChild *w, int pos, int length = 0)
    {
        SelectRange(*w->Editor, {pos, length});
    }
};

// Files a word processor saved (tests/editor/data, made as WordProcessorTest.cpp says): the
// symbols LibreOffice writes at U+F0xx keep their digits in one unit, and text it coloured is
// text, whatever its colour.
TEST_F(EditingTest, WordProcessorFilesKeepCommandUnitsAndColouredText)
{
    TMDIChild *w = Form->CreateDocumentWindow(
        QStringLiteral(ZOR_EDITOR_TEST_DATA "/libreoffice-roundtrip.rtf"));
    ASSERT_TRUE(w->Editor->toPlainText().startsWith(";r05P"))
        << w->Editor->toPlainText().toStdString();
    EXPECT_TRUE(SymbolTipAt(*w->Editor->document(), 1).startsWith("Pause 05"))
        << SymbolTipAt(*w->Editor->document(), 1).toStdString();
    Caret(w, 2); // between the pause symbol and its digits
    QTest::keyClicks(w->Editor, "x");
    EXPECT_TRUE(w->Editor->toPlainText().startsWith(";r05xP"))
        << w->Editor->toPlainText().toStdString();

    w = Form->CreateDocumentWindow(QStringLiteral(ZOR_EDITOR_TEST_DATA "/libreoffice-colours.rtf"));
    const QString text = w->Editor->toPlainText();
    ASSERT_TRUE(text.startsWith(QString::fromUtf8("Otevřeno")));
    TDocumentUnits units(*w->Editor->document());
    for (int i = 0; i < text.size(); ++i)
        EXPECT_FALSE(units.Tagged(i)) << i;
    EXPECT_EQ(SymbolTipAt(*w->Editor->document(), 0), "") << "LibreOffice's Blue is no command";
}

TEST_F(EditingTest, DeleteAndBackspaceRemoveWholeUnits)
{
    TMDIChild *w = NewDocument("aW#12bc");
    Caret(w, 2); // between the symbol and its first digit
    QTest::keyClick(w->Editor, Qt::Key_Backspace);
    EXPECT_EQ(Content(w), "abc");

    w = NewDocument("aW#12bc");
    Caret(w, 1);
    QTest::keyClick(w->Editor, Qt::Key_Delete);
    EXPECT_EQ(Content(w), "abc");
    QTest::keyClick(w->Editor, Qt::Key_Delete);
    EXPECT_EQ(Content(w), "ac");

    w = NewDocument("a#5b"); // a tagged digit without a symbol
    Caret(w, 1);
    QTest::keyClick(w->Editor, Qt::Key_Delete);
    EXPECT_EQ(Content(w), "ab");
}

TEST_F(EditingTest, TypingLandsOutsideUnits)
{
    TMDIChild *w = NewDocument("aW#12b");
    Caret(w, 3);
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "aW#12xb");

    w = NewDocument("W#12R#3abc");
    QTest::keyClick(w->Editor, Qt::Key_Insert);
    EXPECT_FALSE(w->InsertMode);
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Overwrite");
    Caret(w, 0);
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "W#12R#3xbc");

    w = NewDocument("aW#12");
    QTest::keyClick(w->Editor, Qt::Key_Insert);
    Caret(w, 1);
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "aW#12x");
}

TEST_F(EditingTest, TypingOverASelectionReplacesWholeUnits)
{
    TMDIChild *w = NewDocument("aW#12bR#34c");
    Caret(w, 2, 5); // from inside the first unit to inside the second
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "axc");

    w = NewDocument("aFGb");
    Caret(w, 0, 2);
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "xGb") << "a symbol followed by a symbol does not grow the selection";
}

TEST_F(EditingTest, LetterTypedAfterASymbolIsPlainText)
{
    TMDIChild *w = NewDocument("aFb");
    Caret(w, 2); // right after the symbol, as a mouse click leaves it
    w->Editor->setCurrentCharFormat(QTextCursor(w->Editor->document()).charFormat());
    QTextCursor c = w->Editor->textCursor();
    w->Editor->setCurrentCharFormat(c.charFormat());
    QTest::keyClicks(w->Editor, "x");
    EXPECT_EQ(Content(w), "aFxb");
    QTextCursor x(w->Editor->document());
    x.setPosition(3);
    EXPECT_EQ(FormatColour(x.charFormat()), 0u);
    EXPECT_EQ(x.charFormat().fontFamilies().toStringList().value(0), "Arial");
}

TEST_F(EditingTest, StatusShowsCaretPositionAndEachWindowsMode)
{
    TMDIChild *first = NewDocument("ab\ncd\nef");
    Caret(first, 6);
    EXPECT_EQ(Form->StatusPanel(1)->text(), "3:  1");
    QTest::keyClick(first->Editor, Qt::Key_Insert);
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Overwrite");
    TMDIChild *second = NewDocument("x");
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Insert");
    Form->DocumentArea()->setActiveSubWindow(first);
    first->EditorSelectionChange();
    EXPECT_EQ(Form->StatusPanel(2)->text(), "Overwrite");
    EXPECT_TRUE(second->InsertMode);
}

TEST_F(EditingTest, CopyWidensToUnitsAndPastesThemBackWithTheirColours)
{
    TMDIChild *w = NewDocument("aW#12bRc");
    Caret(w, 2, 4); // from between W and its digits to the R
    Form->EditCopyExecute();
    EXPECT_EQ(w->Editor->textCursor().selectionStart(), 1);
    EXPECT_EQ(w->Editor->textCursor().selectionEnd(), 6);
    EXPECT_TRUE(QApplication::clipboard()->mimeData()->hasFormat(RtfMimeType))
        << QApplication::clipboard()->mimeData()->formats().join(",").toStdString();

    TMDIChild *other = NewDocument("xy");
    Caret(other, 1);
    Form->EditPasteExecute();
    EXPECT_EQ(Content(other), "xW#12bRy");
    QTextCursor sym(other->Editor->document());
    sym.setPosition(2);
    EXPECT_EQ(FormatColour(sym.charFormat()), KindColour(TCommandKind::ckParameter));
    EXPECT_EQ(sym.charFormat().fontFamilies().toStringList().value(0), "ZorSymbolFont");
}

TEST_F(EditingTest, PasteGoesAfterAUnitAndBeforeASelection)
{
    QApplication::clipboard()->setText("+");
    TMDIChild *w = NewDocument("aW#12b");
    Caret(w, 2);
    Form->EditPasteExecute();
    EXPECT_EQ(Content(w), "aW#12+b");

    w = NewDocument("abcd");
    Caret(w, 1, 2);
    Form->EditPasteExecute();
    EXPECT_EQ(Content(w), "a+bcd");

    w = NewDocument("aW#12bc");
    Caret(w, 2, 1);
    Form->EditCutExecute();
    EXPECT_EQ(Content(w), "abc") << "Cut takes the whole unit";
}

TEST_F(EditingTest, FontCommandTurnsSymbolsIntoPlainTextAndClearsTheTag)
{
    TMDIChild *w = NewDocument("aFb");
    Caret(w, 0, 3);
    Dialogs.FontChoices.push_back([](TFontDialogState &s) {
        s.Color = QColor(255, 0, 0x81); // blue ends in 001
        return true;
    });
    Form->CharacterFontExecute();
    QTextCursor c(w->Editor->document());
    c.setPosition(2);
    EXPECT_EQ(FormatColour(c.charFormat()), 0x8000FFu);
    EXPECT_FALSE(IsCommandSymbol(FormatColour(c.charFormat())));
    EXPECT_EQ(QColorToColour(Form->DocumentManager()->PlainTextFormat().foreground().color()),
              0x8000FFu)
        << "remembered for the text typed next";
}

TEST_F(EditingTest, PrintingATwoPageDocumentGivesItsTextTitledWithTheFileName)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext is not installed";
    QString text;
    for (int i = 1; i <= 90; ++i)
        text += QStringLiteral("Line %1 of the program\n").arg(i);
    text.chop(1);
    NewDocument(text.toLower());
    const QString pdf = Dir.filePath("out.pdf");
    Form->Printer().setOutputFormat(QPrinter::PdfFormat);
    Form->Printer().setOutputFileName(pdf);
    Dialogs.PrintChoices = {true};
    Form->FilePrintExecute();
    QProcess info;
    info.start("pdfinfo", {pdf});
    info.waitForFinished();
    const QString meta = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(meta.contains(QRegularExpression("Pages:\\s+2\\b"))) << meta.toStdString();
    EXPECT_TRUE(meta.contains(QRegularExpression("Title:\\s+Untitled"))) << meta.toStdString();
    QProcess extract;
    extract.start("pdftotext", {"-layout", pdf, "-"});
    extract.waitForFinished();
    const QString printed = QString::fromUtf8(extract.readAllStandardOutput());
    EXPECT_TRUE(printed.contains("line 1 of the program"));
    EXPECT_TRUE(printed.contains("line 90 of the program"));
}

TEST_F(EditingTest, PrintingKeepsTenMillimetresFromTheEdgeAndProposesTheDocumentsName)
{
    TMDIChild *w = NewDocument("text");
    w->SetFileName(Dir.filePath("report.zor"));
    QPrinter &printer = Form->Printer();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageMargins(QMarginsF(2, 2, 25, 2), QPageLayout::Millimeter);
    Dialogs.PrintChoices = {true};
    Form->FilePrintExecute();
    const QMarginsF m = printer.pageLayout().margins(QPageLayout::Millimeter);
    EXPECT_GE(m.left(), 10);
    EXPECT_GE(m.top(), 10);
    EXPECT_GE(m.bottom(), 10);
    EXPECT_GE(m.right(), 25) << "a wider margin is kept";
    EXPECT_EQ(printer.outputFileName(), Dir.filePath("report.pdf"));
    EXPECT_TRUE(QFile::exists(Dir.filePath("report.pdf")));
    // The next document's print follows its own name; a name chosen in the dialog stays.
    TMDIChild *other = NewDocument("more");
    other->SetFileName(Dir.filePath("other.zor"));
    Dialogs.PrintChoices = {false};
    Form->FilePrintExecute();
    EXPECT_EQ(printer.outputFileName(), Dir.filePath("other.pdf"));
    printer.setOutputFileName(Dir.filePath("chosen.pdf"));
    Dialogs.PrintChoices = {false};
    Form->FilePrintExecute();
    EXPECT_EQ(printer.outputFileName(), Dir.filePath("chosen.pdf"));
}

TEST_F(EditingTest, PrintingWrapsALongLineOntoThePageButNeverInTheEditor)
{
    if (QProcess::execute("pdftotext", {"-v"}) < 0)
        GTEST_SKIP() << "pdftotext is not installed";
    // One line of 600 characters: numbered words, so each one can be found on paper.
    QString line;
    for (int i = 1; line.size() < 600; ++i)
        line += QStringLiteral("word%1 ").arg(i, 3, 10, QLatin1Char('0'));
    line.truncate(600);
    const QString last = line.split(' ', Qt::SkipEmptyParts).constLast();
    TMDIChild *w = NewDocument(line + "\nunbrokenline" + QString(200, QLatin1Char('z')));
    const QString pdf = Dir.filePath("wide.pdf");
    Form->Printer().setOutputFormat(QPrinter::PdfFormat);
    Form->Printer().setOutputFileName(pdf);
    Dialogs.PrintChoices = {true};
    Form->FilePrintExecute();
    QProcess extract;
    extract.start("pdftotext", {pdf, "-"});
    extract.waitForFinished();
    const QString printed = QString::fromUtf8(extract.readAllStandardOutput());
    QString joined = printed;
    joined.remove(QRegularExpression("\\s"));
    EXPECT_TRUE(printed.contains("word001"));
    EXPECT_TRUE(printed.contains(last)) << "the end of the long line is on paper";
    EXPECT_TRUE(joined.contains("unbrokenline" + QString(200, QLatin1Char('z'))))
        << "a word wider than the page is broken, not cut";
    EXPECT_GT(printed.count(QLatin1Char('\n')), 4) << "the long line wraps onto several lines";
    EXPECT_EQ(w->Editor->lineWrapMode(), QTextEdit::NoWrap);
    EXPECT_EQ(w->Editor->document()->defaultTextOption().wrapMode(), QTextOption::NoWrap);
}

TEST_F(EditingTest, BothRedoKeysRedoWhatWasUndoneAndF1OpensTheHelp)
{
    Form->show();
    Form->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(Form.get()));
    TMDIChild *w = NewDocument("");
    w->Editor->setFocus();
    QAction *redo = Form->findChild<QAction *>("Redo");
    ASSERT_NE(redo, nullptr);
    EXPECT_EQ(Form->findChild<QMenu *>("Edit")->actions().count(redo), 1);
    QTest::keyClicks(w->Editor, "abc");
    EXPECT_FALSE(redo->isEnabled()) << "nothing undone yet";
    for (const QKeySequence &key :
         {QKeySequence(Qt::CTRL | Qt::Key_Y), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)}) {
        Form->EditUndoExecute();
        ASSERT_EQ(w->Editor->toPlainText(), "");
        EXPECT_TRUE(redo->isEnabled());
        QTest::keySequence(Form.get(), key);
        EXPECT_EQ(w->Editor->toPlainText(), "abc") << key.toString().toStdString();
        EXPECT_FALSE(redo->isEnabled());
    }
    QTest::keyClick(w->Editor, Qt::Key_F1);
    auto *help = Form->findChild<THelpWindow *>();
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->isVisible());
    help->close();
}

TEST_F(EditingTest, AboutBoxShowsItsVersionAndClosesOnEscape)
{
    Tabb &about = *Form->findChild<Tabb *>();
    EXPECT_EQ(about.Label2->text(), "Version 1.10 ");
    EXPECT_EQ(about.windowTitle(), "About");
    about.show();
    QTest::keyClick(&about, Qt::Key_Escape);
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), QDialog::Accepted);
}

} // namespace
} // namespace zor
