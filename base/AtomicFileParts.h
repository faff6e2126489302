// What the two platform implementations of the atomic writer (base/posix, base/win32) share;
// not for other callers.
#pragma once

#include "base/AtomicFile.h"

#include <string>

namespace zor {

// Fills *failure with what, the reason (why, or the system's text for err when why is empty) and
// err, and returns false.
bool FailWrite(TWriteFailure *failure, const TMessage &what, int err, TMessage why = {});

// The folder part of path with its separator ("dir/"), empty for a bare name.
std::string FolderOfPath(const std::string &path);

// The part of path after its last separator: the whole path for a bare name.
std::string NameInFolder(const std::string &path);

} // namespace zor
