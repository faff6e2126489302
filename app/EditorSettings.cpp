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

bool WriteEditorSetting(const std::string &path, const char *key, bool on)
{
    TProfileFile profile;
    profile.Load(path);
    profile.WriteBool(Section, key, on);
    return profile.Save(path);
}

} // namespace zor
