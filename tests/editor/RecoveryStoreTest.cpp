// The recovery copies' files: what one editor leaves behind and the next one finds.
#include "base/AtomicFile.h"
#include "editor/Recovery.h"

#include <cstdlib>
#include <dirent.h>
#include <gtest/gtest.h>
#include <map>
#include <signal.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zor {
namespace {

class RecoveryStoreTest : public ::testing::Test
{
protected:
    RecoveryStoreTest()
    {
        char pattern[] = "/tmp/zor-recovery-XXXXXX";
        Temp = ::mkdtemp(pattern);
        Root = Temp + "/state/ZorEdit/recovery";
    }
    ~RecoveryStoreTest() override
    {
        const std::string command = "rm -rf '" + Temp + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    static std::string Rtf(const std::u32string &text, std::uint32_t colour = 0)
    {
        doc::Document d;
        doc::CharFormat f;
        f.Colour = colour;
        d.Append(f, text);
        return rtf::Write(d);
    }

    static std::u32string Text(const doc::Document &d)
    {
        std::u32string all;
        for (const doc::TextRun &run : d.Runs)
            all += run.Text;
        return all;
    }

    static std::vector<std::string> Entries(const std::string &folder)
    {
        std::vector<std::string> names;
        if (DIR *dir = ::opendir(folder.c_str())) {
            while (const dirent *e = ::readdir(dir))
                if (std::string(e->d_name) != "." && std::string(e->d_name) != "..")
                    names.push_back(e->d_name);
            ::closedir(dir);
        }
        return names;
    }

    std::string Temp;
    std::string Root;
};

TEST_F(RecoveryStoreTest, AFolderOthersMayWriteIsNotUsed)
{
    // As one left in the temporary folder under our name by someone else would be.
    ASSERT_EQ(std::system(("mkdir -p '" + Root + "' && chmod 0777 '" + Root + "'").c_str()), 0);
    TRecoveryStore store(Root);
    std::string error;
    EXPECT_FALSE(store.Open(&error));
    EXPECT_NE(error.find("is not a folder of this user's own"), std::string::npos) << error;
    EXPECT_TRUE(Entries(Root).empty());
}

TEST_F(RecoveryStoreTest, CopiesOfARunningEditorAreOfferedOnlyOnceItHasDied)
{
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        TRecoveryStore store(Root);
        const bool ok = store.Open() && store.Write(1, false, "/docs/a.zor", Rtf(U"typed"));
        [[maybe_unused]] const ssize_t n = ::write(ready[1], ok ? "1" : "0", 1);
        for (;;)
            ::pause();
    }
    ::close(ready[1]);
    char ok = 0;
    ASSERT_EQ(::read(ready[0], &ok, 1), 1);
    ::close(ready[0]);
    ASSERT_EQ(ok, '1');

    // Another editor running beside it, with copies of its own.
    TRecoveryStore beside(Root);
    ASSERT_TRUE(beside.Open());
    ASSERT_TRUE(beside.Write(1, true, {}, Rtf(U"mine")));
    EXPECT_TRUE(TOrphanCopies::Claim(Root).Copies.empty());

    ::kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);

    TOrphanCopies found = TOrphanCopies::Claim(Root);
    ASSERT_EQ(found.Copies.size(), 1u);
    EXPECT_FALSE(found.Copies[0].Untitled);
    EXPECT_EQ(found.Copies[0].FileName, "/docs/a.zor");
    EXPECT_EQ(Text(found.Copies[0].Doc), U"typed");
    // Claimed: an editor starting at the same moment does not offer them a second time.
    EXPECT_TRUE(TOrphanCopies::Claim(Root).Copies.empty());
    // Let go without an answer, they are there for the next start.
    found.Release();
    EXPECT_EQ(TOrphanCopies::Claim(Root).Copies.size(), 1u);
}

TEST_F(RecoveryStoreTest, CopiesOfAKilledEditorThatHadThisProcesssNumberAreOffered)
{
    // A killed editor leaves its lock behind, with its process number in it; a restarted one may
    // be given the same number (Wine does so at once).
    std::string lockPath, lockBytes;
    {
        TRecoveryStore killed(Root);
        ASSERT_TRUE(killed.Open());
        ASSERT_TRUE(killed.Write(1, false, "/docs/a.zor", Rtf(U"typed")));
        lockPath = killed.Folder() + ".lock";
        ASSERT_TRUE(ReadWholeFile(lockPath, &lockBytes));
    }
    ASSERT_TRUE(WriteFileAtomically(lockPath, lockBytes));

    // This process's own editor keeps its copies while it runs, though its lock bears the same
    // number.
    TRecoveryStore running(Root);
    ASSERT_TRUE(running.Open());
    ASSERT_TRUE(running.Write(1, true, {}, Rtf(U"mine")));

    TOrphanCopies found = TOrphanCopies::Claim(Root);
    ASSERT_EQ(found.Copies.size(), 1u);
    EXPECT_EQ(found.Copies[0].FileName, "/docs/a.zor");
    EXPECT_TRUE(TOrphanCopies::Claim(Root).Copies.empty()) << "claimed once";
}

TEST_F(RecoveryStoreTest, NamesComeBackByteForByteAndUntitledStaysUntitled)
{
    const std::string odd = std::string("/docs/line\nbreak \xff\xfe.zor");
    {
        TRecoveryStore store(Root);
        ASSERT_TRUE(store.Open());
        ASSERT_TRUE(store.Write(1, true, "ignored", Rtf(U"new one")));
        ASSERT_TRUE(store.Write(2, false, odd, Rtf(U"odd")));
        // A file that happens to be called Untitled is a file, not a new document.
        ASSERT_TRUE(store.Write(10, false, "Untitled", Rtf(U"named")));
        // The editor dies here: the store lets go of its lock and keeps the copies.
    }
    TOrphanCopies found = TOrphanCopies::Claim(Root);
    ASSERT_EQ(found.Copies.size(), 3u);
    std::map<unsigned, const TRecoveryCopy *> byNumber;
    for (const TRecoveryCopy &c : found.Copies)
        byNumber[c.Number] = &c;
    EXPECT_TRUE(byNumber.at(1)->Untitled);
    EXPECT_EQ(byNumber.at(1)->FileName, "");
    EXPECT_EQ(Text(byNumber.at(1)->Doc), U"new one");
    EXPECT_FALSE(byNumber.at(2)->Untitled);
    EXPECT_EQ(byNumber.at(2)->FileName, odd);
    EXPECT_FALSE(byNumber.at(10)->Untitled);
    EXPECT_EQ(byNumber.at(10)->FileName, "Untitled");
    EXPECT_TRUE(found.Damaged.empty());
    found.Discard();
    EXPECT_TRUE(Entries(Root).empty());
}

TEST_F(RecoveryStoreTest, DamagedCopiesAreKeptAsideAndTheOthersStillCome)
{
    std::string folder;
    {
        TRecoveryStore store(Root);
        ASSERT_TRUE(store.Open());
        folder = store.Folder();
        ASSERT_TRUE(store.Write(1, false, "/docs/good.zor", Rtf(U"good")));
        ASSERT_TRUE(store.Write(2, false, "/docs/cut.zor", Rtf(U"cut")));
        ASSERT_TRUE(store.Write(3, true, {}, Rtf(U"garbage")));
        ASSERT_TRUE(store.Write(4, true, {}, Rtf(U"nameless")));
    }
    std::string cut;
    ASSERT_TRUE(ReadWholeFile(folder + "/2.rtf", &cut));
    cut.resize(cut.size() / 2);
    ASSERT_TRUE(WriteFileAtomically(folder + "/2.rtf", cut));
    ASSERT_TRUE(WriteFileAtomically(folder + "/3.rtf", std::string("\x01\x02 not a copy", 13)));
    ASSERT_EQ(::unlink((folder + "/4.name").c_str()), 0);

    TOrphanCopies found = TOrphanCopies::Claim(Root);
    ASSERT_EQ(found.Copies.size(), 1u);
    EXPECT_EQ(found.Copies[0].FileName, "/docs/good.zor");
    ASSERT_EQ(found.Damaged.size(), 3u);
    EXPECT_EQ(found.Damaged[0].FileName, "/docs/cut.zor");
    EXPECT_TRUE(found.Damaged[1].Untitled);
    for (const TDamagedCopy &d : found.Damaged) {
        EXPECT_FALSE(d.Reason.empty());
        ASSERT_FALSE(d.KeptAs.empty());
        EXPECT_EQ(d.KeptAs.rfind(Root + "/damaged/", 0), 0u) << d.KeptAs;
    }
    std::string kept;
    ASSERT_TRUE(ReadWholeFile(found.Damaged[0].KeptAs, &kept));
    EXPECT_EQ(kept, cut);
    // The recovered and the discarded go; what was damaged stays where the report said.
    found.Discard();
    EXPECT_EQ(Entries(Root), std::vector<std::string>{"damaged"});
    EXPECT_EQ(Entries(Root + "/damaged").size(), 5u); // three copies, two with their names
    // ... and is never offered again.
    TOrphanCopies again = TOrphanCopies::Claim(Root);
    EXPECT_TRUE(again.Copies.empty());
    EXPECT_TRUE(again.Damaged.empty());
}

TEST_F(RecoveryStoreTest, ALinkInTheRecoveryFolderIsNeverFollowed)
{
    // An editor's folder elsewhere, left as a crash leaves it.
    const std::string elsewhere = Temp + "/elsewhere";
    std::string folder;
    {
        TRecoveryStore store(elsewhere);
        ASSERT_TRUE(store.Open());
        ASSERT_TRUE(store.Write(1, false, "/docs/theirs.zor", Rtf(U"not ours to offer")));
        folder = store.Folder();
    }
    ASSERT_EQ(std::system(("mkdir -p '" + Root + "'").c_str()), 0);
    ASSERT_EQ(::symlink(folder.c_str(), (Root + "/1-linked").c_str()), 0);
    TOrphanCopies found = TOrphanCopies::Claim(Root);
    EXPECT_TRUE(found.Copies.empty());
    found.Discard();
    // Neither the link's target nor what it holds was touched.
    EXPECT_EQ(TOrphanCopies::Claim(elsewhere).Copies.size(), 1u);
}

TEST_F(RecoveryStoreTest, NoFolderMeansNoCopiesAndNoFailureElsewhere)
{
    TRecoveryStore none("");
    EXPECT_FALSE(none.Open());
    EXPECT_FALSE(none.Write(1, true, {}, "x"));
    none.Remove(1);
    none.Finish();
    EXPECT_TRUE(TOrphanCopies::Claim("").Copies.empty());

    // A file where the folder should be.
    ASSERT_TRUE(WriteFileAtomically(Temp + "/state", "a file"));
    TRecoveryStore blocked(Root);
    std::string error;
    EXPECT_FALSE(blocked.Open(&error));
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
}

TEST(RecoveryFolderTest, FollowsXdgStateHomeElseHome)
{
    const char *state = std::getenv("XDG_STATE_HOME");
    const char *home = std::getenv("HOME");
    const std::string savedState = state ? state : "", savedHome = home ? home : "";
    ::setenv("XDG_STATE_HOME", "/s", 1);
    ::setenv("HOME", "/h", 1);
    EXPECT_EQ(DefaultRecoveryFolder(), "/s/ZorEdit/recovery");
    ::setenv("XDG_STATE_HOME", "relative", 1);
    EXPECT_EQ(DefaultRecoveryFolder(), "/h/.local/state/ZorEdit/recovery");
    ::unsetenv("XDG_STATE_HOME");
    ::unsetenv("HOME");
    EXPECT_EQ(DefaultRecoveryFolder(), "");
    state ? ::setenv("XDG_STATE_HOME", savedState.c_str(), 1) : ::unsetenv("XDG_STATE_HOME");
    home ? ::setenv("HOME", savedHome.c_str(), 1) : ::unsetenv("HOME");
}

} // namespace
} // namespace zor
