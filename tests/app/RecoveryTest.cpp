// Recovery copies from the main window: when they are written and removed, what the next start
// makes of them, and the editor ended by a signal.
#include "app/EditorSettings.h"
#include "app/StartupCheck.h"
#include "app/TerminationSignals.h"
#include "app/Zoredit.h"
#include "base/AtomicFile.h"
#include "base/SymbolTag.h"
#include "comm/ProfileFile.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/DocumentManager.h"
#include "editor/RecoveryCopies.h"
#include "editor/rtf/RtfCodec.h"
#include "tests/support/ScriptedDialogs.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QSessionManager>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <vector>
#ifndef _WIN32
#include "harness/ExecTool.h"

#include <poll.h>
#include <sys/wait.h>
#endif

namespace zor {
namespace {

using namespace std::chrono_literals;

// The RTF a document window holds: equal bytes mean equal text, fonts and exact colours.
std::string Content(const TMDIChild *w)
{
    return rtf::Write(DocumentFromText(*w->Editor->document()));
}

// Time that moves only when the test says: the documents' delay timers fire in Advance().
class TTestTime
{
public:
    TCopyTimerMaker Timers()
    {
        return [this](std::function<void()> expired) {
            return std::make_unique<TTimer>(*this, std::move(expired));
        };
    }
    void Advance(std::chrono::milliseconds step)
    {
        const std::chrono::milliseconds end = Now + step;
        for (;;) {
            TTimer *next = nullptr;
            for (TTimer *t : Running)
                if (t->Due <= end && (!next || t->Due < next->Due))
                    next = t;
            if (!next)
                break;
            Now = next->Due;
            next->Stop();
            next->Expired();
        }
        Now = end;
    }
    // The delay the last timer was started with.
    std::chrono::milliseconds LastDelay{0};

private:
    struct TTimer final : TCopyTimer
    {
        TTimer(TTestTime &time, std::function<void()> expired)
            : Time(time), Expired(std::move(expired))
        {
        }
        ~TTimer() override { Stop(); }
        void Start(std::chrono::milliseconds delay) override
        {
            Stop();
            Time.LastDelay = delay;
            Due = Time.Now + delay;
            Time.Running.push_back(this);
        }
        void Stop() override { std::erase(Time.Running, this); }
        bool IsActive() const override
        {
            return std::find(Time.Running.begin(), Time.Running.end(), this) != Time.Running.end();
        }
        TTestTime &Time;
        std::function<void()> Expired;
        std::chrono::milliseconds Due{0};
    };
    std::chrono::milliseconds Now{0};
    std::vector<TTimer *> Running;
};

class RecoveryTest : public ::testing::Test
{
protected:
    // A main window as program start makes it, with its recovery copies in the test's folder.
    std::unique_ptr<TMainForm> Start(std::chrono::milliseconds delay = 1h)
    {
        return Start(QStringList{Root()}, delay);
    }
    std::unique_ptr<TMainForm> Start(const QStringList &roots, std::chrono::milliseconds delay = 1h)
    {
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Dir.filePath(QStringLiteral("zoredit.INI"));
        o.StartDirectory = Dir.path();
        auto form = std::make_unique<TMainForm>(o);
        form->CreateForms();
        form->StartRecovery(roots, delay);
        return form;
    }

    QString Root() const { return Dir.filePath(QStringLiteral("state/recovery")); }
    // A folder no one can make, root included: its parent is a regular file.
    QString Unwritable()
    {
        QFile blocker(Dir.filePath(QStringLiteral("blocker")));
        EXPECT_TRUE(blocker.open(QIODevice::WriteOnly));
        return blocker.fileName() + QStringLiteral("/recovery");
    }
    static QString Warning(const TMainForm &form)
    {
        const auto *label = form.findChild<QLabel *>(QStringLiteral("RecoveryWarning"));
        return label && !label->isHidden() ? label->text() : QString();
    }

    // Every file under the recovery folder, relative to it.
    QStringList Files() const
    {
        QStringList files;
        QDirIterator it(Root(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            files << QDir(Root()).relativeFilePath(it.next());
        files.sort();
        return files;
    }
    // The copies (RTF) under the recovery folder.
    QStringList Copies() const { return Files().filter(QStringLiteral(".rtf")); }

    static void Type(TMDIChild *w, const QString &text) { w->Editor->TypeText(text); }

    // A document in the test's folder holding text.
    QString File(const QString &name, const QString &text)
    {
        const QString path = Dir.filePath(name);
        QTextDocument doc;
        doc.setPlainText(text);
        EXPECT_TRUE(SaveDocumentFile(path, doc, nullptr));
        return path;
    }

    QTemporaryDir Dir;
    test::TScriptedDialogs Dialogs;
};

TEST_F(RecoveryTest, ACopyIsWrittenAfterTheDelayAndNotBefore)
{
    constexpr auto Delay = 400ms;
    auto form = Start(Delay);
    ASSERT_TRUE(form->RecoveryCopies()->IsActive());
    TTestTime time;
    form->RecoveryCopies()->SetTimers(time.Timers());
    TMDIChild *w = form->CreateDocumentWindow(QStringLiteral("Untitled"));
    // Opening and creating write nothing: nothing is unsaved yet.
    time.Advance(Delay + 100ms);
    EXPECT_TRUE(Copies().isEmpty());

    Type(w, QStringLiteral("first"));
    time.Advance(Delay / 2);
    Type(w, QStringLiteral(" second"));
    time.Advance(Delay / 2 - 1ms);
    EXPECT_TRUE(Copies().isEmpty());
    time.Advance(1ms);
    ASSERT_EQ(Copies().size(), 1);
    QFile copy(Root() + QLatin1Char('/') + Copies().front());
    const auto copied = [&copy] {
        EXPECT_TRUE(copy.open(QIODevice::ReadOnly));
        const std::string bytes = copy.readAll().toStdString();
        copy.close();
        return bytes;
    };
    EXPECT_EQ(copied(), Content(w));

    // Steady typing never puts the next copy off: it comes while the typing goes on.
    const std::string first = Content(w);
    for (int i = 0; i < 3; ++i) {
        Type(w, QStringLiteral("."));
        time.Advance(Delay / 4);
    }
    EXPECT_EQ(copied(), first);
    Type(w, QStringLiteral("."));
    time.Advance(Delay / 4);
    EXPECT_EQ(copied(), Content(w));
}

TEST_F(RecoveryTest, TheEditorsOwnTimersWriteTheCopyFromTheEventLoop)
{
    auto form = Start(1ms);
    Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("x"));
    EXPECT_TRUE(Copies().isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return !Copies().isEmpty(); }, 10000));
}

TEST_F(RecoveryTest, TheDelayComesFromTheSettingsFile)
{
    for (const char *bad : {"0", "-5", "3601", "soon", ""})
        EXPECT_EQ(
            ReadRecoverySeconds(TProfileFile(std::string("[Editor]\nRecoverySeconds=") + bad)), 15)
            << bad;
    EXPECT_EQ(ReadRecoverySeconds(TProfileFile("[editor]\nrecoveryseconds=3600")), 3600);

    QFile settings(Dir.filePath(QStringLiteral("zoredit.INI")));
    ASSERT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[Editor]\nRecoverySeconds=1\n");
    settings.close();
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = settings.fileName();
    TMainForm form(o);
    form.StartRecovery(Root());
    TTestTime time;
    form.RecoveryCopies()->SetTimers(time.Timers());
    Type(form.CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("x"));
    time.Advance(999ms);
    EXPECT_TRUE(Copies().isEmpty());
    time.Advance(1ms);
    EXPECT_EQ(Copies().size(), 1);
}

TEST_F(RecoveryTest, SavingClosingWithoutSavingAndACleanExitLeaveNoCopy)
{
    auto form = Start();
    TMDIChild *saved = form->CreateDocumentWindow(File("saved.zor", "old"));
    TMDIChild *dropped = form->CreateDocumentWindow(QStringLiteral("Untitled"));
    TMDIChild *kept = form->CreateDocumentWindow(QStringLiteral("Untitled"));
    for (TMDIChild *w : {saved, dropped, kept})
        Type(w, QStringLiteral("unsaved"));
    form->WriteRecoveryCopies();
    EXPECT_EQ(Copies().size(), 3);

    form->DocumentManager()->Save(saved);
    EXPECT_EQ(Copies().size(), 2);
    Dialogs.Answers = {TMsgAnswer::No};
    dropped->close();
    EXPECT_EQ(Copies().size(), 1);
    // Undone back to nothing: the document is what it was, nothing to keep.
    kept->Editor->undo();
    ASSERT_FALSE(kept->Editor->document()->isModified());
    EXPECT_TRUE(Copies().isEmpty());

    Type(kept, QStringLiteral("again"));
    form->WriteRecoveryCopies();
    EXPECT_EQ(Copies().size(), 1);
    // Exit, not saving: nothing at all is left, not even the editor's folder.
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(form->close());
    EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
}

TEST_F(RecoveryTest, TheNextStartRecoversTextColoursAndNames)
{
    const QString path = File("program.zor", "as saved");
    std::string titled, untitled;
    {
        auto form = Start();
        TMDIChild *b = form->CreateDocumentWindow(QStringLiteral("Untitled"));
        // The active one, where the symbols go.
        TMDIChild *a = form->CreateDocumentWindow(path);
        a->Editor->moveCursor(QTextCursor::End);
        Type(a, QStringLiteral(" and changed: "));
        form->InsertCommandSymbol(QString(QChar(CommandButtons[0].Symbol)), CommandButtons[0].Kind);
        Type(a, QStringLiteral("\u017elu\u0165ou\u010dk\u00fd k\u016f\u0148"));
        form->InsertCommandSymbol(QString(QChar(CommandButtons[13].Symbol)),
                                  CommandButtons[13].Kind);
        Type(b, QStringLiteral("new\nlines"));
        // A second untitled document is told apart from the first in the question.
        Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("c"));
        titled = Content(a);
        untitled = Content(b);
        form->WriteRecoveryCopies();
        // The editor dies here, leaving its copies.
    }
    auto form = Start();
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text,
              "ZorEdit did not close properly. Recover the unsaved changes of\nUntitled\n" + path +
                  "\nUntitled 2?");
    EXPECT_EQ(Dialogs.Boxes[0].Buttons, TMsgButtons::RecoverDiscard);
    EXPECT_EQ(Dialogs.Boxes[0].Default, TMsgAnswer::Yes);

    QList<TMDIChild *> windows = form->Documents();
    ASSERT_EQ(windows.size(), 3);
    EXPECT_EQ(windows[2]->windowTitle(), "Untitled 2");
    windows.removeLast();
    TMDIChild *a = windows[0]->FileName == path ? windows[0] : windows[1];
    TMDIChild *b = a == windows[0] ? windows[1] : windows[0];
    EXPECT_EQ(Content(a), titled);
    EXPECT_EQ(Content(b), untitled);
    // The symbols are symbols again, in their kinds' colours.
    int symbols = 0;
    for (QTextBlock block = a->Editor->document()->begin(); block.isValid(); block = block.next())
        for (auto it = block.begin(); !it.atEnd(); ++it)
            if (IsCommandSymbol(FormatColour(it.fragment().charFormat())))
                ++symbols;
    EXPECT_EQ(symbols, 2);
    EXPECT_EQ(a->windowTitle(), "program.zor");
    EXPECT_FALSE(a->IsUntitled());
    EXPECT_TRUE(b->IsUntitled());
    EXPECT_EQ(b->windowTitle(), "Untitled");
    for (TMDIChild *w : windows)
        EXPECT_TRUE(w->Editor->document()->isModified());
    // Already this editor's copies; the dead editor's folder is gone.
    EXPECT_EQ(Copies().size(), 3);
    EXPECT_EQ(QDir(Root()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size(), 1);

    // Save puts the recovered text where it belongs, without asking for a name.
    form->DocumentManager()->Save(a);
    QTextDocument reread;
    QString error;
    ASSERT_TRUE(LoadDocumentFile(path, reread, &error));
    EXPECT_EQ(rtf::Write(DocumentFromText(reread)), titled);
    EXPECT_EQ(Copies().size(), 2);
}

TEST_F(RecoveryTest, DiscardDeletesTheCopiesAndNoAnswerKeepsThem)
{
    {
        auto form = Start();
        Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("text"));
        form->WriteRecoveryCopies();
    }
    {
        // Neither button (the box closed some other way): asked again next time.
        Dialogs.Answers = {TMsgAnswer::Cancel};
        auto form = Start();
        EXPECT_EQ(form->DocumentCount(), 0);
        EXPECT_EQ(Copies().size(), 1);
    }
    Dialogs.Answers = {TMsgAnswer::No};
    auto form = Start();
    EXPECT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(form->DocumentCount(), 0);
    EXPECT_TRUE(Copies().isEmpty());
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedAndKeptAsideAndTheStartGoesOn)
{
    {
        auto form = Start();
        Type(form->CreateDocumentWindow(File("bad.zor", "x")), QStringLiteral("lost"));
        Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("fine"));
        form->WriteRecoveryCopies();
        const QString folder = form->RecoveryCopies()->Folder();
        QFile damaged(folder + QStringLiteral("/1.rtf"));
        ASSERT_TRUE(damaged.open(QIODevice::WriteOnly | QIODevice::Truncate));
        damaged.write("{\\rtf1 cut off here");
    }
    auto form = Start();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Warning);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("The recovery copy of " + Dir.filePath("bad.zor") +
                                                 " cannot be read: "))
        << Dialogs.Boxes[0].Text.toStdString();
    EXPECT_TRUE(Dialogs.Boxes[0].Text.contains(".\nIt was kept as " + Root() + "/damaged/"));
    EXPECT_TRUE(Dialogs.Boxes[1].Text.endsWith("\nUntitled?"));
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->Documents()[0]->Editor->toPlainText(), "fine");
    EXPECT_EQ(Files().filter(QStringLiteral("damaged/")).size(), 2);
}

TEST_F(RecoveryTest, ACopyThatCannotBeWrittenIsToldOnceAndTheNextStartSaysHowOldTheLastIs)
{
    {
        auto form = Start();
        TMDIChild *w = form->CreateDocumentWindow(QStringLiteral("Untitled"));
        Type(w, QStringLiteral("kept"));
        form->WriteRecoveryCopies();
        ASSERT_EQ(Copies().size(), 1);
        const QDateTime written(QDate(2026, 1, 2), QTime(3, 4, 5));
        QFile copy(Root() + QLatin1Char('/') + Copies().front());
        ASSERT_TRUE(copy.open(QIODevice::ReadWrite));
        ASSERT_TRUE(copy.setFileTime(written, QFileDevice::FileModificationTime));
        copy.close();
        EXPECT_TRUE(Warning(*form).isEmpty());

        // The disk is full from now on.
        form->RecoveryCopies()->SetWriter(
            [](const std::string &, std::string_view, std::string *error) {
                *error = "No space left on device";
                return false;
            });
        for (const char *more : {" and lost", " and lost again"}) {
            Type(w, QString::fromLatin1(more));
            form->WriteRecoveryCopies();
            QCoreApplication::processEvents();
        }
        EXPECT_FALSE(Warning(*form).isEmpty());
        ASSERT_EQ(Dialogs.Boxes.size(), 1);
        EXPECT_EQ(Dialogs.Boxes[0].Icon, TMsgIcon::Warning);
        EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith(
            "The recovery copy of Untitled cannot be written: No space left on device.\n"))
            << Dialogs.Boxes[0].Text.toStdString();
    }
    auto form = Start();
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    EXPECT_EQ(Dialogs.Boxes[1].Text, "ZorEdit did not close properly. Recover the unsaved changes "
                                     "of\nUntitled (the copy is from 2026-01-02 03:04:05)?");
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->Documents()[0]->Editor->toPlainText(), "kept");
    // Written again where it can be: the new copy is whole, and no longer said to be old.
    form.reset();
    Start();
    ASSERT_EQ(Dialogs.Boxes.size(), 3);
    EXPECT_TRUE(Dialogs.Boxes[2].Text.endsWith("\nUntitled?"))
        << Dialogs.Boxes[2].Text.toStdString();
}

TEST_F(RecoveryTest, AnUnwritableFolderSendsTheCopiesToTheNextAndTheNextStartSaysWhere)
{
    const QString blocked = Unwritable();
    const QString fallback = Dir.filePath(QStringLiteral("tmp/recovery"));
    {
        auto form = Start({blocked, fallback});
        ASSERT_TRUE(form->RecoveryCopies()->IsActive());
        Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("elsewhere"));
        form->WriteRecoveryCopies();
        QCoreApplication::processEvents();
        EXPECT_TRUE(Dialogs.Boxes.isEmpty());
        EXPECT_TRUE(Warning(*form).isEmpty());
    }
    auto form = Start({blocked, fallback});
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.endsWith("\nUntitled?\n\n" + blocked +
                                               " could not be written; the copies were kept in " +
                                               fallback + "."))
        << Dialogs.Boxes[0].Text.toStdString();
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->Documents()[0]->Editor->toPlainText(), "elsewhere");

    // Nowhere at all: said at once, in the status bar for as long as it lasts and in one box.
    Dialogs.Boxes.clear();
    auto nowhere = Start({blocked});
    QCoreApplication::processEvents();
    EXPECT_FALSE(nowhere->RecoveryCopies()->IsActive());
    EXPECT_FALSE(Warning(*nowhere).isEmpty());
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_TRUE(Dialogs.Boxes[0].Text.startsWith("No recovery copies can be kept: "))
        << Dialogs.Boxes[0].Text.toStdString();
}

TEST_F(RecoveryTest, WithoutAStateFolderADocumentsCopyLiesBesideItUntilItIsSaved)
{
    const QString blocked = Unwritable();
    const QString fallback = Dir.filePath(QStringLiteral("tmp/recovery"));
    const QString path = File("beside.zor", "as saved");
    const QString beside = Dir.filePath(QStringLiteral(".beside.zor.zoredit-recovery"));
    const auto copiesIn = [](const QString &folder) {
        QStringList copies;
        QDirIterator it(folder, {QStringLiteral("*.rtf")}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext())
            copies << it.next();
        return copies;
    };
    {
        auto form = Start({blocked, fallback});
        form->OpenDocuments({path});
        ASSERT_EQ(form->DocumentCount(), 1);
        Type(form->Documents()[0], QStringLiteral("changed "));
        // An untitled document has no folder: its copy goes to the temporary one.
        Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("new"));
        form->WriteRecoveryCopies();
        EXPECT_EQ(copiesIn(beside).size(), 1);
        EXPECT_EQ(copiesIn(fallback).size(), 1);
        EXPECT_TRUE(Warning(*form).isEmpty());
    }
    // The next start finds it beside the document it last worked on, and says where it was.
    auto form = Start({blocked, fallback});
    ASSERT_EQ(Dialogs.Boxes.size(), 1);
    EXPECT_EQ(Dialogs.Boxes[0].Text,
              "ZorEdit did not close properly. Recover the unsaved changes of\n" + path +
                  "\nUntitled?\n\n" + blocked + " could not be written; the copies were kept in " +
                  beside + ", " + fallback + ".");
    ASSERT_EQ(form->DocumentCount(), 2);
    TMDIChild *w = form->Documents()[0];
    EXPECT_EQ(w->FileName, path);
    EXPECT_TRUE(w->Editor->toPlainText().startsWith("changed "))
        << w->Editor->toPlainText().toStdString();
    // Kept there again, by this editor alone.
    EXPECT_EQ(copiesIn(beside).size(), 1);
    // Saved: nothing is left in the document's folder.
    ASSERT_TRUE(form->DocumentManager()->Save(w));
    EXPECT_FALSE(QFileInfo::exists(beside));
    EXPECT_EQ(copiesIn(fallback).size(), 1);
}

TEST_F(RecoveryTest, ACopyThatFailsLaterMovesToTheNextFolderAndTheOldOneGoes)
{
    const QString fallback = Dir.filePath(QStringLiteral("tmp/recovery"));
    const QString untitled = QStringLiteral("Untitled");
    {
        auto form = Start({Root(), fallback});
        TMDIChild *w = form->CreateDocumentWindow(untitled);
        Type(w, QStringLiteral("first"));
        form->WriteRecoveryCopies();
        ASSERT_EQ(Copies().size(), 1);
        // The state folder turns unwritable (full, or mounted read-only) after a good copy.
        static std::string stateFolder;
        stateFolder = Root().toStdString();
        form->RecoveryCopies()->SetWriter(
            [](const std::string &path, std::string_view data, std::string *error) {
                if (path.rfind(stateFolder, 0) == 0) {
                    *error = "No space left on device";
                    return false;
                }
                return WriteFileAtomically(path, data, error);
            });
        Type(w, QStringLiteral(" and second"));
        form->WriteRecoveryCopies();
        QCoreApplication::processEvents();
        // Kept on, with no word: a copy exists, only elsewhere.
        EXPECT_TRUE(Warning(*form).isEmpty());
        EXPECT_TRUE(Dialogs.Boxes.isEmpty());
        EXPECT_TRUE(Copies().isEmpty());

        // Then nothing can be written anywhere: the last copy stays, said to be older.
        stateFolder.clear();
        Type(w, QStringLiteral(" and lost"));
        form->WriteRecoveryCopies();
        QCoreApplication::processEvents();
        EXPECT_FALSE(Warning(*form).isEmpty());
        EXPECT_EQ(Dialogs.Boxes.size(), 1);
    }
    auto form = Start({Root(), fallback});
    ASSERT_EQ(Dialogs.Boxes.size(), 2);
    const QString &question = Dialogs.Boxes[1].Text;
    EXPECT_TRUE(question.startsWith("ZorEdit did not close properly. Recover the unsaved changes "
                                    "of\nUntitled (the copy is from "))
        << question.toStdString();
    EXPECT_TRUE(question.endsWith(
        ")?\n\n" + Root() + " could not be written; the copies were kept in " + fallback + "."))
        << question.toStdString();
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->Documents()[0]->Editor->toPlainText(), "first and second");
}

#ifdef _WIN32
// The user's local application data, as Windows names it: a profile's folder may hold any
// character, and the copies' paths pass from Qt to the cores and back.
TEST_F(RecoveryTest, OnWindowsTheCopiesLieUnderLocalAppDataRecoveryZorEdit)
{
    const QString local = Dir.filePath(QStringLiteral("Ji\u0159\u00ed/AppData/Local"));
    ASSERT_TRUE(QDir().mkpath(local));
    const QByteArray saved = qgetenv("LOCALAPPDATA");
    qputenv("LOCALAPPDATA", QDir::toNativeSeparators(local).toUtf8());
    const std::vector<std::string> folders = RecoveryFolders();
    qputenv("LOCALAPPDATA", saved);
    ASSERT_FALSE(folders.empty());
    const QString root = QString::fromStdString(folders.front());
    EXPECT_EQ(QDir::cleanPath(QDir::fromNativeSeparators(root)), local + "/ZorEdit/recovery");

    auto form = Start(QStringList{root});
    Type(form->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("kept"));
    form->WriteRecoveryCopies();
    QDirIterator it(local + "/ZorEdit/recovery", {QStringLiteral("*.rtf")}, QDir::Files,
                    QDirIterator::Subdirectories);
    EXPECT_TRUE(it.hasNext()) << "no copy under " << local.toStdString();
}
#else
TEST_F(RecoveryTest, TheCheckReportsAnUnwritableRecoveryFolder)
{
    const QString blocked = Unwritable();
    struct TVariable
    {
        const char *Name;
        QByteArray Value;
        bool Set;
    };
    std::vector<TVariable> saved;
    for (const char *name : {"XDG_STATE_HOME", "HOME", "TMPDIR"})
        saved.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
    qputenv("XDG_STATE_HOME", QFile::encodeName(QFileInfo(blocked).path()));
    qputenv("HOME", QFile::encodeName(Dir.path()));
    qputenv("TMPDIR", QFile::encodeName(Dir.path()));
    char *text = nullptr;
    std::size_t size = 0;
    std::FILE *out = ::open_memstream(&text, &size);
    const int status = RunStartupCheck({}, out);
    std::fclose(out);
    const QString report = QString::fromLocal8Bit(text, qsizetype(size));
    std::free(text);
    for (const TVariable &v : saved)
        v.Set ? qputenv(v.Name, v.Value) : qunsetenv(v.Name);
    EXPECT_EQ(status, 1);
    EXPECT_TRUE(report.contains("\nrecovery folder: " + QFileInfo(blocked).path() +
                                "/ZorEdit/recovery (cannot be written: "))
        << report.toStdString();
    EXPECT_TRUE(report.contains("\nrecovery copies go to: " + Dir.path() +
                                "/.local/state/ZorEdit/recovery\n"))
        << report.toStdString();
}
#endif

TEST_F(RecoveryTest, SavingARecoveredDocumentWhoseFileChangedSinceAsksFirst)
{
    const QString changedPath = File("changed.zor", "as saved");
    const QString samePath = File("same.zor", "as saved");
    {
        auto form = Start();
        for (const QString &path : {changedPath, samePath})
            Type(form->CreateDocumentWindow(path), QStringLiteral("recovered "));
        form->WriteRecoveryCopies();
    }
    // Another program writes one of the files before the editor is started again.
    File("changed.zor", "written by someone else");
    const auto onDisk = [](const QString &path) {
        QTextDocument doc;
        EXPECT_TRUE(LoadDocumentFile(path, doc, nullptr));
        return doc.toPlainText();
    };
    auto form = Start();
    ASSERT_EQ(form->DocumentCount(), 2);
    TMDIChild *changed =
        form->Documents()[0]->FileName == changedPath ? form->Documents()[0] : form->Documents()[1];
    TMDIChild *same = changed == form->Documents()[0] ? form->Documents()[1] : form->Documents()[0];
    const qsizetype asked = Dialogs.Boxes.size();

    Dialogs.Answers = {TMsgAnswer::Cancel};
    EXPECT_FALSE(form->DocumentManager()->Save(changed));
    ASSERT_EQ(Dialogs.Boxes.size(), asked + 1);
    EXPECT_EQ(Dialogs.Boxes.back().Buttons, TMsgButtons::OverwriteSaveAsCancel);
    EXPECT_TRUE(Dialogs.Boxes.back().Text.startsWith(changedPath + " was changed on disk"))
        << Dialogs.Boxes.back().Text.toStdString();
    EXPECT_EQ(onDisk(changedPath), "written by someone else");
    EXPECT_TRUE(changed->Editor->document()->isModified());

    // A file as it was when its copy was taken is saved without a word.
    EXPECT_TRUE(form->DocumentManager()->Save(same));
    EXPECT_EQ(Dialogs.Boxes.size(), asked + 1);

    Dialogs.Answers = {TMsgAnswer::Yes};
    EXPECT_TRUE(form->DocumentManager()->Save(changed));
    EXPECT_EQ(Dialogs.Boxes.size(), asked + 2);
    EXPECT_TRUE(onDisk(changedPath).contains("recovered")) << onDisk(changedPath).toStdString();
    // Now the file is this editor's own again.
    Type(changed, QStringLiteral("more"));
    EXPECT_TRUE(form->DocumentManager()->Save(changed));
    EXPECT_EQ(Dialogs.Boxes.size(), asked + 2);
}

TEST_F(RecoveryTest, TwoEditorsDoNotTakeEachOthersCopies)
{
    auto first = Start();
    Type(first->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("first's"));
    first->WriteRecoveryCopies();
    auto second = Start();
    EXPECT_TRUE(Dialogs.Boxes.isEmpty());
    EXPECT_EQ(second->DocumentCount(), 0);
    Type(second->CreateDocumentWindow(QStringLiteral("Untitled")), QStringLiteral("second's"));
    second->WriteRecoveryCopies();
    EXPECT_EQ(Copies().size(), 2);
    // The second's clean exit takes only its own.
    Dialogs.Answers = {TMsgAnswer::No};
    EXPECT_TRUE(second->close());
    EXPECT_EQ(Copies().size(), 1);
}

TEST_F(RecoveryTest, TheEndOfTheSessionWritesTheCopiesAtOnceAndKeepsThem)
{
    auto form = Start();
    TMDIChild *w = form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, QStringLiteral("typed before logging off"));
    ASSERT_TRUE(Copies().isEmpty()) << "the delay is an hour";
    // Only the platform makes a session manager; the editor's slot never looks at it.
    alignas(QSessionManager) unsigned char manager[sizeof(QSessionManager)] = {};
    emit qGuiApp->commitDataRequest(*reinterpret_cast<QSessionManager *>(manager));
    ASSERT_EQ(Copies().size(), 1);
    // The session ends the process without closing the window: the copy is there to recover.
    form.reset();
    auto next = Start();
    ASSERT_EQ(next->DocumentCount(), 1);
    EXPECT_EQ(next->Documents()[0]->Editor->toPlainText(), "typed before logging off");
}

// The editor ended by POSIX signals.
#ifndef _WIN32
TEST_F(RecoveryTest, ATerminationSignalWritesTheCopiesAtOnce)
{
    auto form = Start();
    TMDIChild *w = form->CreateDocumentWindow(QStringLiteral("Untitled"));
    Type(w, QStringLiteral("typed just now"));
    TTerminationSignals termination;
    ASSERT_TRUE(termination.IsInstalled());
    int ended = 0;
    QObject::connect(&termination, &TTerminationSignals::Received, form.get(), [&](int signal) {
        form->WriteRecoveryCopies();
        ended = signal;
    });
    for (int signal : {SIGTERM, SIGHUP}) {
        ended = 0;
        std::raise(signal);
        ASSERT_TRUE(QTest::qWaitFor([&] { return ended != 0; }, 5000));
        EXPECT_EQ(ended, signal);
    }
    ASSERT_EQ(Copies().size(), 1);
}

// Run by the test below in a process of its own, which it then ends with SIGTERM.
TEST(RecoveryChildProcess, EditorForTheSignalTest)
{
    const QByteArray root = qgetenv("ZOR_RECOVERY_TEST_ROOT");
    if (root.isEmpty())
        GTEST_SKIP() << "run by ARealEditorEndedBySigtermLeavesItsCopy";
    test::TScriptedDialogs dialogs;
    TStartupOptions o;
    o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
    o.SettingsFile = QFile::decodeName(root) + QStringLiteral("/zoredit.INI");
    TMainForm form(o);
    form.CreateForms();
    form.show();
    // As program start does.
    TTerminationSignals termination;
    QObject::connect(&termination, &TTerminationSignals::Received, &form, [&form](int signal) {
        form.WriteRecoveryCopies();
        TTerminationSignals::EndBy(signal);
    });
    form.StartRecovery(QFile::decodeName(root));
    TMDIChild *w = form.CreateDocumentWindow(QStringLiteral("Untitled"));
    QTest::keyClicks(w->Editor, "typed before the end");
    std::puts("ready");
    std::fflush(stdout);
    QTest::qWait(60000);
    FAIL() << "not ended";
}

TEST_F(RecoveryTest, ARealEditorEndedBySigtermLeavesItsCopy)
{
    int out[2];
    ASSERT_EQ(::pipe(out), 0);
    const std::string root = Root().toStdString();
    const pid_t pid =
        test::ExecTool(QCoreApplication::applicationFilePath().toStdString(),
                       {"--gtest_filter=RecoveryChildProcess.EditorForTheSignalTest"}, out[1], -1,
                       [&] { ::setenv("ZOR_RECOVERY_TEST_ROOT", root.c_str(), 1); });
    ASSERT_GT(pid, 0);
    ::close(out[1]);
    // Up once it says so; a line at a time, for gtest prints its own too.
    std::string said;
    pollfd p{out[0], POLLIN, 0};
    while (said.find("ready\n") == std::string::npos && ::poll(&p, 1, 30000) == 1) {
        char buffer[256];
        const ssize_t n = ::read(out[0], buffer, sizeof buffer);
        if (n <= 0)
            break;
        said.append(buffer, std::size_t(n));
    }
    ::close(out[0]);
    ASSERT_NE(said.find("ready\n"), std::string::npos) << said;
    // The delay is an hour: only the signal writes the copy.
    EXPECT_TRUE(Copies().isEmpty());

    QElapsedTimer clock;
    clock.start();
    ASSERT_EQ(::kill(pid, SIGTERM), 0);
    int status = 0;
    pid_t done = 0;
    while ((done = ::waitpid(pid, &status, WNOHANG)) == 0 && clock.elapsed() < 10000)
        QTest::qWait(10);
    if (done == 0)
        ::kill(pid, SIGKILL), ::waitpid(pid, &status, 0);
    ASSERT_EQ(done, pid) << "still running 10 s after SIGTERM";
    EXPECT_LT(clock.elapsed(), 2000);
    // Ended by the signal itself, as whoever sent it expects.
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << status;

    ASSERT_EQ(Copies().size(), 1);
    auto form = Start();
    ASSERT_EQ(form->DocumentCount(), 1);
    EXPECT_EQ(form->Documents()[0]->Editor->toPlainText(), "typed before the end");
}

#endif

} // namespace
} // namespace zor
