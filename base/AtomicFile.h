// Replacing a file without ever leaving it half written.
#pragma once

#include <string>
#include <string_view>

namespace zor {

// Writes data to a temporary file in the target's folder, flushes it to disk and renames it over
// path. On failure the previous file is untouched, the temporary file is removed and the result
// is false with a readable reason in *error (when error is not null): what failed and the
// system's words for why ("No space left on device", "Permission denied"). An existing target
// keeps its permission bits; one the caller may not write is refused, not replaced.
bool WriteFileAtomically(const std::string &path, std::string_view data,
                         std::string *error = nullptr);

struct TWriteFailure
{
    // False when nothing was begun: the target may not be replaced or no temporary file could be
    // made beside it.
    bool Created = false;
    int Errno = 0;
    // What failed and why, as the other overload reports it.
    std::string Message;
};

// The same, telling the caller where it failed and the errno, for callers with their own words.
bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure);

// Reads a whole file into *data. Returns false (and leaves *data empty) when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string *data);

} // namespace zor
