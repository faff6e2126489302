// Options shared by the subcommands that talk to panels: where the settings come from, which
// panels (the classic port, devices, named panels) and which baud rate.
#pragma once

#include "base/Platform.h"
#include "comm/MqttAddress.h"
#include "comm/MqttSend.h"
#include "comm/NetPort.h"
#include "comm/PanelSend.h"
#include "comm/Panels.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"
#include "tools/zor/MqttOptions.h"
#include "tools/zor/Output.h"
#include "tools/zor/ProgramInput.h"
#include "tools/zor/Subcommand.h"

#include <CLI/CLI.hpp>
#include <algorithm>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zor::tool {

struct TCommArgs
{
    // The panels to send to, in the order the command line names them; one (the classic port,
    // or the one device) when it names none.
    std::vector<TPanelTarget> Targets;
    // What the requests to gateways' panels (mqtt devices) go with.
    TMqttSendOptions Mqtt;
};

// The editor's settings file, for the editor installed beside this tool.
inline std::string DefaultSettingsFile()
{
    const std::string exe = ExecutablePath();
    const auto slash = LastPathSeparator(exe);
    return EditorSettingsFile(
        JoinPath(slash == std::string::npos ? "." : exe.substr(0, slash + 1), "zoredit"));
}

// The options as given; absent numbers stay INT_MIN and take the settings file's values.
struct TCommOptions
{
    // Given with --settings (SettingsGiven): then it must be read. Absent: the editor's
    // settings file, which may be missing (the defaults apply).
    std::string SettingsFile;
    bool SettingsGiven = false;
    TTargetChoice Targets; // --device, --panel and --all-panels
    std::string Log;
    std::int32_t Port = INT_MIN;
    std::int32_t Baud = INT_MIN;
    // For mqtt devices: the broker's password and CA files, the wait for the answer and the
    // request's life in seconds.
    TMqttFiles Mqtt;
    int Timeout = MqttDefaultTimeoutSeconds;
    int Expire = static_cast<int>(MqttDefaultExpireSeconds);
};

// Declares --settings FILE, --port N, --device PATH, --panel NAME, --all-panels, --baud B,
// (when withLog) --log FILE, and for mqtt devices --timeout, --expire, --mqtt-password-file and
// --cafile. --device and --panel may be repeated; their order is kept.
inline void AddCommOptions(CLI::App &app, TCommOptions &o, bool withLog)
{
    app.add_option("--settings", o.SettingsFile,
                   "The settings file, which must be readable (default: the editor's)")
        ->type_name("FILE")
        ->each([&o](const std::string &) { o.SettingsGiven = true; });
    auto *port =
        app.add_option("--port", o.Port, "Port number as in the editor (COMn of section Ports)")
            ->type_name("N")
            ->transform(Decimal());
    // Each occurrence is taken as it is read, so that devices and panels keep the order given.
    using TItem = TTargetChoice::TItem;
    const auto target = [&o](TItem::TKind kind) {
        return [&o, kind](const std::string &value) { o.Targets.Items.push_back({kind, value}); };
    };
    app.add_option_function<std::string>(
           "--device", target(TItem::Device),
           "A serial device (a path, socket://HOST:PORT or rfc2217://HOST:PORT) or a gateway's "
           "panel (mqtt[s]://[USER@]HOST[:PORT]/SITE/PANEL) instead of a port number; repeat for "
           "several")
        ->type_name("PATH")
        ->trigger_on_parse()
        ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll);
    auto *panel = app.add_option_function<std::string>(
                         "--panel", target(TItem::Panel),
                         "A panel named in section Panels of the settings file; repeat for several")
                      ->type_name("NAME")
                      ->trigger_on_parse()
                      ->multi_option_policy(CLI::MultiOptionPolicy::TakeAll)
                      ->excludes(port);
    app.add_flag("--all-panels", o.Targets.AllPanels, "Every panel of section Panels")
        ->excludes(port)
        ->excludes(panel);
    app.add_option("--baud", o.Baud,
                   "Baud rate for every panel (default: a panel's own, else the settings file's)")
        ->type_name("B")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    if (withLog)
        app.add_option("--log", o.Log,
                       "Log the transfer to this file (a named panel's log gets its name added)")
            ->type_name("FILE");
    app.add_option("--timeout", o.Timeout,
                   "With mqtt devices: how long to wait for the gateway's answer (default " +
                       std::to_string(MqttDefaultTimeoutSeconds) +
                       ", the longest program at 4800 baud with a margin)")
        ->type_name("SECONDS")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    app.add_option("--expire", o.Expire,
                   "With mqtt devices: a gateway that gets the request later never carries it out "
                   "(default " +
                       std::to_string(MqttDefaultExpireSeconds) + ")")
        ->type_name("SECONDS")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    AddMqttFileOptions(app, o.Mqtt);
}

// The settings file, read as ResolveCommArgs reads it. Returns 0, or exit status 1 after saying
// why on stderr ("Error inic file" and a line with the file and the reason). A settings file
// that cannot be read is never replaced by the defaults (they name another port): only the
// editor's own file may be missing (or out of sight, in a folder this user may not search).
inline int ReadSettingsFile(const TCommOptions &o, TProfileFile *profile, std::string *path)
{
    *path = o.SettingsGiven ? o.SettingsFile : DefaultSettingsFile();
    const TFileRead read = profile->Read(*path);
    // The editor's file counts as missing also where its folder may not be searched, since
    // nothing says it is there; the editor takes the defaults then too.
    const bool missing = !PathExists(*path);
    if (!read.Ok() && (o.SettingsGiven || !missing)) {
        Print(stderr, "%s\n%s\n", ResultText(ResultSettingsFileError).c_str(),
              TProfileFile::Problem(*path, read).Text().c_str());
        return 1;
    }
    return 0;
}

// Fills *out with the targets: the settings file's values with the options laid over them.
// Returns 0; exit status 1 for a settings file that cannot be read (ReadSettingsFile); or
// UsageStatus, having said why after "zor COMMAND: ", for a panel name the file does not have, for
// two targets that are one device and for a malformed network device name. Nothing has been sent
// then.
inline int ResolveCommArgs(const char *command, const TCommOptions &o, TCommArgs *out)
{
    TProfileFile profile;
    std::string path;
    if (const int status = ReadSettingsFile(o, &profile, &path))
        return status;
    TTargetDefaults defaults;
    defaults.SettingsFile = path;
    const std::u8string here = std::filesystem::current_path().u8string();
    defaults.Settings = LoadCommSettings(profile, std::string(here.begin(), here.end()));
    if (o.Port != INT_MIN)
        defaults.Settings.Port = o.Port;
    if (o.Baud == INT_MIN) {
        defaults.BaudProblem = BaudRateProblem(profile, path);
    } else {
        defaults.Settings.Baud = o.Baud;
        defaults.BaudGiven = true;
        if (!IsPanelBaudRate(o.Baud))
            defaults.BaudProblem = "--baud " + std::to_string(o.Baud) +
                                   ": the panel works at 4800, 9600 or 19200 baud";
    }
    if (!o.Log.empty()) {
        defaults.Settings.LogToFile = true;
        defaults.Settings.LogPath = o.Log;
    }
    TTargetChoice choice = o.Targets;
    if (choice.Items.empty() && !choice.AllPanels)
        choice.Items.push_back({TTargetChoice::TItem::Device,
                                LoadPortDevices(profile).ForPort(defaults.Settings.Port)});
    // A panel the file names wrongly is refused before anything is sent, as a bad command line
    // would be: whichever panel is meant, the operator is to put the file right first.
    const std::vector<TNamedPanel> panels = LoadPanels(profile);
    const bool byName =
        choice.AllPanels ||
        std::any_of(choice.Items.begin(), choice.Items.end(), [](const TTargetChoice::TItem &item) {
            return item.Kind != TTargetChoice::TItem::Device;
        });
    for (const TNamedPanel &panel : panels)
        if (byName && !panel.Problem().empty())
            return Fail(command,
                        panel.Problem().Text() + " in section [" + std::string(PanelsSection) +
                            "] of " + path + "; nothing was sent",
                        UsageStatus);
    std::string problem;
    if (!ResolvePanelTargets(panels, choice, defaults, &out->Targets, &problem))
        return Fail(command, problem + "; nothing was sent", UsageStatus);
    // A network name that cannot be read fails the same way every time: a mistake to correct,
    // not a device to try again later.
    TNetAddress address;
    TMqttAddress mqttAddress;
    bool throughBroker = false;
    for (const TPanelTarget &target : out->Targets) {
        if (target.Device.Kind == TPanelDevice::TKind::Mqtt) {
            throughBroker = true;
            if (!ParseMqttDevice(target.Device.Name, &mqttAddress, &problem))
                return Fail(command, target.Device.Name + ": " + problem + "; nothing was sent",
                            UsageStatus);
        } else if (target.Device.Kind != TPanelDevice::TKind::Local &&
                   !ParseNetworkDevice(target.Device.Name, &address)) {
            return Fail(command,
                        target.Device.Name +
                            ": write socket://HOST:PORT or rfc2217://HOST:PORT, PORT a number "
                            "from 1 to 65535; nothing was sent",
                        UsageStatus);
        }
    }
    out->Mqtt.TimeoutSeconds = o.Timeout;
    out->Mqtt.ExpireSeconds = static_cast<std::uint32_t>(o.Expire);
    // Only a send through a broker needs its password: a local one goes whatever the file says.
    if (throughBroker &&
        !LoadMqttFiles(profile, o.Mqtt, &out->Mqtt.Password, &out->Mqtt.CaFile, &problem))
        return Fail(command, problem + "; nothing was sent", 1);
    return 0;
}

} // namespace zor::tool
