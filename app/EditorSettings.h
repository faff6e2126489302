// The editor's own switches, kept in section "Editor" of the settings file: "Preview" (the live
// preview is shown), "AllCommands" (every command button may be enabled) and "RecoverySeconds"
// (how long a change may wait for its recovery copy).
#pragma once

#include <string>

namespace zor {
class TProfileFile;
}

namespace zor {

// The switch's value in the settings read from the file; fallback when the key is missing.
bool ReadEditorSetting(const TProfileFile &profile, const char *key, bool fallback = false);

// "RecoverySeconds": 1 to 3600; missing, not a number or out of range gives 15.
int ReadRecoverySeconds(const TProfileFile &profile);

// Writes one switch and keeps every other key of the file. False when the file could not be
// written; the caller tells the operator.
bool WriteEditorSetting(const std::string &path, const char *key, bool on);

} // namespace zor
