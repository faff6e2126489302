// The document list and its file commands, in a bare MDI area without a main window.
#include "editor/DocumentManager.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/CommandInsertion.h"
#include "editor/DocumentIO.h"
#include "tests/support/ScriptedDialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace zor {
namespace {

class DocumentManagerTest : public ::testing::Test
{
protected:
    QString Path(const QString &name) const { return Dir.filePath(name); }

    static QByteArray ReadFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    static void Type(TMDIChild *w, const QString &text)
    {
        w->Editor->setFocus();
        w->Editor->TypeText(text);
    }

    QTemporaryDir Dir;
    test::TScriptedDialogs Dialogs;
    QMdiArea Area;
    TDocumentManager Manager{&Area};
};

TEST_F(DocumentManagerTest, SignalsFollowADocumentFromCreationToClosing)
{
    QSignalSpy created(&Manager, &TDocumentManager::DocumentCreated);
    QSignalSpy count(&Manager, &TDocumentManager::CountChanged);
    QSignalSpy activated(&Manager, &TDocumentManager::DocumentActivated);
    QSignalSpy modified(&Manager, &TDocumentManager::DocumentModified);
    QSignalSpy closed(&Manager, &TDocumentManager::DocumentClosed);
    Area.show();

    TMDIChild *first = Manager.New();
    TMDIChild *second = Manager.New();
    EXPECT_EQ(created.size(), 2);
    EXPECT_EQ(Manager.Count(), 2);
    EXPECT_EQ(count.back().at(0).toInt(), 2);
    EXPECT_EQ(Manager.Documents(), QList<TMDIChild *>({first, second}));
    EXPECT_EQ(Manager.ActiveDocument(), second);
    ASSERT_FALSE(activated.isEmpty());
    EXPECT_EQ(activated.back().at(0).value<TMDIChild *>(), second);

    Type(second, "x");
    ASSERT_EQ(modified.size(), 1);
    EXPECT_EQ(modified.back().at(0).value<TMDIChild *>(), second);
    EXPECT_TRUE(modified.back().at(1).toBool());
    second->Editor->document()->setModified(false);
    EXPECT_FALSE(modified.back().at(1).toBool());

    delete first;
    ASSERT_EQ(closed.size(), 1);
    EXPECT_EQ(closed.back().at(0).value<QObject *>(), static_cast<QObject *>(first));
    EXPECT_EQ(Manager.Count(), 1);
    EXPECT_EQ(count.back().at(0).toInt(), 1);
    EXPECT_EQ(Manager.Documents(), QList<TMDIChild *>({second}));
}

TEST_F(DocumentManagerTest, UntitledIsTheDocumentsStateNotItsCaption)
{
    // A file that happens to be called Untitled is a file like any other: Save writes it.
    const QString named = Path("Untitled");
    QFile(named).open(QIODevice::WriteOnly);
    TMDIChild *opened = Manager.CreateDocumentWindow(named);
    EXPECT_EQ(opened->windowTitle(), "Untitled");
    EXPECT_FALSE(opened->IsUntitled());
    Type(opened, "kept");
    EXPECT_TRUE(Manager.Save(opened));
    EXPECT_TRUE(Dialogs.Shown.isEmpty()) << "no save dialog for a named document";
    EXPECT_TRUE(ReadFile(named).contains("kept"));

    // New never reads a file of that name in the current folder.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    TMDIChild *fresh = Manager.New();
    QDir::setCurrent(previous);
    EXPECT_TRUE(fresh->IsUntitled());
    EXPECT_TRUE(fresh->Editor->toPlainText().isEmpty());
}

TEST_F(DocumentManagerTest, SavingANewDocumentNamesItOnlyOnceWritten)
{
    QSignalSpy used(&Manager, &TDocumentManager::FileUsed);
    TMDIChild *w = Manager.New();
    Type(w, "text");

    // Declining the overwrite question writes nothing and keeps the document new and modified.
    const QString existing = Path("existing.zor");
    QFile(existing).open(QIODevice::WriteOnly);
    Dialogs.FileNames = {existing};
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_FALSE(Manager.Save(w));
    EXPECT_TRUE(w->IsUntitled());
    EXPECT_TRUE(w->Editor->document()->isModified());
    EXPECT_TRUE(ReadFile(existing).isEmpty());
    EXPECT_TRUE(used.isEmpty());

    Dialogs.FileNames = {Path("new.zor")};
    EXPECT_TRUE(Manager.Save(w));
    EXPECT_FALSE(w->IsUntitled());
    EXPECT_EQ(w->FileName, Path("new.zor"));
    EXPECT_EQ(w->windowTitle(), "new.zor");
    EXPECT_FALSE(w->Editor->document()->isModified());
    ASSERT_EQ(used.size(), 1);
    EXPECT_EQ(used.back().at(0).toString(), Path("new.zor"));

    // Save As titles its dialog with the document and asks even for a named one.
    Dialogs.FileNames = {QString()};
    EXPECT_FALSE(Manager.SaveAs(w));
    EXPECT_EQ(Dialogs.FileDialogs.back().Title, "Save new.zor As...");
    EXPECT_EQ(w->FileName, Path("new.zor"));

    // Saving a new document asks under its own name, never under the one saved before.
    TMDIChild *other = Manager.New();
    Dialogs.FileNames = {QString()};
    EXPECT_FALSE(Manager.Save(other));
    EXPECT_EQ(Dialogs.FileDialogs.back().Title, "Save Untitled As...");
}

TEST_F(DocumentManagerTest, OpeningReadsTheFileAndReportsItUsed)
{
    const QString path = Path("doc.zor");
    {
        QTextDocument text;
        text.setPlainText("Hello");
        ASSERT_TRUE(SaveDocumentFile(path, text, nullptr));
    }
    QSignalSpy used(&Manager, &TDocumentManager::FileUsed);
    Dialogs.FileNames = {path};
    TMDIChild *w = Manager.Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Editor->toPlainText(), "Hello");
    EXPECT_FALSE(w->Editor->document()->isModified());
    EXPECT_FALSE(w->Editor->document()->isUndoAvailable());
    ASSERT_EQ(used.size(), 1);
    EXPECT_EQ(used.back().at(0).toString(), path);

    Dialogs.FileNames = {QString()};
    EXPECT_EQ(Manager.Open(), nullptr);
    EXPECT_EQ(Manager.Count(), 1);
}

TEST_F(DocumentManagerTest, OverDeepFilesOpenNothingAndCutOffFilesWhatWasThere)
{
    const auto write = [this](const QString &name, const QByteArray &bytes) {
        QFile f(Path(name));
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return Path(name);
    };
    const QString deep =
        write("deep.zor", "{\\rtf1 Hello" + QByteArray(1001, '{') + "x" + QByteArray(1002, '}'));
    Dialogs.FileNames = {deep};
    TMDIChild *w = Manager.Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Editor->toPlainText(), "") << "its RTF source is no text to send";
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Cannot read file " + deep +
                                         ". The RTF groups are nested more than 1000 levels deep.");

    Dialogs.Boxes.clear();
    const QString cut = write("cut.zor", "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 Hello\\par wor");
    Dialogs.FileNames = {cut};
    w = Manager.Open();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->Editor->toPlainText(), "Hello\nwor");
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Warning);
    EXPECT_EQ(Dialogs.Boxes[0].Text, "File " + cut +
                                         ": The RTF document ends before its last group is "
                                         "closed; the file may be truncated.");
}

TEST_F(DocumentManagerTest, ExitAsksEveryDocumentAndTheFirstRefusalKeepsThemAll)
{
    TMDIChild *a = Manager.New();
    TMDIChild *b = Manager.New();
    TMDIChild *clean = Manager.New();
    Type(a, "a");
    Type(b, "b");

    Dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::Cancel};
    EXPECT_FALSE(Manager.QueryCloseAll());
    EXPECT_EQ(Dialogs.Boxes.size(), 2) << "the clean document is not asked";
    for (TMDIChild *w : {a, b, clean})
        EXPECT_FALSE(w->CloseAgreed);
    EXPECT_TRUE(a->Editor->document()->isModified()) << "a refusal throws nothing away";

    Dialogs.Answers = {TMsgAnswer::No, TMsgAnswer::No};
    EXPECT_TRUE(Manager.QueryCloseAll());
    for (TMDIChild *w : {a, b, clean})
        EXPECT_TRUE(w->CloseAgreed);
    const qsizetype asked = Dialogs.Boxes.size();
    Area.closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Dialogs.Boxes.size(), asked) << "closing after agreement does not ask again";
    EXPECT_EQ(Manager.Count(), 0);
}

TEST_F(DocumentManagerTest, AWindowComesWiredForTypingPastingAndItsStatusBar)
{
    Area.show();
    TMDIChild *w = Manager.New();
    QSignalSpy caret(w, &TMDIChild::CaretChanged);
    QSignalSpy mode(w, &TMDIChild::ModeChanged);
    const TCommandButton &pause = *FindCommandButton("ButtonWxx");
    ASSERT_TRUE(InsertCommandUnit(*w->Editor, QChar(pause.Symbol) + QStringLiteral("05"),
                                  pause.Kind, Manager.FontDialog, DefaultSymbolFont()));

    // Typed after a symbol, text takes the remembered plain-text font, never the symbol's.
    w->Editor->TypeText(QStringLiteral("a"));
    QTextCursor after(w->Editor->document());
    after.setPosition(4);
    EXPECT_FALSE(IsCommandFormat(after.charFormat()));
    EXPECT_EQ(after.charFormat().fontFamilies().toStringList().value(0), "Arial");

    // Pasting inside the unit goes in behind its digits.
    QApplication::clipboard()->setText(QStringLiteral("x"));
    SelectRange(*w->Editor, {1, 0});
    w->Editor->paste();
    EXPECT_EQ(w->Editor->toPlainText().mid(1), "05xa");

    // Caret and mode are reported to whoever shows them.
    SelectRange(*w->Editor, {2, 0});
    ASSERT_FALSE(caret.isEmpty());
    EXPECT_EQ(caret.back().at(0).toString(), "1:  3");
    QTest::keyClick(w->Editor, Qt::Key_Insert);
    ASSERT_FALSE(mode.isEmpty());
    EXPECT_EQ(mode.back().at(0).toString(), "Overwrite");
    delete w;
    EXPECT_EQ(caret.back().at(0).toString(), " ") << "the position goes with its window";
}

} // namespace
} // namespace zor
