// Replacing a file without ever leaving it half written.
#pragma once

#include <string>
#include <string_view>

namespace zor {

// Writes data to a temporary file in the target's folder, flushes it to disk and renames it over
// path. On failure the previous file is untouched, the temporary file is removed and the result
// is false with a readable reason in *error (when error is not null). An existing target keeps
// its permission bits.
bool WriteFileAtomically(const std::string &path, std::string_view data,
                         std::string *error = nullptr);

// Reads a whole file into *data. Returns false (and leaves *data empty) when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string *data);

} // namespace zor
