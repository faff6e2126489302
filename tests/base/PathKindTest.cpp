// What the platform says is at a path: a log may replace a file, but only be written into a FIFO
// or a device, which must never be opened to look inside.
#include "base/Platform.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

TEST(PathKind, TellsFilesFromStreamsAndFolders)
{
    const fs::path dir = fs::temp_directory_path() / ("zor-kind-" + std::to_string(getpid()));
    fs::create_directories(dir);
    std::ofstream((dir / "transfer.log").string()) << "log";
    ASSERT_EQ(mkfifo((dir / "fifo.log").c_str(), 0600), 0);

    EXPECT_EQ(PathKindOf((dir / "transfer.log").string()), TPathKind::RegularFile);
    EXPECT_EQ(PathKindOf((dir / "fifo.log").string()), TPathKind::Stream);
    EXPECT_EQ(PathKindOf("/dev/null"), TPathKind::Stream);
    EXPECT_EQ(PathKindOf(dir.string()), TPathKind::Other);
    EXPECT_EQ(PathKindOf((dir / "none.log").string()), TPathKind::Missing);
    fs::remove_all(dir);
}

} // namespace
} // namespace zor
