#include "app/RecentFiles.h"

#include <algorithm>

namespace zor {

namespace {

std::string KeyName(std::size_t index)
{
    return "File" + std::to_string(index + 1);
}

} // namespace

void TRecentFiles::Add(const std::string &name)
{
    if (name.empty())
        return;
    Remove(name);
    List.insert(List.begin(), name);
    if (List.size() > MaxCount)
        List.resize(MaxCount);
}

bool TRecentFiles::Remove(const std::string &name)
{
    const auto it = std::find(List.begin(), List.end(), name);
    if (it == List.end())
        return false;
    List.erase(it);
    return true;
}

void TRecentFiles::Load(const TProfileFile &profile)
{
    List.clear();
    for (std::size_t i = 0; i < MaxCount; ++i) {
        const std::string name = profile.ReadString(RecentSection, KeyName(i), "");
        if (!name.empty() && std::find(List.begin(), List.end(), name) == List.end())
            List.push_back(name);
    }
}

void TRecentFiles::Store(TProfileFile &profile) const
{
    for (std::size_t i = 0; i < MaxCount; ++i)
        profile.WriteString(RecentSection, KeyName(i), i < List.size() ? List[i] : std::string());
}

bool SaveRecentFiles(const std::string &path, const TRecentFiles &recent, std::string *error)
{
    TProfileFile profile;
    profile.Load(path);
    recent.Store(profile);
    return profile.Save(path, error);
}

} // namespace zor
