#include "app/CommandLine.h"
#include "app/Zoredit.h"
#include "comm/ProfileFile.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "tests/support/MainFormFixture.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QScrollBar>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>

namespace zor {
namespace {

class OpeningTest : public test::TMainFormTest
{
protected:
    // A document file with the given text, in the test's folder.
    QString Document(const QString &name, const QString &text)
    {
        const QString path = Dir.filePath(name);
        QTextDocument doc;
        doc.setPlainText(text);
        EXPECT_TRUE(SaveDocumentFile(path, doc, nullptr));
        return path;
    }

    QStringList OpenNames() const
    {
        QStringList names;
        for (TMDIChild *w : Form->Documents())
            names << w->FileName;
        names.sort();
        return names;
    }

    QStringList RecentMenu() const
    {
        QStringList out;
        for (QAction *a : Form->findChild<QMenu *>("File")->actions())
            if (a->objectName().startsWith(QLatin1String("Recent")))
                out << a->text();
        return out;
    }

    void CloseAll()
    {
        for (TMDIChild *w : Form->Documents())
            w->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void Drop(QWidget *target, const QList<QUrl> &urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &enter);
        QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(target, &drop);
        // The documents open once the drop has finished.
        QCoreApplication::processEvents();
    }
};

TEST_F(OpeningTest, EachFileOpensInItsOwnWindowAndAMissingOneIsReported)
{
    const QString a = Document(QStringLiteral("a.zor"), QStringLiteral("first"));
    const QString b = Document(QStringLiteral("b.zor"), QStringLiteral("second"));
    const QString lost = Dir.filePath(QStringLiteral("no folder/gone.zor"));

    Form->OpenDocuments({a, lost, b});

    EXPECT_EQ(OpenNames(), QStringList({a, b}));
    EXPECT_EQ(Form->DocumentCount(), 2);
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Caption, "ZorEdit");
    EXPECT_EQ(Dialogs.Boxes[0].Text, "Cannot open file " + lost + ". The folder " +
                                         Dir.filePath(QStringLiteral("no folder")) +
                                         " does not exist.");
    EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Error);
    for (TMDIChild *w : Form->Documents()) {
        EXPECT_FALSE(w->Editor->document()->isModified());
        EXPECT_EQ(w->Editor->toPlainText(), w->FileName == a ? "first" : "second");
    }

    // A folder is not a document either.
    Form->OpenDocuments({Dir.path()});
    EXPECT_EQ(Form->DocumentCount(), 2);
    EXPECT_EQ(Dialogs.Boxes.size(), 2);
}

TEST_F(OpeningTest, ANameNotThereYetIsANewDocumentThatSaveCreates)
{
    // As the Open dialog does with a new name (zoredit MISSING.zor).
    const QString old = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    Form->OpenDocuments({QStringLiteral("MISSING.zor")});
    QDir::setCurrent(old);
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    const QString missing = Dir.filePath(QStringLiteral("MISSING.zor"));
    ASSERT_EQ(OpenNames(), QStringList({missing}));
    TMDIChild *w = Form->ActiveDocument();
    EXPECT_EQ(w->windowTitle(), "MISSING.zor");
    EXPECT_TRUE(w->Editor->toPlainText().isEmpty());
    EXPECT_FALSE(QFile::exists(missing)) << "nothing is written before Save";
    EXPECT_TRUE(RecentMenu().isEmpty()) << "not a file yet";

    QTextCursor(w->Editor->document()).insertText(QStringLiteral("typed"));
    Form->FileSaveExecute();
    EXPECT_FALSE(Dialogs.Shown.contains("save")) << "saved under its name without asking";
    QTextDocument back;
    ASSERT_TRUE(LoadDocumentFile(missing, back, nullptr));
    EXPECT_EQ(back.toPlainText(), "typed");
    EXPECT_EQ(RecentMenu(), QStringList({"&1 " + missing})) << "the file Save made is a recent one";
}

TEST_F(OpeningTest, AnOpenedDocumentShowsItsStart)
{
    QString text;
    for (int i = 1; i <= 200; ++i)
        text += QStringLiteral("line %1\n").arg(i);
    Form->resize(800, 600);
    Form->show();
    Form->OpenDocuments({Document(QStringLiteral("long.zor"), text)});
    TMDIChild *w = Form->ActiveDocument();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_EQ(w->Editor->textCursor().position(), 0);
    EXPECT_EQ(w->Editor->verticalScrollBar()->value(), 0);
}

TEST_F(OpeningTest, RelativeNamesOpenUnderTheirFullName)
{
    const QString a = Document(QStringLiteral("rel.zor"), QStringLiteral("x"));
    const QString old = QDir::currentPath();
    QDir::setCurrent(Dir.path());
    Form->OpenDocuments({QStringLiteral("rel.zor")});
    QDir::setCurrent(old);
    EXPECT_EQ(OpenNames(), QStringList({a}));
}

TEST_F(OpeningTest, FilesDroppedOnTheWindowOrAnEditorOpen)
{
    const QString a = Document(QStringLiteral("a.zor"), QStringLiteral("first"));
    const QString b = Document(QStringLiteral("b.zor"), QStringLiteral("second"));

    Drop(Form.get(), {QUrl::fromLocalFile(a)});
    ASSERT_EQ(Form->DocumentCount(), 1);

    // Dropped on an open document the file opens too; its name is not pasted as text.
    TMDIChild *first = Form->Documents().front();
    Drop(first->Editor->viewport(), {QUrl::fromLocalFile(b)});
    EXPECT_EQ(OpenNames(), QStringList({a, b}));
    EXPECT_EQ(first->Editor->toPlainText(), "first");
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());

    // A web link is not a file: nothing opens.
    Drop(Form.get(), {QUrl(QStringLiteral("https://example.org/c.zor"))});
    EXPECT_EQ(Form->DocumentCount(), 2);
}

TEST_F(OpeningTest, RecentListFollowsOpensAndSavesAndIsKeptInTheSettingsFile)
{
    const QString a = Document(QStringLiteral("a.zor"), QStringLiteral("a"));
    const QString b = Document(QStringLiteral("b&c.zor"), QStringLiteral("b"));
    EXPECT_TRUE(RecentMenu().isEmpty());

    Form->OpenDocuments({a, b});
    Dialogs.FileNames.push_back(Dir.filePath(QStringLiteral("new.zor")));
    Form->FileNewExecute();
    Form->FileSaveExecute();
    const QString saved = Dir.filePath(QStringLiteral("new.zor"));

    EXPECT_EQ(RecentMenu(),
              QStringList({"&1 " + saved, "&2 " + Dir.filePath("b&&c.zor"), "&3 " + a}));
    TProfileFile profile;
    ASSERT_TRUE(profile.Load(Form->SettingsPath().toStdString()));
    EXPECT_EQ(profile.ReadString("Recent", "File1", ""), saved.toStdString());
    EXPECT_EQ(profile.ReadString("Recent", "File3", ""), a.toStdString());

    // The entries sit between the printing commands and Exit.
    const QList<QAction *> items = Form->findChild<QMenu *>("File")->actions();
    EXPECT_EQ(items.last()->objectName(), "Exit");
    EXPECT_EQ(items[items.size() - 2]->objectName(), "NRecent");
    EXPECT_EQ(items[items.size() - 6]->objectName(), "N3");

    // A new main window reads the same list back.
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = Form->SettingsPath();
    TMainForm second(o);
    EXPECT_EQ(second.RecentItems().size(), 3);
}

TEST_F(OpeningTest, ChoosingARecentFileThatIsGoneDropsItWithAMessage)
{
    const QString a = Document(QStringLiteral("a.zor"), QStringLiteral("a"));
    const QString b = Document(QStringLiteral("b.zor"), QStringLiteral("b"));
    Form->OpenDocuments({a, b});
    CloseAll();
    ASSERT_EQ(Form->DocumentCount(), 0);
    QFile::remove(a);

    Form->RecentItems().back()->trigger(); // a, the older one
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Warning);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith(a + " no longer exists."));
    EXPECT_EQ(Form->DocumentCount(), 0);
    EXPECT_EQ(RecentMenu(), QStringList({"&1 " + b}));
    TProfileFile profile;
    profile.Load(Form->SettingsPath().toStdString());
    EXPECT_EQ(profile.ReadString("Recent", "File2", "x"), "");

    Form->RecentItems().front()->trigger();
    EXPECT_EQ(OpenNames(), QStringList({b}));

    // The last entry gone, the menu is back to its fixed items.
    QFile::remove(b);
    CloseAll();
    Form->RecentItems().front()->trigger();
    EXPECT_TRUE(RecentMenu().isEmpty());
    EXPECT_EQ(Form->findChild<QMenu *>("File")->actions().last()->objectName(), "Exit");
    EXPECT_EQ(Form->findChild<QMenu *>("File")
                  ->actions()[Form->findChild<QMenu *>("File")->actions().size() - 2]
                  ->objectName(),
              "N3");
}

TEST(CommandLineTest, OptionsAndFiles)
{
    const TCommandLine files = ParseCommandLine({"a.zor", "--check", "b.zor"});
    EXPECT_EQ(files.Files, QStringList({"a.zor", "b.zor"}));
    EXPECT_TRUE(files.Check);
    EXPECT_TRUE(files.Error.isEmpty());

    EXPECT_TRUE(ParseCommandLine({"--version"}).Version);
    EXPECT_TRUE(ParseCommandLine({"-h"}).Help);
    EXPECT_EQ(ParseCommandLine({"--bogus", "a.zor"}).Error, "unknown option --bogus");
    // The shell's prompt goes on a line of its own after the usage.
    EXPECT_TRUE(CommandLineUsage().endsWith(QLatin1Char('\n')));

    // After "--" a dash starts a file name; a lone dash is a name too.
    const TCommandLine dashed = ParseCommandLine({"--", "--version", "-"});
    EXPECT_EQ(dashed.Files, QStringList({"--version", "-"}));
    EXPECT_FALSE(dashed.Version);
}

} // namespace
} // namespace zor
