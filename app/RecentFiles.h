// The list of recently opened documents that the File menu offers, kept in the settings file.
// Plain C++: the list's rules (newest first, no repeats, at most eight) are tested without a
// window.
#pragma once

#include "comm/ProfileFile.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace zor {

inline constexpr std::string_view RecentSection = "Recent";

class TRecentFiles
{
public:
    static constexpr std::size_t MaxCount = 8;

    // Newest first; full file names as they were opened or saved.
    const std::vector<std::string> &Items() const { return List; }

    // Puts name at the top. A name already in the list moves there instead of appearing twice;
    // the oldest entry falls off when the list would hold more than MaxCount. An empty name is
    // ignored.
    void Add(const std::string &name);

    // Takes name out of the list; false when it was not there.
    bool Remove(const std::string &name);

    // Keys File1 (newest) to File8 of section "Recent". Empty and repeated values are skipped, so
    // a hand-edited file cannot put a blank or a duplicate entry into the menu.
    void Load(const TProfileFile &profile);

    // Writes File1 to File8, the unused ones empty, so that an entry removed from the list does
    // not come back from the file.
    void Store(TProfileFile &profile) const;

private:
    std::vector<std::string> List;
};

// Loads the settings file at path, stores the list into it and writes it back, keeping every
// other section. False with a reason in *error when it could not be written.
bool SaveRecentFiles(const std::string &path, const TRecentFiles &recent,
                     std::string *error = nullptr);

} // namespace zor
