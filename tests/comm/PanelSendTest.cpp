// Which panels a command line names, and how each is reached. (That nothing is sent after a
// refusal is tested on zor itself.)
#include "comm/PanelSend.h"

#include "tests/support/FakeSerialPort.h"

#include <atomic>
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

TEST(PanelTargets, OneDeviceServerHoweverItsAddressIsWrittenIsRefusedNamingEachOnce)
{
    const auto refusal = [](const std::vector<TNamedPanel> &panels,
                            const std::vector<std::string> &devices) {
        TTargetChoice choice;
        choice.AllPanels = !panels.empty();
        for (const std::string &d : devices)
            choice.Items.push_back({TItem::Device, d});
        std::vector<TPanelTarget> targets;
        std::string problem;
        if (ResolvePanelTargets(panels, choice, Defaults(), &targets, &problem))
            return std::string("accepted");
        EXPECT_TRUE(targets.empty());
        return problem;
    };
    EXPECT_EQ(refusal({}, {"socket://127.0.0.1:6600", "socket://localhost:6600"}),
              "socket://127.0.0.1:6600 and socket://localhost:6600 are the same device");
    EXPECT_EQ(refusal({}, {"socket://127.0.0.1:6600", "rfc2217://127.0.0.1:06600"}),
              "socket://127.0.0.1:6600 and rfc2217://127.0.0.1:06600 are the same device");
    EXPECT_EQ(refusal({{"Hall1", "socket://LOCALHOST:6600", 0}}, {"socket://127.0.0.1:6600"}),
              "Hall1 (socket://LOCALHOST:6600) and socket://127.0.0.1:6600 are the same device");
    EXPECT_EQ(
        refusal({{"Hall1", "socket://127.0.0.1:6600", 0}, {"Hall2", "socket://127.0.0.1:6600", 0}},
                {}),
        "Hall1 and Hall2 are the same device socket://127.0.0.1:6600");
    EXPECT_EQ(refusal({{"Hall1", "socket://127.0.0.1:6600", 0}}, {"socket://127.0.0.1:6600"}),
              "Hall1 and socket://127.0.0.1:6600 are the same device");

    // Another port, another address: other devices.
    EXPECT_EQ(refusal({}, {"socket://127.0.0.1:6600", "socket://127.0.0.1:6601",
                           "socket://127.0.0.2:6600"}),
              "accepted");
}

TEST(PanelSend, PanelsThatNeedMoreOpenFilesThanAllowedAreEachToldSoAndNothingStarts)
{
    std::vector<TPanelTarget> targets(50);
    for (std::size_t i = 0; i < targets.size(); ++i)
        targets[i].Device = "/dev/pts/" + std::to_string(i);
    std::atomic<int> ports = 0, transfers = 0;
    const auto factory = [&ports] {
        ++ports;
        return std::make_unique<TFakeSerialPort>();
    };
    const auto transfer = [&transfers](TSerial &, std::int32_t) {
        ++transfers;
        return ResultOk;
    };
    const std::size_t needed = OpenFilesNeeded(targets);
    EXPECT_GT(needed, 50u * 3) << "a port and a thread's wakeups each at least";

    const auto refused = SendToPanels(targets, transfer, factory, nullptr, 64);
    ASSERT_EQ(refused.size(), 50u);
    for (const TPanelOutcome &outcome : refused) {
        EXPECT_EQ(outcome.Code, ResultHardwareFailure);
        EXPECT_EQ(OutcomeCause(targets.front(), outcome),
                  "too many open files (limit 64, 50 panels need about " + std::to_string(needed) +
                      ")");
    }
    EXPECT_EQ(ports, 0);
    EXPECT_EQ(transfers, 0);

    // A log each needs more; within the limit (or with none) every panel goes.
    for (TPanelTarget &target : targets)
        target.Log.LogToFile = true;
    EXPECT_GT(OpenFilesNeeded(targets), needed);
    for (const std::size_t limit : {OpenFilesNeeded(targets), std::size_t{0}}) {
        const auto outcomes = SendToPanels(targets, transfer, factory, nullptr, limit);
        for (const TPanelOutcome &outcome : outcomes)
            EXPECT_EQ(outcome.Code, ResultOk) << outcome.PortProblem;
    }
    EXPECT_EQ(ports, 100);
    EXPECT_EQ(transfers, 100);
}

} // namespace
} // namespace zor
