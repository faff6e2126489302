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
