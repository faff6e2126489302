// Writing to a name that is not a plain file: a link is followed to its target and kept, a
// device, FIFO or socket is written into (or refused) and never replaced by a file.
#include "base/AtomicFile.h"
#include "tests/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <thread>
#include <vector>

namespace zor {
namespace {

namespace fs = std::filesystem;

class AtomicFileTarget : public testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("zor-target-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string P(const std::string &name) const { return (Dir / name).string(); }

    // Every name under the folder, links and hidden files included: a temporary file left behind
    // or a link turned into a file shows here.
    std::vector<std::string> Tree() const
    {
        std::vector<std::string> names;
        List(Dir, &names);
        std::sort(names.begin(), names.end());
        return names;
    }

    // Links are listed, never followed (a loop of them included).
    void List(const fs::path &folder, std::vector<std::string> *names) const
    {
        for (const auto &e : fs::directory_iterator(folder)) {
            const auto status = e.symlink_status();
            names->push_back(e.path().lexically_relative(Dir).string() +
                             (fs::is_symlink(status) ? "@" : ""));
            if (fs::is_directory(status))
                List(e.path(), names);
        }
    }

    static std::string Contents(const std::string &path)
    {
        std::string text;
        ReadWholeFile(path, &text);
        return text;
    }

    // The node at path is still the character device major:minor.
    static bool IsCharDevice(const std::string &path, unsigned major, unsigned minor)
    {
        struct stat st
        {
        };
        return lstat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode) &&
               ::major(st.st_rdev) == major && ::minor(st.st_rdev) == minor;
    }

    fs::path Dir;
};

TEST_F(AtomicFileTarget, ALinkIsFollowedToItsTargetWhichIsReplacedAndTheLinkKept)
{
    fs::create_directories(Dir / "a");
    fs::create_directories(Dir / "b" / "deep");
    std::ofstream(P("b/doc.zor")) << "old";
    fs::permissions(P("b/doc.zor"),
                    fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    fs::create_symlink("doc.zor", P("b/relative"));
    fs::create_symlink(P("b/doc.zor"), P("absolute"));
    // A chain: a relative link to an absolute one.
    fs::create_symlink("../absolute", P("a/chain"));
    // ".." after a linked folder is the parent of where the link leads (b), not of the link (Dir).
    fs::create_symlink("b/deep", P("linked"));
    fs::create_symlink("../doc.zor", P("b/deep/up"));
    const auto before = Tree();

    for (const char *name : {"b/relative", "absolute", "a/chain", "linked/up"}) {
        SCOPED_TRACE(name);
        std::string error;
        ASSERT_TRUE(WriteFileAtomically(P(name), std::string("via ") + name, &error)) << error;
        EXPECT_EQ(Contents(P("b/doc.zor")), std::string("via ") + name);
        EXPECT_EQ(Tree(), before);
    }
    EXPECT_EQ(fs::status(P("b/doc.zor")).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(fs::read_symlink(P("a/chain")), "../absolute");
    EXPECT_EQ(fs::read_symlink(P("b/relative")), "doc.zor");
}

TEST_F(AtomicFileTarget, ADanglingLinkCreatesItsTargetOrSaysWhyNot)
{
    fs::create_directories(Dir / "there");
    fs::create_symlink("there/made.zor", P("link"));
    ASSERT_TRUE(WriteFileAtomically(P("link"), "new"));
    EXPECT_TRUE(fs::is_symlink(P("link")));
    EXPECT_EQ(Contents(P("there/made.zor")), "new");

    fs::create_symlink("nowhere/lost.zor", P("astray"));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(P("astray"), "data", &error));
    EXPECT_EQ(error, "Cannot create a file in " + P("nowhere/") + ": No such file or directory");
    EXPECT_TRUE(fs::is_symlink(P("astray")));
    EXPECT_FALSE(fs::exists(P("nowhere")));
}

TEST_F(AtomicFileTarget, ALoopOfLinksIsRefusedAndLeftAsItWas)
{
    fs::create_symlink("b", P("a"));
    fs::create_symlink("a", P("b"));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(P("a"), "data", &error));
    EXPECT_EQ(error, "Cannot replace " + P("a") + ": Too many levels of symbolic links");
    EXPECT_EQ(Tree(), (std::vector<std::string>{"a@", "b@"}));
}

TEST_F(AtomicFileTarget, ADeviceIsWrittenIntoAndNeverReplaced)
{
    if (mknod(P("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0 ||
        mknod(P("full").c_str(), S_IFCHR | 0666, makedev(1, 7)) != 0)
        GTEST_SKIP() << "this machine does not let the tests make device nodes: "
                     << std::strerror(errno);
    fs::create_symlink("null", P("link"));

    std::string error;
    EXPECT_TRUE(WriteFileAtomically(P("null"), "data", &error)) << error;
    EXPECT_TRUE(WriteFileAtomically(P("link"), "data", &error)) << error;
    {
        TAtomicFileWriter pieces(P("null"));
        EXPECT_TRUE(pieces.WritesInPlace());
        EXPECT_TRUE(pieces.Write("one") && pieces.Write("two") && pieces.Commit());
    }
    TWriteFailure failure;
    EXPECT_FALSE(WriteFileAtomically(P("full"), "data", &failure));
    EXPECT_TRUE(failure.Created);
    EXPECT_EQ(failure.Errno, ENOSPC);
    EXPECT_EQ(failure.Message, "Cannot write " + P("full") + ": No space left on device");

    EXPECT_TRUE(IsCharDevice(P("null"), 1, 3));
    EXPECT_TRUE(IsCharDevice(P("full"), 1, 7));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"full", "link@", "null"}));
}

TEST_F(AtomicFileTarget, TheSystemsNullAndFullDevicesStayDevices)
{
    // A writer that renames over what is not a file would replace the machine's own devices: it
    // is caught first on a FIFO of the test's own, and the real devices are then left alone.
    ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
    const int reader = open(P("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    WriteFileAtomically(P("fifo"), "data");
    close(reader);
    ASSERT_TRUE(fs::is_fifo(P("fifo"))) << "the writer replaced a FIFO; /dev is not tried";

    EXPECT_TRUE(WriteFileAtomically("/dev/null", "data"));
    std::string error;
    EXPECT_FALSE(WriteFileAtomically("/dev/full", "data", &error));
    EXPECT_EQ(error, "Cannot write /dev/full: No space left on device");
    EXPECT_TRUE(IsCharDevice("/dev/null", 1, 3));
    EXPECT_TRUE(IsCharDevice("/dev/full", 1, 7));
}

TEST_F(AtomicFileTarget, AFifoWithAReaderGetsEveryPieceAsItIsWritten)
{
    ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
    fs::create_symlink("fifo", P("link"));
    // Open for reading first, so that the writer finds a reader however the threads run.
    const int reader = open(P("fifo").c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    TAtomicFileWriter file(P("link"));
    ASSERT_TRUE(file.IsOpen()) << file.Error();
    EXPECT_TRUE(file.WritesInPlace());
    fcntl(reader, F_SETFL, fcntl(reader, F_GETFL) & ~O_NONBLOCK);
    std::string received;
    std::thread drain([&] {
        char buffer[4096];
        for (ssize_t n; (n = read(reader, buffer, sizeof buffer)) > 0;)
            received.append(buffer, static_cast<std::size_t>(n));
    });
    // More than a pipe holds, so that the writer has to wait for the reader.
    const std::string piece(200 * 1024, 'x');
    EXPECT_TRUE(file.Write(piece));
    EXPECT_TRUE(file.Write("end"));
    EXPECT_TRUE(file.Commit()) << file.Error();
    drain.join();
    close(reader);
    EXPECT_EQ(received, piece + "end");
    EXPECT_TRUE(fs::is_fifo(P("fifo")));
    EXPECT_EQ(Tree(), (std::vector<std::string>{"fifo", "link@"}));
}

TEST_F(AtomicFileTarget, AFifoNobodyReadsIsRefusedAtOnceWithTheReason)
{
    ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
    const std::string path = P("fifo");
    // Run apart, so that a writer that waits for a reader fails the test instead of hanging it.
    const int result = test::InChild([] { return alarm(10) == 0 ? 0 : 1; },
                                     [&] {
                                         TWriteFailure failure;
                                         if (WriteFileAtomically(path, "data", &failure))
                                             return 1;
                                         return failure.Message == "Cannot write " + path +
                                                                       ": Nothing is reading from "
                                                                       "this FIFO" &&
                                                        !failure.Created
                                                    ? 0
                                                    : 2;
                                     });
    EXPECT_EQ(result, 0) << "-1: the writer waited for a reader";
    EXPECT_TRUE(fs::is_fifo(path));
}

TEST_F(AtomicFileTarget, AReaderThatGoesAwayIsAFailureNotTheEndOfTheProgram)
{
    ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
    const std::string path = P("fifo");
    // In a child with SIGPIPE as a program has it by default: ending the program.
    const int result = test::InChild([] { return std::signal(SIGPIPE, SIG_DFL) == SIG_ERR; },
                                     [&] {
                                         const int reader =
                                             open(path.c_str(), O_RDONLY | O_NONBLOCK);
                                         TAtomicFileWriter file(path);
                                         if (reader < 0 || !file.IsOpen())
                                             return 3;
                                         close(reader);
                                         if (file.Write("data"))
                                             return 1;
                                         sigset_t pending;
                                         sigpending(&pending);
                                         return file.Failure().Errno == EPIPE &&
                                                        file.Error().ends_with(": Broken pipe") &&
                                                        !sigismember(&pending, SIGPIPE)
                                                    ? 0
                                                    : 2;
                                     });
    EXPECT_EQ(result, 0) << "-1: the program was ended by SIGPIPE";
}

TEST_F(AtomicFileTarget, ASocketIsRefusedAndKept)
{
    const int sock = socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(sock, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = P("sock");
    ASSERT_LT(path.size(), sizeof address.sun_path);
    std::copy(path.begin(), path.end(), address.sun_path);
    ASSERT_EQ(bind(sock, reinterpret_cast<sockaddr *>(&address), sizeof address), 0);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "data", &error));
    EXPECT_EQ(error, "Cannot write " + path + ": It is a socket, not a file");
    EXPECT_TRUE(fs::is_socket(path));
    close(sock);
}

TEST_F(AtomicFileTarget, TheProgramsOwnDescriptorsAreWrittenWhereTheyLead)
{
    // As a shell sets up "zor ... -o /dev/stdout | reader" and "-o /dev/stdout >> file"; the
    // links are the test's own, made as the system's /dev/stdout and /dev/fd are.
    const std::string log = P("log");
    fs::create_symlink("/proc/self/fd/1", P("stdout"));
    fs::create_symlink("/proc/self/fd", P("fd"));
    const int result = test::InChild(
        [] { return 0; },
        [&] {
            int pipeEnds[2];
            if (pipe(pipeEnds) != 0 || dup2(pipeEnds[1], 1) != 1)
                return 3;
            close(pipeEnds[1]);
            if (!WriteFileAtomically(P("stdout"), "piped"))
                return 1;
            char buffer[16] = {};
            if (read(pipeEnds[0], buffer, sizeof buffer) != 5 || std::string(buffer) != "piped")
                return 2;

            const int appended = open(log.c_str(), O_WRONLY | O_CREAT | O_APPEND, 0600);
            if (appended < 0 || write(appended, "head ", 5) != 5)
                return 3;
            struct stat before
            {
            };
            fstat(appended, &before);
            if (!WriteFileAtomically(P("fd/") + std::to_string(appended), "tail"))
                return 4;
            struct stat after
            {
            };
            stat(log.c_str(), &after);
            return Contents(log) == "head tail" && after.st_ino == before.st_ino ? 0 : 5;
        });
    EXPECT_EQ(result, 0);
}

TEST_F(AtomicFileTarget, ALogWrittenAsItGoesShowsEachPieceAtOnceThroughItsLink)
{
    fs::create_directories(Dir / "logs");
    std::ofstream(P("logs/zor.log")) << "the last transfer's log";
    fs::create_symlink("logs/zor.log", P("zor.log"));
    {
        TAtomicFileWriter log(P("zor.log"), TFileReplace::AsWritten);
        ASSERT_TRUE(log.IsOpen()) << log.Error();
        EXPECT_EQ(Contents(P("logs/zor.log")), "");
        ASSERT_TRUE(log.Write("Open Send\r\n"));
        EXPECT_EQ(Contents(P("logs/zor.log")), "Open Send\r\n");
        // Ended without Commit, as by a program that stops half way: what was written stays.
    }
    EXPECT_EQ(Contents(P("logs/zor.log")), "Open Send\r\n");
    EXPECT_EQ(Tree(), (std::vector<std::string>{"logs", "logs/zor.log", "zor.log@"}));

    ASSERT_EQ(mkfifo(P("fifo").c_str(), 0600), 0);
    TAtomicFileWriter fifo(P("fifo"), TFileReplace::AsWritten);
    EXPECT_FALSE(fifo.IsOpen());
    EXPECT_EQ(fifo.Error(), "Cannot write " + P("fifo") + ": Nothing is reading from this FIFO");
}

TEST_F(AtomicFileTarget, AReplacedFileKeepsItsOwner)
{
    if (geteuid() != 0)
        GTEST_SKIP() << "only an administrator can write a file someone else owns";
    const std::string path = P("theirs.zor");
    std::ofstream(path) << "old";
    ASSERT_EQ(chown(path.c_str(), 65534, 65534), 0);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    struct stat st
    {
    };
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 65534u);
    EXPECT_EQ(st.st_gid, 65534u);
    EXPECT_EQ(Contents(path), "new");
}

} // namespace
} // namespace zor
