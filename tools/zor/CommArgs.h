// Options shared by the subcommands that talk to the panel: where the settings come from and
// which port and baud rate to use.
#pragma once

#include "comm/ProfileFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"

#include <charconv>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace zor::tool {

struct TCommArgs
{
    TCommSettings Settings;
    TPortDevices Devices;
    std::vector<std::string> Positional;
};

inline bool ParseInt(const std::string &text, std::int32_t *value)
{
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), *value);
    return ec == std::errc() && end == text.data() + text.size();
}

// The editor's settings file: next to this tool, under the editor's name.
inline std::string DefaultSettingsFile()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    const auto dir = ec ? std::filesystem::path(".") : exe.parent_path();
    return SettingsFileFor((dir / "zoredit").string());
}

// Reads --settings FILE, --port N, --device PATH, --baud B and (when allowLog) --log FILE; the
// rest are positional. False with a message on stderr on a bad option.
inline bool ParseCommArgs(const char *command, const std::vector<std::string> &args, bool allowLog,
                          TCommArgs *out)
{
    std::string settingsFile = DefaultSettingsFile();
    std::string device, log;
    std::int32_t port = INT_MIN, baud = INT_MIN;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string &a = args[i];
        const bool hasValue = i + 1 < args.size();
        const auto bad = [&] {
            std::fprintf(stderr, "zor %s: bad or missing value for %s\n", command, a.c_str());
            return false;
        };
        if (a == "--settings" || a == "--device" || a == "--log" || a == "--port" ||
            a == "--baud") {
            if (!hasValue)
                return bad();
            const std::string &v = args[++i];
            if (a == "--settings")
                settingsFile = v;
            else if (a == "--device")
                device = v;
            else if (a == "--log" && allowLog)
                log = v;
            else if (a == "--port" && !ParseInt(v, &port))
                return bad();
            else if (a == "--baud" && (!ParseInt(v, &baud) || baud <= 0))
                return bad();
            else if (a == "--log")
                return bad();
        } else if (a.starts_with("--")) {
            std::fprintf(stderr, "zor %s: unknown option %s\n", command, a.c_str());
            return false;
        } else {
            out->Positional.push_back(a);
        }
    }
    TProfileFile profile;
    profile.Load(settingsFile);
    out->Settings = LoadCommSettings(profile, std::filesystem::current_path().string());
    out->Devices = device.empty() ? LoadPortDevices(profile) : TPortDevices::Single(device);
    if (port != INT_MIN)
        out->Settings.Port = port;
    if (baud != INT_MIN)
        out->Settings.Baud = baud;
    if (!log.empty()) {
        out->Settings.LogToFile = true;
        out->Settings.LogPath = log;
    }
    return true;
}

// Prints the result's message (line breaks as newlines) and returns the exit status.
inline int ReportResult(int code)
{
    std::string text = "result " + std::to_string(code);
    if (const auto message = ResultMessage(code)) {
        text = std::string(message->Text);
        for (char &c : text)
            if (c == '\r')
                c = '\n';
    }
    std::fprintf(code == ResultOk ? stdout : stderr, "%s\n", text.c_str());
    return code < 0 ? -code : code;
}

} // namespace zor::tool
