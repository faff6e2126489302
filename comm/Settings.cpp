#include "comm/Settings.h"

namespace zor {

std::string DefaultLogPath(std::string_view startDirectory)
{
    std::string path(startDirectory);
    if (path.empty() || path.back() != '/')
        path += '/';
    return path + "zor.log";
}

TCommSettings LoadCommSettings(const TProfileFile &profile, std::string_view startDirectory)
{
    TCommSettings s;
    s.Port = profile.ReadInteger(SettingsSection, "Port", 3);
    s.LogToFile = profile.ReadBool(SettingsSection, "File", false);
    s.Baud = profile.ReadInteger(SettingsSection, "Baud", 9600);
    s.LogPath = profile.ReadString(SettingsSection, "Path", DefaultLogPath(startDirectory));
    return s;
}

void StoreCommSettings(TProfileFile &profile, const TCommSettings &settings)
{
    profile.WriteInteger(SettingsSection, "Port", settings.Port);
    profile.WriteBool(SettingsSection, "File", settings.LogToFile);
    profile.WriteInteger(SettingsSection, "Baud", settings.Baud);
    profile.WriteString(SettingsSection, "Path", settings.LogPath);
}

std::string SettingsFileFor(std::string_view executablePath)
{
    std::string path(executablePath);
    const auto slash = path.rfind('/');
    const auto dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
        path.erase(dot);
    return path + ".INI";
}

} // namespace zor
