#include "comm/Settings.h"
#include "comm/Results.h"

#include "base/AtomicFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {
namespace {

class SettingsWrite : public testing::Test
{
protected:
    SettingsWrite()
    {
        Dir =
            std::filesystem::temp_directory_path() / ("zor-settings-" + std::to_string(::getpid()));
        std::filesystem::create_directories(Dir);
        Path = (Dir / "zoredit.INI").string();
    }
    ~SettingsWrite() override
    {
        std::error_code ec;
        std::filesystem::permissions(Path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(Dir, ec);
    }
    std::string Text()
    {
        std::string text;
        ReadWholeFile(Path, &text);
        return text;
    }

    std::filesystem::path Dir;
    std::string Path;
    TCommSettings Settings{4, 19200, true, "/var/log/zor.log"};
};

TEST_F(SettingsWrite, CreatesTheFileWithAllFourKeys)
{
    ASSERT_EQ(SaveCommSettings(Path, Settings), ResultOk);
    EXPECT_EQ(Text(), "[PC]\nPort=4\nFile=1\nBaud=19200\nPath=/var/log/zor.log\n");
    TProfileFile profile;
    ASSERT_TRUE(profile.Load(Path));
    const TCommSettings back = LoadCommSettings(profile, "/x");
    EXPECT_EQ(back.Port, 4);
    EXPECT_EQ(back.Baud, 19200);
    EXPECT_TRUE(back.LogToFile);
    EXPECT_EQ(back.LogPath, "/var/log/zor.log");
}

TEST_F(SettingsWrite, KeepsOtherSectionsAndComments)
{
    {
        std::ofstream out(Path, std::ios::binary);
        out << "; site settings\n[Ports]\nCOM4=/dev/ttyUSB0\n[PC]\nBaud=4800\nExtra=keep\n";
    }
    ASSERT_EQ(SaveCommSettings(Path, Settings), ResultOk);
    EXPECT_EQ(Text(), "; site settings\n[Ports]\nCOM4=/dev/ttyUSB0\n[PC]\nBaud=19200\n"
                      "Extra=keep\nPort=4\nFile=1\nPath=/var/log/zor.log\n");
}

#ifndef _WIN32
// Symbolic links as POSIX has them (Wine makes none).
TEST_F(SettingsWrite, ASettingsFileKeptElsewhereThroughALinkStaysLinked)
{
    std::filesystem::create_directories(Dir / "dotfiles");
    std::ofstream(Dir / "dotfiles" / "zoredit.INI", std::ios::binary) << "[Editor]\nPreview=0\n";
    std::filesystem::create_symlink("dotfiles/zoredit.INI", Path);
    ASSERT_EQ(SaveCommSettings(Path, Settings), ResultOk);
    EXPECT_TRUE(std::filesystem::is_symlink(Path));
    EXPECT_EQ(Text(), "[Editor]\nPreview=0\n\n[PC]\nPort=4\nFile=1\nBaud=19200\n"
                      "Path=/var/log/zor.log\n");
}
#endif

TEST_F(SettingsWrite, ReadOnlyFileIsAFailureAndStaysAsItWas)
{
    {
        std::ofstream out(Path, std::ios::binary);
        out << "[PC]\nPort=1\n";
    }
    std::filesystem::permissions(Path, std::filesystem::perms::owner_read |
                                           std::filesystem::perms::group_read);
    std::string reason;
    EXPECT_EQ(SaveCommSettings(Path, Settings, &reason), ResultSettingsFileError);
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(Text(), "[PC]\nPort=1\n");
}

TEST_F(SettingsWrite, FileLargerThanTheLimitIsNeitherReadNorReplaced)
{
    // A settings file of empty lines just past the limit; one byte less is still read.
    const std::string huge(TProfileFile::MaxFileBytes + 1, '\n');
    ASSERT_TRUE(WriteFileAtomically(Path, huge));
    TProfileFile profile;
    std::string reason;
    EXPECT_FALSE(profile.Load(Path, &reason));
    EXPECT_NE(reason.find("is larger than 64 KB"), std::string::npos) << reason;
    EXPECT_EQ(profile.Text(), "");
    EXPECT_EQ(LoadCommSettings(profile, "/start").Port, 3);

    EXPECT_EQ(SaveCommSettings(Path, Settings, &reason), ResultSettingsFileError);
    EXPECT_EQ(Text(), huge) << "the file is left as it was";

    ASSERT_TRUE(WriteFileAtomically(Path, "[PC]\nPort=2\n" +
                                              std::string(TProfileFile::MaxFileBytes - 13, ' ')));
    EXPECT_TRUE(profile.Load(Path, &reason));
    EXPECT_EQ(profile.ReadInteger("PC", "Port", 0), 2);
    EXPECT_EQ(SaveCommSettings(Path, Settings, &reason), ResultOk) << reason;
}

TEST(ProfileFileLoad, MissingFileIsNoRefusal)
{
    TProfileFile profile;
    std::string reason = "x";
    EXPECT_FALSE(profile.Load("/nonexistent/zoredit.INI", &reason));
    EXPECT_TRUE(reason.empty());
    const TFileRead read = profile.Read("/nonexistent/zoredit.INI");
    EXPECT_EQ(TProfileFile::Problem("/nonexistent/zoredit.INI", read),
              "cannot read /nonexistent/zoredit.INI: No such file or directory");
}

#ifndef _WIN32
// FIFOs and /dev/zero are POSIX; Windows' devices are tested with the Win32 file helpers.
TEST_F(SettingsWrite, WhatIsNoSettingsFileIsRefusedWithoutWaitingAndNeverReplaced)
{
    // A FIFO without a writer would hold the reader for ever; a device would be read for ever.
    const std::string fifo = (Dir / "fifo.INI").string();
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string &path : {Dir.string(), std::string("/dev/zero"), fifo}) {
        TProfileFile profile;
        std::string reason;
        EXPECT_FALSE(profile.Load(path, &reason)) << path;
        EXPECT_TRUE(reason.starts_with("cannot read " + path + ": ")) << reason;
        EXPECT_EQ(SaveCommSettings(path, Settings, &reason), ResultSettingsFileError) << path;
    }
    EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}
#endif

TEST(CommSettings, ABaudRateThePanelDoesNotWorkAtIsNamedAsWritten)
{
    const auto problem = [](const std::string &value) {
        return BaudRateProblem(TProfileFile("[PC]\nBaud=" + value + "\n"), "/etc/z.INI");
    };
    for (const std::string value : {"0", "-9600", "4294967296", "115200", "0x10"})
        EXPECT_EQ(problem(value), "Baud=" + value +
                                      " in section [PC] of /etc/z.INI: the panel "
                                      "works at 4800, 9600 or 19200 baud");
    for (const std::string value : {"4800", "9600", "19200", "0x2580", "fast"})
        EXPECT_EQ(problem(value), "") << value;
    EXPECT_EQ(BaudRateProblem(TProfileFile("[PC]\nPort=1\n"), "/etc/z.INI"), "");
}

TEST(PortDevices, OverridesFromThePortsSection)
{
    const TPortDevices defaults = LoadPortDevices(TProfileFile(""));
    const TPortDevices set = LoadPortDevices(TProfileFile("[ports]\ncom4 = /dev/ttyUSB0\n"));
    EXPECT_EQ(set.ForPort(2), defaults.ForPort(2)) << "a number the file does not name";
    for (int port : {4, 7, 0, -1})
        EXPECT_EQ(set.ForPort(port), "/dev/ttyUSB0") << port;
}

} // namespace
} // namespace zor
