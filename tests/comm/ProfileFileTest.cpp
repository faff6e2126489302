#include "comm/ProfileFile.h"
#include "comm/Settings.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace zor {
namespace {

TEST(ProfileFile, NamesCompareWithoutCaseAndValuesStayRaw)
{
    TProfileFile p("; settings\r\n[Pc]\r\n  PORT = 2 \r\npath=C:\\Program Files\\zor.log\r\n"
                   "Quoted=\"  spaced  \"\r\n[Other]\r\nPort=9\r\n");
    EXPECT_EQ(p.ReadInteger("pc", "port", 3), 2);
    EXPECT_EQ(p.ReadInteger("OTHER", "Port", 3), 9);
    EXPECT_EQ(p.ReadString("PC", "Path", ""), "C:\\Program Files\\zor.log");
    EXPECT_EQ(p.ReadString("PC", "Quoted", ""), "  spaced  ");
    EXPECT_EQ(p.ReadString("PC", "Missing", "default"), "default");
    EXPECT_EQ(p.ReadString("Nowhere", "Port", "x"), "x");
}

TEST(ProfileFile, IntegersAreReadLikeTheWindowsCall)
{
    struct Row
    {
        const char *Text;
        std::int32_t Expected;
    };
    for (Row r : {Row{"0x1F", 31}, Row{"0X1f", 31}, Row{"007", 7}, Row{"12abc", 12}, Row{"-4", -4},
                  Row{" 42 ", 42}, Row{"0x", 0}, Row{"word", 77}, Row{"", 77}, Row{"x12", 77}}) {
        TProfileFile p(std::string("[PC]\nPort=") + r.Text + "\n");
        EXPECT_EQ(p.ReadInteger("PC", "Port", 77), r.Expected) << '"' << r.Text << '"';
    }
    TProfileFile words("[PC]\nFile=yes\nPort=three\n");
    EXPECT_FALSE(words.ReadBool("PC", "File", false)) << "a word where a number belongs";
    EXPECT_TRUE(TProfileFile("[PC]\nFile=1\n").ReadBool("PC", "File", false));
    EXPECT_EQ(words.ReadInteger("PC", "Port", 3), 3);
}

TEST(ProfileFile, LongStringsAreCutAtTheReadLimit)
{
    TProfileFile p("[PC]\nPath=" + std::string(5000, 'a') + "\n");
    EXPECT_EQ(p.ReadString("PC", "Path", "").size(), TProfileFile::MaxStringLength);
}

TEST(ProfileFile, WritingAKeyKeepsEverythingElse)
{
    const std::string text = "; top comment\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[PC]\r\n"
                             "port=1\r\n; keep me\r\n\r\n[Last]\r\nA=1\r\n";
    TProfileFile p(text);
    p.WriteInteger("PC", "Port", 4);
    p.WriteString("pc", "Path", "/tmp/zor.log");
    p.WriteString("New", "Key", "v");
    EXPECT_EQ(p.Text(), "; top comment\r\n[Ports]\r\nCOM1=/dev/ttyUSB0\r\n\r\n[PC]\r\nport=4\r\n"
                        "; keep me\r\nPath=/tmp/zor.log\r\n\r\n[Last]\r\nA=1\r\n\r\n[New]\r\n"
                        "Key=v\r\n");
}

TEST(ProfileFile, FilesWithAByteOrderMarkKeepTheirFirstSectionAndTheirEncoding)
{
    // "UTF-8 with BOM": the mark must not hide the first section header.
    TProfileFile marked("\xEF\xBB\xBF[PC]\r\nPort=4\r\n");
    EXPECT_EQ(marked.ReadInteger("PC", "Port", 3), 4);
    marked.WriteInteger("PC", "Port", 5);
    EXPECT_EQ(marked.Bytes(), "\xEF\xBB\xBF[PC]\r\nPort=5\r\n");

    // "Unicode" (UTF-16, little-endian), with a name outside Latin-1 and one outside the BMP.
    const std::u16string wide = u"\uFEFF[Panels]\r\nZ\u00E1pad=/dev/ttyS0\r\n\u0158=\U0001F600\r\n";
    std::string le, be;
    for (char16_t c : wide) {
        le += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
        be += {static_cast<char>(c >> 8), static_cast<char>(c & 0xFF)};
    }
    for (const std::string &bytes : {le, be}) {
        TProfileFile p(bytes);
        EXPECT_EQ(p.ReadString("Panels", "Z\u00E1pad", ""), "/dev/ttyS0");
        EXPECT_EQ(p.ReadString("Panels", "\u0158", ""), "\U0001F600");
        EXPECT_EQ(p.Bytes(), bytes) << "written back as it came";
    }
    TProfileFile p(le);
    p.WriteString("PC", "Path", "C:\\\u017Eor.log");
    const std::u16string added = u"\r\n[PC]\r\nPath=C:\\\u017Eor.log\r\n";
    std::string tail;
    for (char16_t c : added)
        tail += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
    EXPECT_EQ(p.Bytes(), le + tail);

    // A damaged UTF-16 file still reads up to and past the damage.
    const TProfileFile odd(std::string("\xFF\xFE[\0P\0C\0]\0\n\0\0\xD8P\0=\0"
                                       "1\0\n\0x",
                                       23));
    EXPECT_EQ(odd.ReadInteger("PC", "\uFFFDP", 0), 1);
}

TEST(CommSettings, DefaultsWithoutAFileAndTheFourKeysRoundTrip)
{
    TProfileFile none;
    EXPECT_FALSE(none.Load("/nonexistent/zoredit.INI"));
    // The log lies in the folder the program started in, spelt as the system spells paths.
#ifdef _WIN32
    const char *start = "C:\\work\\dir", *log = "C:\\work\\dir\\zor.log";
#else
    const char *start = "/work/dir", *log = "/work/dir/zor.log";
#endif
    TCommSettings s = LoadCommSettings(none, start);
    EXPECT_EQ(s.Port, 3);
    EXPECT_EQ(s.Baud, 9600);
    EXPECT_FALSE(s.LogToFile);
    EXPECT_EQ(s.LogPath, log);

    s = {4, 19200, true, "D:\\zor\\transfer.log"};
    TProfileFile p;
    StoreCommSettings(p, s);
    EXPECT_EQ(p.Text(), "[PC]\nPort=4\nFile=1\nBaud=19200\nPath=D:\\zor\\transfer.log\n");
    TCommSettings back = LoadCommSettings(TProfileFile(p.Text()), "/elsewhere");
    EXPECT_EQ(back.Port, 4);
    EXPECT_EQ(back.Baud, 19200);
    EXPECT_TRUE(back.LogToFile);
    EXPECT_EQ(back.LogPath, s.LogPath);
}

TEST(CommSettings, SettingsFileReplacesTheExecutablesExtension)
{
    EXPECT_EQ(SettingsFileFor("/opt/zor/bin/zoredit"), "/opt/zor/bin/zoredit.INI");
    EXPECT_EQ(SettingsFileFor("/opt/zor/bin/zoredit.exe"), "/opt/zor/bin/zoredit.INI");
    EXPECT_EQ(SettingsFileFor("/opt/zor.d/zoredit"), "/opt/zor.d/zoredit.INI");
    EXPECT_EQ(SettingsFileFor("/opt/.hidden"), "/opt/.hidden.INI");
}

// Where POSIX keeps a user's settings; the Windows rules are tested with the Win32 file helpers.
#ifndef _WIN32
// Sets an environment variable for one scope and puts the old value back.
class TScopedEnv
{
public:
    TScopedEnv(const char *name, const char *value) : Name(name)
    {
        if (const char *old = std::getenv(name))
            Old = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~TScopedEnv() { Old ? ::setenv(Name, Old->c_str(), 1) : ::unsetenv(Name); }

private:
    const char *Name;
    std::optional<std::string> Old;
};

TEST(CommSettings, AnInstalledEditorKeepsItsSettingsPerUserAndZorReadsTheSame)
{
    const std::string own = ::testing::TempDir();
    TScopedEnv config("XDG_CONFIG_HOME", "/home/op/conf");
    TScopedEnv home("HOME", "/home/op");
    // A copy in a folder of its own, such as a build tree, keeps its file beside it.
    EXPECT_EQ(EditorSettingsFile(own + "/zoredit"), SettingsFileFor(own + "/zoredit"));
    // Under /usr even root must not write beside the program; nor where nobody may.
    EXPECT_EQ(EditorSettingsFile("/usr/bin/zoredit"), "/home/op/conf/ZorEdit/zoredit.INI");
    EXPECT_EQ(EditorSettingsFile("/usr/local/bin/zoredit"), "/home/op/conf/ZorEdit/zoredit.INI");
    EXPECT_EQ(EditorSettingsFile("/no/such/folder/zoredit"), "/home/op/conf/ZorEdit/zoredit.INI");
    {
        TScopedEnv relative("XDG_CONFIG_HOME", "conf");
        EXPECT_EQ(EditorSettingsFile("/usr/bin/zoredit"), "/home/op/.config/ZorEdit/zoredit.INI");
    }
    TScopedEnv noConfig("XDG_CONFIG_HOME", nullptr);
    TScopedEnv noHome("HOME", nullptr);
    EXPECT_EQ(EditorSettingsFile("/usr/bin/zoredit"), "/usr/bin/zoredit.INI");
}

#endif

} // namespace
} // namespace zor
