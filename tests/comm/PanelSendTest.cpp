// One transfer to several panels at once, for zor and the editor alike: which panels a command
// line names, and the fan-out itself against emulated panels behind scripted ports (whose time is
// simulated: nothing here waits on the clock). That nothing is sent after a refusal is tested on
// zor itself; the windows that follow the fan-out in the editor are tested there.
#include "comm/PanelSend.h"

#include "base/AtomicFile.h"
#include "comm/Frames.h"
#include "comm/NumericMessage.h"
#include "comm/PanelEmulator.h"
#include "tests/support/FakeSerialPort.h"

#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <memory>
#include <mutex>
#include <unistd.h>

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

// A plant of emulated panels, each behind the scripted port that opened its device. A device of
// no panel cannot be opened, and its port says so. Every outcome is also heard through Finished.
class PanelSend : public testing::Test
{
protected:
    using TBytes = TFakeSerialPort::TBytes;

    PanelSend() { std::filesystem::create_directories(Dir); }
    ~PanelSend() override { std::filesystem::remove_all(Dir); }

    void AddPanel(const std::string &device, std::vector<TPanelFault> faults = {})
    {
        Panels[device] = std::make_unique<TPanelEmulator>(200, std::move(faults));
        Heard[device] = 0;
    }

    TPanelSend Send(const TTransferStop *stop = nullptr)
    {
        TPanelSend send;
        send.PortFactory = [this](const TPanelDevice &device) {
            ++PortsMade;
            auto port = std::make_unique<TFakeSerialPort>();
            for (const auto &[known, panel] : Panels)
                port->Devices.insert(known);
            port->Problem = "Cannot reach " + device.Name + ".";
            port->Responder = [this, fake = port.get()](const TBytes &frame) {
                ++Heard.at(fake->Device);
                {
                    const std::lock_guard lock(Mutex);
                    Bauds[fake->Device] = fake->Baud;
                }
                if (OnFrame && !OnFrame(fake->Device, frame))
                    return TBytes{};
                return Panels.at(fake->Device)->Feed(frame.data(), frame.size());
            };
            return port;
        };
        send.Stop = stop;
        send.ProgressPosition = [this](std::size_t target, int position) {
            const std::lock_guard lock(Mutex);
            Positions[target].push_back(position);
        };
        send.Finished = [this](std::size_t target, const TPanelOutcome &outcome) {
            const std::lock_guard lock(Mutex);
            Told[target].push_back(outcome.Code);
        };
        return send;
    }

    // What the panel at device has taken of kind, in order.
    std::vector<std::string> Taken(const std::string &device, TPanelEvent::TKind kind)
    {
        std::vector<std::string> taken;
        for (const TPanelEvent &e : Panels.at(device)->TakeEvents())
            if (e.Kind == kind)
                taken.push_back(e.Data);
        return taken;
    }

    static std::string Slurp(const std::string &path)
    {
        std::string text;
        ReadWholeFile(path, &text);
        return text;
    }

    std::filesystem::path Dir =
        std::filesystem::temp_directory_path() / ("zor-fanout-" + std::to_string(getpid()));
    // Read only while transfers run: each device's panel is fed by its own worker alone.
    std::map<std::string, std::unique_ptr<TPanelEmulator>> Panels;
    std::map<std::string, std::atomic<int>> Heard; // frames (every copy) each device heard
    // Called on the workers with each frame; false: the panel does not hear it.
    std::function<bool(const std::string &device, const TBytes &frame)> OnFrame;
    std::atomic<int> PortsMade{0};
    std::mutex Mutex; // for what follows
    std::map<std::string, std::int32_t> Bauds;
    std::map<std::size_t, std::vector<int>> Positions;
    std::map<std::size_t, std::vector<int>> Told;
};

// Every panel that takes the program holds it byte for byte; one that refuses or cannot be
// reached fails alone, with its own cause, at its own rate and in its own log.
TEST_F(PanelSend, EveryPanelThatTakesTheProgramHoldsItByteForByteAndEachFailsAlone)
{
    AddPanel("/dev/pts/1");
    AddPanel("/dev/pts/2", {{TPanelFaultKind::Refuse, {TPanelFrameKind::Block, 2}, 1}});
    AddPanel("/dev/pts/3");
    const std::vector<TNamedPanel> plant = {{"Hall1", "/dev/pts/1", 0},
                                            {"Gate", "/dev/pts/2", 9600},
                                            {"Yard", "/dev/pts/3", 0},
                                            {"Office", "socket://127.0.0.1:1", 0}};
    TTargetDefaults defaults;
    defaults.Settings.Baud = 19200;
    defaults.Settings.LogToFile = true;
    const std::string log = (Dir / "zor.log").string();
    defaults.Settings.LogPath = log;
    std::vector<TPanelTarget> targets;
    std::string problem;
    ASSERT_TRUE(ResolvePanelTargets(plant, {{}, true}, defaults, &targets, &problem)) << problem;
    EXPECT_EQ(targets[3].Device.Kind, TPanelDevice::TKind::Socket);

    std::string text;
    for (int i = 0; i < 300; ++i)
        text += static_cast<char>(1 + (i * 37) % 255); // every byte value but zero
    const std::vector<TPanelOutcome> outcomes =
        SendToPanels(targets, TPanelJob::Program(text), Send());

    ASSERT_EQ(outcomes.size(), 4u);
    const int codes[] = {ResultOk, ResultProgramDisabled, ResultOk, ResultHardwareFailure};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(targets[i].Name);
        EXPECT_EQ(outcomes[i].Code, codes[i]);
        EXPECT_EQ(Told[i], std::vector<int>{codes[i]}) << "told once, as returned";
        EXPECT_EQ(outcomes[i].LogProblem, "");
        EXPECT_EQ(outcomes[i].Blocks, 5);
    }
    EXPECT_EQ(OutcomeCause(targets[3], outcomes[3]), "Cannot reach socket://127.0.0.1:1.");
    EXPECT_EQ(Taken("/dev/pts/1", TPanelEvent::Program), std::vector<std::string>{text});
    EXPECT_EQ(Taken("/dev/pts/3", TPanelEvent::Program), std::vector<std::string>{text});
    EXPECT_TRUE(Taken("/dev/pts/2", TPanelEvent::Program).empty());
    EXPECT_EQ(Positions[0], (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Positions[2], (std::vector<int>{0, 1, 2, 3, 4}));
    EXPECT_EQ(Positions[1], (std::vector<int>{0})) << "block 2 refused";
    EXPECT_EQ(outcomes[1].Frame, 2);
    EXPECT_EQ(Bauds["/dev/pts/1"], 19200);
    EXPECT_EQ(Bauds["/dev/pts/2"], 9600) << "the panel's own rate";
    EXPECT_EQ(Bauds["/dev/pts/3"], 19200);

    for (const char *name : {"Hall1", "Gate", "Yard"})
        EXPECT_TRUE(Slurp(PanelLogPath(log, name)).starts_with("Open Send\r\n")) << name;
    EXPECT_NE(Slurp(PanelLogPath(log, "Office")).find("Open error!!!!"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(log)) << "no target logs to the log itself";
}

// The numeric message goes to every target in the order given, a bare device as well as a panel.
TEST_F(PanelSend, TheNumericMessageGoesToEveryTargetInTheOrderGiven)
{
    AddPanel("/dev/pts/1");
    AddPanel("/dev/pts/2");
    std::vector<TPanelTarget> targets;
    std::string problem;
    ASSERT_TRUE(ResolvePanelTargets(
        {{"Hall1", "/dev/pts/1", 0}, {"Yard", "/dev/pts/2", 0}},
        {{{TItem::Panel, "yard"}, {TItem::Device, "/dev/pts/1"}}, false}, {}, &targets, &problem))
        << problem;
    std::uint8_t message[8] = {};
    ASSERT_TRUE(BuildMessage("1", "2", message));
    const auto outcomes = SendToPanels(targets, TPanelJob::Numeric(message), Send());
    ASSERT_EQ(outcomes.size(), 2u);
    EXPECT_EQ(targets[0].Label(), "Yard");
    EXPECT_EQ(targets[1].Label(), "/dev/pts/1");
    for (const TPanelOutcome &outcome : outcomes) {
        EXPECT_EQ(outcome.Code, ResultOk);
        EXPECT_EQ(outcome.Frame, -1);
    }
    EXPECT_EQ(Taken("/dev/pts/1", TPanelEvent::Numeric), std::vector<std::string>{"  1 2"});
    EXPECT_EQ(Taken("/dev/pts/2", TPanelEvent::Numeric), std::vector<std::string>{"  1 2"});
}

// One stop ends every transfer after its frame in flight: each panel had the Open frame and
// blocks 1 and 2, none the Close, none holds a program, every log says why it ends.
TEST_F(PanelSend, OneStopEndsEveryPanelAfterItsFrameInFlight)
{
    std::vector<TPanelTarget> targets;
    for (const char *name : {"A", "B", "C"}) {
        const std::string device = std::string("/dev/fake") + name;
        AddPanel(device);
        TPanelTarget target;
        target.Name = name;
        target.Device = PanelDevice(device);
        target.Log = {true, (Dir / (std::string(name) + ".log")).string()};
        targets.push_back(target);
    }
    TTransferStop stop;
    std::atomic<int> atBlock2{0};
    std::atomic<bool> stopped{false};
    // Once every panel is at block 2 the stop is requested; each waits there until it is, so
    // that every one is stopped mid-program.
    OnFrame = [&](const std::string &, const TBytes &frame) {
        if (frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == 2) {
            if (++atBlock2 == 3) {
                stop.Request(TStopReason::Interrupted);
                stopped = true;
                stopped.notify_all();
            }
            stopped.wait(false);
        }
        return true;
    };
    const auto outcomes =
        SendToPanels(targets, TPanelJob::Program(std::string(150, 'c')), Send(&stop));
    for (std::size_t i = 0; i < 3; ++i) {
        const std::string device = targets[i].Device.Name;
        SCOPED_TRACE(device);
        EXPECT_EQ(outcomes[i].Code, ResultCancelled);
        EXPECT_EQ(Heard.at(device), 3) << "Open, block 1 and block 2, no Close";
        EXPECT_TRUE(Taken(device, TPanelEvent::Program).empty());
        EXPECT_TRUE(Slurp(targets[i].Log.LogPath).ends_with(",\r\nTransfer interrupted\r\n"));
    }
}

// A panel that falls silent: its outcome tells in which frame.
TEST_F(PanelSend, EachOutcomeTellsTheFrameItsPanelStoppedAnsweringIn)
{
    // Each panel answers its first frames (every copy counts) and then falls silent.
    const std::map<std::string, int> answered = {
        {"/dev/fakeA", 0}, {"/dev/fakeB", 2}, {"/dev/fakeC", 4}};
    std::vector<TPanelTarget> targets;
    for (const auto &[device, count] : answered) {
        AddPanel(device);
        TPanelTarget target;
        target.Device = PanelDevice(device);
        targets.push_back(target);
    }
    OnFrame = [&](const std::string &device, const TBytes &) {
        return Heard.at(device) <= answered.at(device);
    };
    const auto outcomes = SendToPanels(targets, TPanelJob::Program(std::string(150, 'x')), Send());
    const int frames[] = {0, 2, 4}; // the Open frame, block 2 of 3, the Close frame
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(outcomes[i].Code, ResultTimeout);
        EXPECT_EQ(outcomes[i].Frame, frames[i]);
        EXPECT_EQ(outcomes[i].Blocks, 3);
    }
}

TEST_F(PanelSend, PanelsThatNeedMoreOpenFilesThanAllowedAreEachToldSoAndNothingStarts)
{
    std::vector<TPanelTarget> targets(50);
    for (std::size_t i = 0; i < targets.size(); ++i) {
        targets[i].Device = PanelDevice("/dev/pts/" + std::to_string(i));
        AddPanel(targets[i].Device.Name);
    }
    std::uint8_t message[8] = {};
    ASSERT_TRUE(BuildMessage("1", "2", message));
    const TPanelJob job = TPanelJob::Numeric(message);
    const std::size_t needed = OpenFilesNeeded(targets);
    EXPECT_GT(needed, 50u * 3) << "a port and a thread's wakeups each at least";

    TPanelSend send = Send();
    send.OpenFileLimit = 64;
    const auto refused = SendToPanels(targets, job, send);
    ASSERT_EQ(refused.size(), 50u);
    for (std::size_t i = 0; i < refused.size(); ++i) {
        EXPECT_EQ(refused[i].Code, ResultHardwareFailure);
        EXPECT_EQ(OutcomeCause(targets.front(), refused[i]),
                  "too many open files (limit 64, 50 panels need about " + std::to_string(needed) +
                      ")");
        EXPECT_EQ(Told[i], std::vector<int>{ResultHardwareFailure});
    }
    EXPECT_EQ(PortsMade, 0);
    for (const auto &[device, heard] : Heard)
        EXPECT_EQ(heard, 0) << device;

    // A log each needs more; within the limit (or with none) every panel goes.
    for (TPanelTarget &target : targets) {
        target.Log.LogToFile = true;
        target.Log.LogPath = (Dir / (target.Device.Name.substr(5) + ".log")).string();
    }
    std::filesystem::create_directories(Dir / "pts");
    EXPECT_GT(OpenFilesNeeded(targets), needed);
    for (const std::size_t limit : {OpenFilesNeeded(targets), std::size_t{0}}) {
        send.OpenFileLimit = limit;
        const auto outcomes = SendToPanels(targets, job, send);
        for (const TPanelOutcome &outcome : outcomes)
            EXPECT_EQ(outcome.Code, ResultOk) << outcome.PortProblem;
    }
    EXPECT_EQ(PortsMade, 100);
    for (const auto &[device, heard] : Heard)
        EXPECT_EQ(heard, 2) << device;
}

} // namespace
} // namespace zor
