#include "comm/Panels.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <unistd.h>

namespace zor {
namespace {

TEST(PanelsSection, ValuesGiveDeviceAndOptionalRateAndReadBackAsWritten)
{
    const TProfileFile profile("[PC]\nBaud=9600\n"
                               "[Panels]\n"
                               "; the hall's device server\n"
                               "Hall1=rfc2217://127.0.0.21:4001\n"
                               "Gate = /dev/serial/by-id/usb-FTDI_A,B-if00 , 19200\n"
                               "Odd=/dev/ttyS0,fast\n"
                               "Empty=\n"
                               "hall1=/dev/ttyS9\n");
    const std::vector<TNamedPanel> panels = LoadPanels(profile);
    const std::vector<TNamedPanel> expected = {
        {"Hall1", "rfc2217://127.0.0.21:4001", 0},
        {"Gate", "/dev/serial/by-id/usb-FTDI_A,B-if00", 19200},
        {"Odd", "/dev/ttyS0,fast", 0},
    };
    EXPECT_EQ(panels, expected);
    for (const TNamedPanel &panel : panels)
        EXPECT_EQ(ParsePanel(panel.Name, PanelValue(panel)), panel) << panel.Name;
    ASSERT_NE(FindPanel(panels, "GATE"), nullptr);
    EXPECT_EQ(FindPanel(panels, "GATE")->Name, "Gate");
    EXPECT_EQ(FindPanel(panels, "Roof"), nullptr);
}

TEST(PanelsSection, StoringReplacesTheSectionAndKeepsTheRestOfTheFile)
{
    TProfileFile profile("; written by hand\n"
                         "[Panels]\n"
                         "Hall1=/dev/ttyS0\n"
                         "; keep this note\n"
                         "Gate=/dev/ttyS1\n"
                         "\n"
                         "[PC]\n"
                         "Baud=19200\n");
    StorePanels(profile, {{"Gate", "socket://127.0.0.1:4000", 4800}, {"Roof", "/dev/ttyUSB0", 0}});
    EXPECT_EQ(profile.Text(), "; written by hand\n"
                              "[Panels]\n"
                              "; keep this note\n"
                              "Gate=socket://127.0.0.1:4000,4800\n"
                              "Roof=/dev/ttyUSB0\n"
                              "\n"
                              "[PC]\n"
                              "Baud=19200\n");
    StorePanels(profile, {});
    EXPECT_TRUE(LoadPanels(profile).empty());
    EXPECT_EQ(profile.ReadInteger("PC", "Baud", 0), 19200);
}

TEST(PanelsSection, NamesThatWouldBreakTheFileOrTheListsAreRefused)
{
    EXPECT_EQ(PanelNameProblem("Hall 1"), "");
    for (const char *bad : {"", " Hall", "Hall ", "[Hall]", ";Hall", "A=B", "A,B", "A\tB", "A\nB"})
        EXPECT_NE(PanelNameProblem(bad), "") << bad;
}

#ifndef _WIN32
// POSIX device names and links.
TEST(PanelsDevices, OneDeviceHoweverItIsNamed)
{
    EXPECT_EQ(DeviceIdentity("rfc2217://Server:4001"), DeviceIdentity("socket://server:4001"));
    EXPECT_NE(DeviceIdentity("socket://server:4001"), DeviceIdentity("socket://server:4002"));
    EXPECT_EQ(DeviceIdentity("ttyS0"), DeviceIdentity("/dev/ttyS0"));

    const auto dir =
        std::filesystem::temp_directory_path() / ("panels-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    std::filesystem::create_symlink("/dev/ttyS0", dir / "by-id");
    EXPECT_EQ(DeviceIdentity((dir / "by-id").string()), DeviceIdentity("/dev/ttyS0"));
    std::filesystem::remove_all(dir);
}
#endif

TEST(PanelsLogs, EachPanelLogsBesideTheLogWithItsNameAdded)
{
    EXPECT_EQ(PanelLogPath("/var/log/zor.log", "Hall1"), "/var/log/zor-Hall1.log");
    EXPECT_EQ(PanelLogPath("/tmp/log", "Gate"), "/tmp/log-Gate");
    EXPECT_EQ(PanelLogPath("/tmp/zor.log", "../a/b"), "/tmp/zor-.._a_b.log");
    EXPECT_EQ(PanelLogPath("/tmp/.log", "Gate"), "/tmp/.log-Gate");
    EXPECT_EQ(PanelLogPath("/var.d/log", "Gate"), "/var.d/log-Gate");
    // Names beyond any code page stay as written (UTF-8), whatever the system.
    EXPECT_EQ(PanelLogPath("/tmp/\u0436\u0443\u0440\u043d\u0430\u043b.log", "\u0417\u0430\u043b"),
              "/tmp/\u0436\u0443\u0440\u043d\u0430\u043b-\u0417\u0430\u043b.log");
}

} // namespace
} // namespace zor
