// Options shared by the subcommands that talk to the panel: where the settings come from and
// which port and baud rate to use.
#pragma once

#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"
#include "tools/zor/Input.h"

#include <CLI/CLI.hpp>

#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>

namespace zor::tool {

struct TCommArgs
{
    TCommSettings Settings;
    TPortDevices Devices;
};

// The editor's settings file, for the editor installed beside this tool.
inline std::string DefaultSettingsFile()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto dir = ec ? std::filesystem::path(".") : exe.parent_path();
    return EditorSettingsFile((dir / "zoredit").string());
}

// The options as given; absent numbers stay INT_MIN and take the settings file's values.
struct TCommOptions
{
    std::string SettingsFile = DefaultSettingsFile();
    std::string Device;
    std::string Log;
    std::int32_t Port = INT_MIN;
    std::int32_t Baud = INT_MIN;
};

// Declares --settings FILE, --port N, --device PATH, --baud B and (when withLog) --log FILE.
inline void AddCommOptions(CLI::App &app, TCommOptions &o, bool withLog)
{
    app.add_option("--settings", o.SettingsFile, "The settings file (default: the editor's)")
        ->type_name("FILE");
    app.add_option("--port", o.Port, "Port number as in the editor (COMn of section Ports)")
        ->type_name("N")
        ->transform(Decimal());
    app.add_option("--device", o.Device, "The serial device, instead of a port number")
        ->type_name("PATH");
    app.add_option("--baud", o.Baud, "Baud rate (default: the settings file's)")
        ->type_name("B")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    if (withLog)
        app.add_option("--log", o.Log, "Log the transfer to this file")->type_name("FILE");
}

// The settings file's values with the options laid over them.
inline TCommArgs ResolveCommArgs(const TCommOptions &o)
{
    TCommArgs out;
    TProfileFile profile;
    profile.Load(o.SettingsFile);
    out.Settings = LoadCommSettings(profile, std::filesystem::current_path().string());
    out.Devices = o.Device.empty() ? LoadPortDevices(profile) : TPortDevices::Single(o.Device);
    if (o.Port != INT_MIN)
        out.Settings.Port = o.Port;
    if (o.Baud != INT_MIN)
        out.Settings.Baud = o.Baud;
    if (!o.Log.empty()) {
        out.Settings.LogToFile = true;
        out.Settings.LogPath = o.Log;
    }
    return out;
}

// Prints the result's message and returns the exit status (the code without its sign).
inline int ReportResult(int code)
{
    std::fprintf(code == ResultOk ? stdout : stderr, "%s\n", ResultText(code).c_str());
    return code < 0 ? -code : code;
}

} // namespace zor::tool
