#include "base/AtomicFile.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class AtomicFileFailure : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Dir = fs::temp_directory_path() /
              ("zor-atomic-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(Dir);
        fs::create_directories(Dir);
    }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Path(const char *name) const { return (Dir / name).string(); }

    std::vector<std::string> Entries() const
    {
        std::vector<std::string> names;
        for (const auto &e : fs::directory_iterator(Dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    static std::string Contents(const std::string &path)
    {
        std::string data;
        EXPECT_TRUE(ReadWholeFile(path, &data));
        return data;
    }

    fs::path Dir;
};

// Holds the process to a file-size limit: a write past it fails (EFBIG) as on a full disk.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t bytes)
    {
        OldHandler = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &Old);
        rlimit limit = Old;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &Old);
        std::signal(SIGXFSZ, OldHandler);
    }

private:
    rlimit Old{};
    void (*OldHandler)(int);
};

TEST_F(AtomicFileFailure, NewFileGetsTheModeTheUmaskAllows)
{
    const mode_t old = umask(027);
    const std::string path = Path("new.zor");
    EXPECT_TRUE(WriteFileAtomically(path, "x"));
    umask(old);
    struct stat st
    {
    };
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST_F(AtomicFileFailure, FailedWriteLeavesTheOldFileAndNoTemporaryFile)
{
    const std::string path = Path("doc.zor");
    ASSERT_TRUE(WriteFileAtomically(path, "the old document"));

    std::string error;
    bool written;
    {
        TFileSizeLimit limit(1024);
        written = WriteFileAtomically(path, std::string(64 * 1024, 'x'), &error);
    }
    EXPECT_FALSE(written);
    EXPECT_NE(error.find("Cannot write " + path), std::string::npos) << error;
    EXPECT_EQ(Contents(path), "the old document");
    EXPECT_EQ(Entries(), std::vector<std::string>{"doc.zor"});
}

TEST_F(AtomicFileFailure, FailedReplaceLeavesTheTargetAndNoTemporaryFile)
{
    // A folder where the file should go cannot be replaced by a file.
    const std::string path = Path("taken");
    fs::create_directory(path);
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(path, "data", &error));
    EXPECT_NE(error.find("Cannot replace " + path), std::string::npos) << error;
    EXPECT_TRUE(fs::is_directory(path));
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
}

TEST_F(AtomicFileFailure, MissingFolderIsReportedWithoutCreatingAnything)
{
    std::string error;
    EXPECT_FALSE(WriteFileAtomically(Path("no/such/folder.zor"), "data", &error));
    EXPECT_NE(error.find("Cannot create a file in"), std::string::npos) << error;
    EXPECT_TRUE(Entries().empty());
}

} // namespace
} // namespace zor
