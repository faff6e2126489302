#include "app/EditorSettings.h"

#include "comm/ProfileFile.h"

namespace zor {

namespace {
constexpr const char *Section = "Editor";
}

bool ReadEditorSetting(const TProfileFile &profile, const char *key, bool fallback)
{
    return profile.ReadBool(Section, key, fallback);
}

int ReadRecoverySeconds(const TProfileFile &profile)
{
    constexpr int Default = 15;
    const int seconds = profile.ReadInteger(Section, "RecoverySeconds", Default);
    return seconds >= 1 && seconds <= 3600 ? seconds : Default;
}

std::string ReadLanguage(const TProfileFile &profile)
{
    std::string value = profile.ReadString(Section, "Language", "");
    for (char &c : value)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return value == "cs" || value == "en" ? value : "system";
}

bool WriteLanguage(const std::string &path, const std::string &language)
{
    TProfileFile profile;
    profile.Load(path);
    profile.WriteString(Section, "Language", language);
    return profile.Save(path);
}

bool WriteEditorSetting(const std::string &path, const char *key, bool on)
{
    TProfileFile profile;
    profile.Load(path);
    profile.WriteBool(Section, key, on);
    return profile.Save(path);
}

std::optional<TWindowPlace> ReadWindowPlace(const TProfileFile &profile)
{
    TWindowPlace place;
    place.Width = profile.ReadInteger(Section, "Width", 0);
    place.Height = profile.ReadInteger(Section, "Height", 0);
    if (place.Width <= 0 || place.Height <= 0)
        return std::nullopt;
    place.Left = profile.ReadInteger(Section, "Left", 0);
    place.Top = profile.ReadInteger(Section, "Top", 0);
    place.Maximized = profile.ReadBool(Section, "Maximized", false);
    return place;
}

bool WriteWindowPlace(const std::string &path, const TWindowPlace &place)
{
    TProfileFile profile;
    profile.Load(path);
    profile.WriteInteger(Section, "Left", place.Left);
    profile.WriteInteger(Section, "Top", place.Top);
    profile.WriteInteger(Section, "Width", place.Width);
    profile.WriteInteger(Section, "Height", place.Height);
    profile.WriteBool(Section, "Maximized", place.Maximized);
    return profile.Save(path);
}

} // namespace zor
