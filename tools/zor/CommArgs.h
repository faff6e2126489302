// Options shared by the subcommands that talk to the panel: where the settings come from and
// which port and baud rate to use.
#pragma once

#include "base/Platform.h"
#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"
#include "tools/zor/ProgramSource.h"

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
    // Where the baud rate came from when it is no rate of the panel's, for the line under a
    // failed transfer's result; empty for a rate of the panel's.
    std::string BaudProblem;
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
    std::string Device;
    std::string Log;
    std::int32_t Port = INT_MIN;
    std::int32_t Baud = INT_MIN;
};

// Declares --settings FILE, --port N, --device PATH, --baud B and (when withLog) --log FILE.
inline void AddCommOptions(CLI::App &app, TCommOptions &o, bool withLog)
{
    app.add_option("--settings", o.SettingsFile,
                   "The settings file, which must be readable (default: the editor's)")
        ->type_name("FILE")
        ->each([&o](const std::string &) { o.SettingsGiven = true; });
    app.add_option("--port", o.Port, "Port number as in the editor (COMn of section Ports)")
        ->type_name("N")
        ->transform(Decimal());
    app.add_option("--device", o.Device,
                   "The serial device (a path, socket://HOST:PORT or rfc2217://HOST:PORT), "
                   "instead of a port number")
        ->type_name("PATH");
    app.add_option("--baud", o.Baud, "Baud rate (default: the settings file's)")
        ->type_name("B")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    if (withLog)
        app.add_option("--log", o.Log, "Log the transfer to this file")->type_name("FILE");
}

// Fills *out with the settings file's values and the options laid over them. A settings file
// that cannot be read is never replaced by the defaults (they name another port): only the
// editor's own file may be missing (or out of sight, in a folder this user may not search). Returns
// 0, or exit status 1 after saying why on stderr
// ("Error inic file" and a line with the file and the reason).
inline int ResolveCommArgs(const TCommOptions &o, TCommArgs *out)
{
    const std::string path = o.SettingsGiven ? o.SettingsFile : DefaultSettingsFile();
    TProfileFile profile;
    const TFileRead read = profile.Read(path);
    // The editor's file counts as missing also where its folder may not be searched, since
    // nothing says it is there; the editor takes the defaults then too.
    const bool missing = !PathExists(path);
    if (!read.Ok() && (o.SettingsGiven || !missing)) {
        std::fprintf(stderr, "%s\n%s\n", ResultText(ResultSettingsFileError).c_str(),
                     TProfileFile::Problem(path, read).c_str());
        return 1;
    }
    const std::u8string here = std::filesystem::current_path().u8string();
    out->Settings = LoadCommSettings(profile, std::string(here.begin(), here.end()));
    out->Devices = o.Device.empty() ? LoadPortDevices(profile) : TPortDevices::Single(o.Device);
    if (o.Port != INT_MIN)
        out->Settings.Port = o.Port;
    if (o.Baud == INT_MIN) {
        out->BaudProblem = BaudRateProblem(profile, path);
    } else {
        out->Settings.Baud = o.Baud;
        if (!IsPanelBaudRate(o.Baud))
            out->BaudProblem = "--baud " + std::to_string(o.Baud) +
                               ": the panel works at 4800, 9600 or 19200 baud";
    }
    if (!o.Log.empty()) {
        out->Settings.LogToFile = true;
        out->Settings.LogPath = o.Log;
    }
    return 0;
}

// Prints the result's message and returns the exit status (the code without its sign).
inline int ReportResult(int code)
{
    std::fprintf(code == ResultOk ? stdout : stderr, "%s\n", ResultText(code).c_str());
    return code < 0 ? -code : code;
}

} // namespace zor::tool
