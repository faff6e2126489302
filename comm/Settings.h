// The communication settings: which port and baud rate reach the panel and whether and where
// the transfer log is written, kept in the "PC" section of the settings file.
#pragma once

#include "comm/ProfileFile.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace zor {

struct TCommSettings
{
    std::int32_t Port = 3;    // 1..4 select the first to fourth port; any other number the fourth
    std::int32_t Baud = 9600; // passed to the port unchanged
    bool LogToFile = false;
    std::string LogPath;      // full path of the transfer log
};

inline constexpr std::string_view SettingsSection = "PC";

// The default log path: the start-up working directory followed by "/zor.log".
std::string DefaultLogPath(std::string_view startDirectory);

// Fills the settings from the profile; missing keys and unreadable numbers give the defaults.
TCommSettings LoadCommSettings(const TProfileFile &profile, std::string_view startDirectory);

// Writes all four keys in their fixed order.
void StoreCommSettings(TProfileFile &profile, const TCommSettings &settings);

// The settings file that belongs to an executable: its path with the extension (if the last
// path component has one) replaced by ".INI".
std::string SettingsFileFor(std::string_view executablePath);

} // namespace zor
