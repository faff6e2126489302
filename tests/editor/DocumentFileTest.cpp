// The editor's reading and writing of document files: what the operator is told when a file
// cannot be opened or saved, and that such a file never becomes an empty document.
#include "editor/DocumentIO.h"
#include "editor/rtf/RtfCodec.h"
#include "tests/base/FileTestSupport.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class EditorFiles : public testing::Test
{
protected:
    void SetUp() override { fs::create_directories(Dir); }
    void TearDown() override { fs::remove_all(Dir); }

    QString Path(const char *name) const { return QString::fromStdString((Dir / name).string()); }

    fs::path Dir = fs::temp_directory_path() / ("zor-editor-files-" + std::to_string(getpid()));
};

TEST_F(EditorFiles, WhatIsNotADocumentFileOpensNothing)
{
    QTextDocument text;
    text.setPlainText("before");
    QString error;
    EXPECT_FALSE(LoadDocumentFile(Path(""), text, &error));
    EXPECT_EQ(error, "Cannot open file " + Path("") + ". Is a directory");
    EXPECT_TRUE(text.isEmpty());

    ASSERT_EQ(mkfifo((Dir / "fifo").c_str(), 0600), 0);
    EXPECT_FALSE(LoadDocumentFile(Path("fifo"), text, &error));
    EXPECT_EQ(error, "Cannot open file " + Path("fifo") + ". Not a regular file");

    EXPECT_FALSE(LoadDocumentFile(Path("missing.zor"), text, &error));
    EXPECT_EQ(error, "Cannot open file " + Path("missing.zor") + ". No such file or directory");

    {
        std::ofstream((Dir / "huge.zor").string());
    }
    fs::resize_file(Dir / "huge.zor", rtf::MaxInputBytes + 1);
    EXPECT_FALSE(LoadDocumentFile(Path("huge.zor"), text, &error));
    EXPECT_EQ(error, "Cannot read file " + Path("huge.zor") + ". It is too large for a document.");
}

TEST_F(EditorFiles, AFailedSaveSaysWhyInTheSystemsWords)
{
    QTextDocument text;
    text.setPlainText("Hello");
    QString error;
    const QString missing = Path("no-folder/doc.zor");
    EXPECT_FALSE(SaveDocumentFile(missing, text, &error));
    EXPECT_EQ(error, "Cannot create file " + missing + ". No such file or directory");

    // A full disk, on a small file system of the child's own.
    text.setPlainText(QString(40000, QChar('x')));
    const QString doc = Path("doc.zor");
    const int result = test::InChild(
        [&] { return test::MountTinyFileSystem(Dir.string()); },
        [&] {
            QString why;
            if (SaveDocumentFile(doc, text, &why))
                return 1;
            return why == "Cannot write file " + doc + ". No space left on device" ? 0 : 2;
        });
    if (result == test::CannotArrange)
        GTEST_SKIP() << "no private mount namespace for a small file system here";
    EXPECT_EQ(result, 0);
}

TEST_F(EditorFiles, SavingIntoAFifoNobodyReadsIsRefusedWithTheReason)
{
    QTextDocument text;
    text.setPlainText("Hello");
    ASSERT_EQ(mkfifo((Dir / "fifo").c_str(), 0600), 0);
    QString error;
    EXPECT_FALSE(SaveDocumentFile(Path("fifo"), text, &error));
    EXPECT_EQ(error, "Cannot create file " + Path("fifo") + ". Nothing is reading from this FIFO");
    EXPECT_TRUE(fs::is_fifo(Dir / "fifo"));
}

TEST(DocumentFromText, ReadsEveryFragmentsFormatAndCharactersBeyondSixteenBits)
{
    QTextDocument text;
    QTextCursor c(&text);
    QTextCharFormat red, bold;
    red.setForeground(QColor(255, 0, 0));
    bold.setFontWeight(QFont::Bold);
    // Formats that come back after others, a second block, a character of two UTF-16 units,
    // a lone half of one, a soft line break.
    c.insertText("a", red);
    c.insertText("b", bold);
    c.insertText("c", red);
    c.insertBlock(QTextBlockFormat(), bold);
    c.insertText(QString::fromUcs4(U"\U0001F600x") + QChar(0xD800) + QChar(0x2028), red);
    const doc::Document d = DocumentFromText(text);
    ASSERT_EQ(d.Runs.size(), 5u);
    EXPECT_EQ(d.Runs[0].Text, U"a");
    EXPECT_EQ(d.Runs[0].Format->Colour, 0x0000FFu);
    EXPECT_EQ(d.Runs[1].Text, U"b");
    EXPECT_TRUE(d.Runs[1].Format->Bold);
    EXPECT_EQ(d.Runs[2].Text, U"c");
    EXPECT_EQ(d.Runs[2].Format, d.Runs[0].Format);
    EXPECT_EQ(d.Runs[3].Text, U"\n");
    EXPECT_TRUE(d.Runs[3].Format->Bold);
    EXPECT_EQ(d.Runs[4].Text, U"\U0001F600x\uFFFD\n");
    EXPECT_EQ(d.Runs[4].Format, d.Runs[0].Format);
}

} // namespace
} // namespace zor
