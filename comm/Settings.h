// The communication settings: which port and baud rate reach the panel and whether and where
// the transfer log is written, kept in the "PC" section of the settings file.
#pragma once

#include "base/Message.h"
#include "comm/ProfileFile.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace zor {

struct TCommSettings
{
    std::int32_t Port = 3;    // 1..4 select the first to fourth port; any other number the fourth
    std::int32_t Baud = 9600; // passed to the port unchanged
    bool LogToFile = false;
    std::string LogPath; // full path of the transfer log
};

inline constexpr std::string_view SettingsSection = "PC";

// The rates the panel works at, the ones the Parameters dialog offers.
inline constexpr std::int32_t PanelBaudRates[] = {4800, 9600, 19200};
bool IsPanelBaudRate(std::int32_t baud);

// When the profile's "Baud" is read as no rate of the panel's (0 for "4294967296", which wraps,
// -9600, 115200): its key and value as written and the rates there are, for the line under a
// failed transfer's result, "Baud=0 in section [PC] of FILE: the panel works at 4800, 9600 or
// 19200 baud". Empty when the key is missing or holds one of the panel's rates.
TMessage BaudRateProblem(const TProfileFile &profile, std::string_view file);

// The sentence of BaudRateProblem, also said of a panel's own rate in section "Panels": %1 the
// key, %2 its value, %3 the section, %4 the file (context "Settings").
extern const char *const NotAPanelRate;

// The default log path: "zor.log" in the start-up working directory.
std::string DefaultLogPath(std::string_view startDirectory);

// Fills the settings from the profile; missing keys and unreadable numbers give the defaults.
TCommSettings LoadCommSettings(const TProfileFile &profile, std::string_view startDirectory);

// Writes all four keys in their fixed order.
void StoreCommSettings(TProfileFile &profile, const TCommSettings &settings);

// The settings file that belongs to an executable: its path with the extension (if the last
// path component has one) replaced by ".INI".
std::string SettingsFileFor(std::string_view executablePath);

// The settings file the editor at editorPath uses, and that zor reads by default: beside the
// editor (SettingsFileFor) when its folder is writable and not under /usr, else the same name in
// the user's folder <configHome>/ZorEdit, configHome being $XDG_CONFIG_HOME when set and absolute,
// else $HOME/.config (beside the editor when neither is set). Creates nothing.
std::string EditorSettingsFile(std::string_view editorPath);

} // namespace zor

namespace zor {

// The devices behind port numbers 1 to 4.
struct TPortDevices
{
    std::string Device[4];

    // The device for a port number: 1..3 their own, every other number the fourth.
    const std::string &ForPort(std::int32_t port) const;

    // All four numbers lead to one device (a device given on a command line).
    static TPortDevices Single(const std::string &device);
};

inline constexpr std::string_view PortsSection = "Ports";

// Key "COMn" of section "Ports" for each n, defaulting to the platform's n-th serial port
// (DefaultPortDevice: /dev/ttyS<n-1> on Linux, COMn on Windows).
TPortDevices LoadPortDevices(const TProfileFile &profile);

// Makes edit's changes to the settings file at path, keeping everything else in it, in one atomic
// write. Returns ResultOk, or ResultSettingsFileError (with a reason in *error, edit not called)
// when the file is read-only or is no settings file (too large, a folder, a device, a FIFO), or
// when it could not be written.
int EditSettingsFile(const std::string &path, const std::function<void(TProfileFile &)> &edit,
                     std::string *error = nullptr);
// The same, with the reason as a message (base/Message.h).
int EditSettingsFile(const std::string &path, const std::function<void(TProfileFile &)> &edit,
                     TMessage *error);

// Writes key "COMn" of section "Ports" for each port number whose device differs from what the
// profile gives for it now (so untouched defaults add no keys).
void StorePortDevices(TProfileFile &profile, const TPortDevices &devices);

// Stores the settings into the file at path, keeping everything else in it. Returns ResultOk, or
// ResultSettingsFileError when the file could not be created or written (with a reason in
// *error); the settings themselves are never touched.
int SaveCommSettings(const std::string &path, const TCommSettings &settings,
                     std::string *error = nullptr);

// The same, and in the same atomic write key "COMn" of section "Ports" for each port number whose
// device differs from what the file gives for it now (so untouched defaults add no keys).
int SaveCommSettings(const std::string &path, const TCommSettings &settings,
                     const TPortDevices &devices, std::string *error = nullptr);

} // namespace zor
