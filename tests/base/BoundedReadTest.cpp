// The one reader of document files: what it refuses, and that it never waits or reads too much.
#include "base/BoundedRead.h"
#include "editor/rtf/DocumentFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class BoundedRead : public testing::Test
{
protected:
    void SetUp() override { fs::create_directories(Dir); }
    void TearDown() override { fs::remove_all(Dir); }

    std::string Write(const std::string &name, const std::string &bytes)
    {
        const auto path = (Dir / name).string();
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }

    fs::path Dir = fs::temp_directory_path() / ("zor-read-" + std::to_string(getpid()));
};

TEST_F(BoundedRead, ReadsARegularFileWholeUpToTheBound)
{
    std::string bytes(10000, 'x');
    bytes[0] = '\0';
    bytes[9999] = 'y';
    const auto path = Write("doc.zor", bytes);
    std::string data;
    EXPECT_TRUE(ReadFileBounded(path, 10000, &data).Ok());
    EXPECT_EQ(data, bytes);

    data = "stale";
    const TFileRead over = ReadFileBounded(path, 9999, &data);
    EXPECT_EQ(over.Status, TFileReadStatus::TooLarge);
    EXPECT_TRUE(data.empty());

    EXPECT_TRUE(ReadFileBounded(Write("empty.zor", ""), 0, &data).Ok());
    EXPECT_TRUE(data.empty());
}

TEST_F(BoundedRead, RefusesWhatIsNotARegularFileWithoutWaiting)
{
    std::string data = "stale";
    TFileRead r = ReadFileBounded(Dir.string(), 1000, &data);
    EXPECT_EQ(r.Status, TFileReadStatus::NotRegular);
    EXPECT_EQ(r.Reason(), "Is a directory");
    EXPECT_TRUE(data.empty());

    r = ReadFileBounded("/dev/zero", 1000, &data);
    EXPECT_EQ(r.Status, TFileReadStatus::NotRegular);
    EXPECT_EQ(r.Reason(), "Not a regular file");

    // A FIFO without a writer would block an ordinary open forever.
    const auto fifo = (Dir / "fifo").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_EQ(ReadFileBounded(fifo, 1000, &data).Status, TFileReadStatus::NotRegular);

    r = ReadFileBounded((Dir / "missing").string(), 1000, &data);
    EXPECT_EQ(r.Status, TFileReadStatus::CannotOpen);
    EXPECT_EQ(r.Reason(), "No such file or directory");
}

TEST_F(BoundedRead, FilesThatReportNoSizeAreStillHeldToTheBound)
{
    // The kernel's own files say they are empty and are not.
    std::string data;
    ASSERT_TRUE(ReadFileBounded("/proc/self/status", 1 << 20, &data).Ok());
    EXPECT_NE(data.find("Pid:"), std::string::npos);
    EXPECT_EQ(ReadFileBounded("/proc/self/status", 10, &data).Status, TFileReadStatus::TooLarge);
    EXPECT_TRUE(data.empty());
}

TEST_F(BoundedRead, ADocumentTooLargeIsRefusedBeforeAnythingIsRead)
{
    // Sparse: the size is there, the bytes are not, so a reader that reads first would be slow.
    const auto path = (Dir / "huge.zor").string();
    {
        std::ofstream(path, std::ios::binary);
    }
    fs::resize_file(path, rtf::MaxInputBytes + 1);
    const rtf::DocumentFile file = rtf::ReadDocumentFile(path);
    EXPECT_EQ(file.File.Status, TFileReadStatus::TooLarge);
    EXPECT_TRUE(file.Doc.Runs.empty());
}

TEST_F(BoundedRead, DocumentFilesAreRtfElsePlainText)
{
    doc::Document doc;
    doc.Append(doc::DefaultFormat(), U"Hello");
    const rtf::DocumentFile rich = rtf::ReadDocumentFile(Write("a.zor", rtf::Write(doc)));
    ASSERT_TRUE(rich.Ok());
    EXPECT_EQ(rich.Doc.Text(), U"Hello");

    EXPECT_EQ(rtf::ReadDocumentFile(Write("b.zor", "plain\r\ntext")).Doc.Text(), U"plain\ntext");
    // RTF nested deeper than the reader follows is refused whole: its source is no text to show
    // or to send.
    const std::string deep = "{\\rtf1" + std::string(rtf::MaxGroupDepth + 5, '{') + "x";
    const rtf::DocumentFile refused = rtf::ReadDocumentFile(Write("c.zor", deep));
    EXPECT_FALSE(refused.Ok());
    EXPECT_TRUE(refused.File.Ok());
    EXPECT_EQ(refused.Reason(), "The RTF groups are nested more than 1000 levels deep.");
    EXPECT_TRUE(refused.Doc.Runs.empty());
}

} // namespace
} // namespace zor
