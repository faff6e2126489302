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
                               "Empty=\n");
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

TEST(PanelsSection, EntriesThatCannotBeUsedAreKeptWithTheirProblem)
{
    const TProfileFile profile("[Panels]\n"
                               "Zero=/dev/pts/3,0\n"
                               "Minus=/dev/pts/4, -1\n"
                               "Glued=/dev/pts/5,19200abc\n"
                               "Wide=/dev/pts/6,4294967296\n"
                               "ById=/dev/serial/by-id/usb-X_A,2-if00-port0\n"
                               "Hall1=/dev/ttyS1\n"
                               "hall1=/dev/ttyS2\n"
                               "H\u00E4ll\u00E9=/dev/ttyS3\n"
                               "H\u00C4LL\u00C9=/dev/ttyS4\n"
                               "A\tB=/dev/ttyS5\n"
                               "A,B=/dev/ttyS6\n"
                               "[Roof=/dev/ttyS7\n");
    const std::vector<TNamedPanel> panels = LoadPanels(profile);
    ASSERT_EQ(panels.size(), 12u);
    for (int i : {0, 1, 2, 3}) {
        EXPECT_EQ(panels[i].Device, "/dev/pts/" + std::to_string(i + 3))
            << "not glued to the device";
        EXPECT_NE(panels[i].RateProblem.Text().find(panels[i].Name + "="), std::string::npos);
        EXPECT_NE(panels[i].RateProblem.Text().find("4800, 9600 or 19200"), std::string::npos);
    }
    EXPECT_EQ(panels[4].Device, "/dev/serial/by-id/usb-X_A,2-if00-port0");
    EXPECT_EQ(panels[4].Problem(), "");
    EXPECT_EQ(panels[5].Problem(), "");
    EXPECT_EQ(panels[6].Device, "/dev/ttyS2") << "kept, not dropped";
    EXPECT_EQ(panels[6].NameProblem, "the panels \"Hall1\" and \"hall1\" have one name (case "
                                     "does not tell names apart)");
    EXPECT_EQ(panels[7].Problem(), "");
    EXPECT_NE(panels[8].NameProblem, "");
    for (int i : {9, 10, 11})
        EXPECT_NE(panels[i].NameProblem, "") << panels[i].Name;
}

TEST(PanelsSection, NamesFoundWithoutRegardToCaseBeyondAscii)
{
    const std::vector<TNamedPanel> panels = {{"H\u00E4ll\u00E9", "/dev/ttyS0", 0},
                                             {"\u010Cesk\u00FD \u0158ez", "/dev/ttyS1", 0},
                                             {"\u0141\u00F3d\u017A \u0178", "/dev/ttyS2", 0}};
    for (const char *name :
         {"h\u00C4LL\u00C9", "\u010DESK\u00DD \u0159EZ", "\u0142\u00D3D\u0179 \u00FF"}) {
        const TNamedPanel *found = FindPanel(panels, name);
        ASSERT_NE(found, nullptr) << name;
        EXPECT_EQ(FindPanel(panels, found->Name), found);
    }
    EXPECT_EQ(FindPanel(panels, "HALLE"), nullptr) << "accents are letters of their own";
    EXPECT_EQ(FoldPanelName("\xFFHALL"), "\xFFhall") << "no UTF-8: ASCII folds still";
}

TEST(PanelsSection, RecasingANameBeyondAsciiReplacesItsLine)
{
    TProfileFile profile("[Panels]\nH\u00E4ll\u00E9=/dev/ttyS0\n");
    StorePanels(profile, {{"H\u00C4LL\u00C9", "/dev/ttyS0", 0}});
    EXPECT_EQ(profile.Text(), "[Panels]\nH\u00C4LL\u00C9=/dev/ttyS0\n");
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
