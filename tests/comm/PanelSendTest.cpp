// Which panels a command line names, and how each is reached. (What is refused is tested on zor
// itself, which must then send nothing.)
#include "comm/PanelSend.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

using TItem = TTargetChoice::TItem;

const std::vector<TNamedPanel> Plant = {
    {"Hall1", "rfc2217://127.0.0.21:4001", 0},
    {"Gate", "/dev/ttyUSB0", 19200},
    {"Roof", "socket://127.0.0.22:4001", 115200},
};

TTargetDefaults Defaults()
{
    TTargetDefaults d;
    d.Settings.Baud = 4800;
    d.Settings.LogToFile = true;
    d.Settings.LogPath = "/var/log/zor.log";
    d.BaudProblem = "Baud=4800 note";
    d.SettingsFile = "plant.INI";
    return d;
}

TEST(PanelTargets, KeepTheOrderGivenEachPanelsOwnRateAndALogEach)
{
    std::vector<TPanelTarget> targets;
    std::string problem;
    TTargetChoice choice;
    choice.Items = {{TItem::Panel, "roof"}, {TItem::Device, "/dev/ttyS1"}, {TItem::Panel, "Hall1"}};
    ASSERT_TRUE(ResolvePanelTargets(Plant, choice, Defaults(), &targets, &problem)) << problem;
    ASSERT_EQ(targets.size(), 3u);
    EXPECT_EQ(targets[0].Label(), "Roof");
    EXPECT_EQ(targets[0].Baud, 115200);
    EXPECT_EQ(targets[0].BaudProblem, "Roof=socket://127.0.0.22:4001,115200 in section [Panels] of "
                                      "plant.INI: the panel works at 4800, 9600 or 19200 baud");
    EXPECT_EQ(targets[0].Log.LogPath, "/var/log/zor-Roof.log");
    EXPECT_EQ(targets[1].Label(), "/dev/ttyS1");
    EXPECT_EQ(targets[1].Baud, 4800);
    EXPECT_EQ(targets[1].BaudProblem, "Baud=4800 note");
    EXPECT_EQ(targets[1].Log.LogPath, "/var/log/zor-_dev_ttyS1.log");
    EXPECT_EQ(targets[2].Label(), "Hall1");
    EXPECT_EQ(targets[2].Baud, 4800) << "no rate of its own: section [PC]'s";
    for (const TPanelTarget &t : targets)
        EXPECT_TRUE(t.Log.LogToFile);

    // A rate on the command line is every panel's; all panels go in the file's order.
    TTargetDefaults given = Defaults();
    given.Settings.Baud = 9600;
    given.BaudGiven = true;
    given.BaudProblem.clear();
    ASSERT_TRUE(ResolvePanelTargets(Plant, {{}, true}, given, &targets, &problem));
    ASSERT_EQ(targets.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(targets[i].Name, Plant[i].Name);
        EXPECT_EQ(targets[i].Baud, 9600);
        EXPECT_EQ(targets[i].BaudProblem, "");
    }

    // One device alone logs where it always did; one panel alone still logs under its name.
    ASSERT_TRUE(ResolvePanelTargets(Plant, {{{TItem::Device, "/dev/ttyS1"}}, false}, Defaults(),
                                    &targets, &problem));
    EXPECT_EQ(targets.at(0).Log.LogPath, "/var/log/zor.log");
    ASSERT_TRUE(ResolvePanelTargets(Plant, {{{TItem::Panel, "gate"}}, false}, Defaults(), &targets,
                                    &problem));
    EXPECT_EQ(targets.at(0).Log.LogPath, "/var/log/zor-Gate.log");
    EXPECT_EQ(targets.at(0).Baud, 19200);
}

} // namespace
} // namespace zor
