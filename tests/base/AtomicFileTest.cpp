// Replacing a file: never over a file the user may not write, and a failure says why in the
// system's words and leaves the old file as it was.
#include "base/AtomicFile.h"
#include "tests/base/FileTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class AtomicFile : public testing::Test
{
protected:
    void SetUp() override
    {
        fs::create_directories(Dir);
        // Writable by the unprivileged user the checks may run as.
        fs::permissions(Dir, fs::perms::all);
    }
    void TearDown() override { fs::remove_all(Dir); }

    static std::string Contents(const fs::path &path)
    {
        std::string text;
        ReadWholeFile(path.string(), &text);
        return text;
    }

    fs::path Dir = fs::temp_directory_path() / ("zor-atomic-" + std::to_string(getpid()));
};

TEST_F(AtomicFile, ReplacesAFileAndKeepsItsPermissions)
{
    const auto path = (Dir / "doc.zor").string();
    std::ofstream(path) << "old";
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(WriteFileAtomically(path, "new"));
    EXPECT_EQ(Contents(path), "new");
    EXPECT_EQ(fs::status(path).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicFile, RefusesToReplaceAFileTheUserMayNotWrite)
{
    const fs::path path = Dir / "locked.zor";
    std::ofstream(path) << "keep";
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const int result = test::InChild(test::BecomeUnprivileged, [&] {
        std::string error;
        if (WriteFileAtomically(path.string(), "lost", &error))
            return 1;
        return error == "Cannot replace " + path.string() + ": Permission denied" ? 0 : 2;
    });
    ASSERT_NE(result, test::CannotArrange) << "cannot run as a user without rights";
    EXPECT_EQ(result, 0);
    EXPECT_EQ(Contents(path), "keep");
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 1);
}

TEST_F(AtomicFile, AFullDiskIsNamedAndLeavesTheOldFile)
{
    const fs::path path = Dir / "doc.zor";
    const int result = test::InChild(
        [&] { return test::MountTinyFileSystem(Dir.string()); },
        [&] {
            if (!WriteFileAtomically(path.string(), "old"))
                return 3;
            TWriteFailure failure;
            if (WriteFileAtomically(path.string(), std::string(1 << 20, 'x'), &failure))
                return 1;
            std::string text;
            ReadWholeFile(path.string(), &text);
            const auto files = std::distance(fs::directory_iterator(Dir), fs::directory_iterator());
            return failure.Errno == ENOSPC &&
                           failure.Message.ends_with(": No space left on device") &&
                           text == "old" && files == 1
                       ? 0
                       : 2;
        });
    if (result == test::CannotArrange)
        GTEST_SKIP() << "no private mount namespace for a small file system here";
    EXPECT_EQ(result, 0);
}

} // namespace
} // namespace zor
