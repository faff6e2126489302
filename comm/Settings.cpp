#include "comm/Settings.h"

#include "base/AtomicFile.h"
#include "base/Platform.h"
#include "base/TranslateNoop.h"
#include "comm/PortNames.h"

namespace zor {

std::string DefaultLogPath(std::string_view startDirectory)
{
    return JoinPath(startDirectory, "zor.log");
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

bool IsPanelBaudRate(std::int32_t baud)
{
    for (const std::int32_t rate : PanelBaudRates)
        if (baud == rate)
            return true;
    return false;
}

const char *const NotAPanelRate = ZOR_TRANSLATE_NOOP(
    "Settings", "%1=%2 in section [%3] of %4: the panel works at 4800, 9600 or 19200 baud");

TMessage BaudRateProblem(const TProfileFile &profile, std::string_view file)
{
    if (IsPanelBaudRate(profile.ReadInteger(SettingsSection, "Baud", 9600)))
        return {};
    return TMessage::Tr("Settings", NotAPanelRate,
                        {"Baud", profile.ReadString(SettingsSection, "Baud", ""),
                         std::string(SettingsSection), std::string(file)});
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
    const auto slash = LastPathSeparator(path);
    const auto dot = path.rfind('.');
    if (dot != std::string::npos && (slash == std::string::npos || dot > slash + 1))
        path.erase(dot);
    return path + ".INI";
}

std::string EditorSettingsFile(std::string_view editorPath)
{
    const std::string beside = SettingsFileFor(editorPath);
    const auto slash = LastPathSeparator(beside);
    const std::string folder = slash == std::string::npos ? "" : beside.substr(0, slash + 1);
    if (MayWriteBesideProgram(folder))
        return beside;
    const std::string home = UserConfigFolder();
    if (home.empty())
        return beside; // no user folder to go to: read what is there, writing will say why it fails
    return JoinPath(JoinPath(home, "ZorEdit"),
                    beside.substr(slash == std::string::npos ? 0 : slash + 1));
}

} // namespace zor

#include "comm/Results.h"

namespace zor {

const std::string &TPortDevices::ForPort(std::int32_t port) const
{
    return (port >= 1 && port <= 3) ? Device[port - 1] : Device[3];
}

TPortDevices TPortDevices::Single(const std::string &device)
{
    return {{device, device, device, device}};
}

TPortDevices LoadPortDevices(const TProfileFile &profile)
{
    TPortDevices devices;
    for (int n = 1; n <= 4; ++n)
        devices.Device[n - 1] =
            profile.ReadString(PortsSection, "COM" + std::to_string(n), DefaultPortDevice(n));
    return devices;
}

int EditSettingsFile(const std::string &path, const std::function<void(TProfileFile &)> &edit,
                     std::string *error)
{
    TMessage why;
    const int result = EditSettingsFile(path, edit, &why);
    if (error)
        *error = why.Text();
    return result;
}

int EditSettingsFile(const std::string &path, const std::function<void(TProfileFile &)> &edit,
                     TMessage *error)
{
    // The file is replaced by renaming a new one over it, which a read-only file would not stop;
    // its protection is honoured here, by its mode bits as well (they bind even the superuser).
    if (IsReadOnlyFile(path)) {
        if (error)
            *error =
                TMessage::Tr("Settings", ZOR_TRANSLATE_NOOP("Settings", "%1 is read-only"), {path});
        return ResultSettingsFileError;
    }
    TProfileFile profile;
    const TFileRead read = profile.Read(path);
    if (read.Status == TFileReadStatus::TooLarge || read.Status == TFileReadStatus::NotRegular) {
        // Writing would replace whatever that file is with a few keys.
        if (error)
            *error = TProfileFile::Problem(path, read);
        return ResultSettingsFileError;
    }
    edit(profile);
    TWriteFailure failure;
    if (WriteFileAtomically(path, profile.Bytes(), &failure))
        return ResultOk;
    if (error)
        *error = failure.Said;
    return ResultSettingsFileError;
}

void StorePortDevices(TProfileFile &profile, const TPortDevices &devices)
{
    const TPortDevices stored = LoadPortDevices(profile);
    for (int n = 1; n <= 4; ++n)
        if (devices.Device[n - 1] != stored.Device[n - 1])
            profile.WriteString(PortsSection, "COM" + std::to_string(n), devices.Device[n - 1]);
}

int SaveCommSettings(const std::string &path, const TCommSettings &settings, std::string *error)
{
    return EditSettingsFile(
        path, [&](TProfileFile &profile) { StoreCommSettings(profile, settings); }, error);
}

int SaveCommSettings(const std::string &path, const TCommSettings &settings,
                     const TPortDevices &devices, std::string *error)
{
    return EditSettingsFile(
        path,
        [&](TProfileFile &profile) {
            StoreCommSettings(profile, settings);
            StorePortDevices(profile, devices);
        },
        error);
}

} // namespace zor
