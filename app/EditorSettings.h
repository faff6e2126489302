// The editor's own switches, kept in section "Editor" of the settings file: "Preview" (the live
// preview is shown), "AllCommands" (every command button may be enabled), "RecoverySeconds"
// (how long a change may wait for its recovery copy), "Language" (the interface's); and the main
// window's place.
#pragma once

#include <optional>
#include <string>

namespace zor {
class TProfileFile;
}

namespace zor {

// The switch's value in the settings read from the file; fallback when the key is missing.
bool ReadEditorSetting(const TProfileFile &profile, const char *key, bool fallback = false);

// "RecoverySeconds": 1 to 3600; missing, not a number or out of range gives 15.
int ReadRecoverySeconds(const TProfileFile &profile);

// "Language": "cs" or "en" for that language, "system" for the desktop's. Missing, empty or any
// other value gives "system" (case is ignored), so a file written by a later version still starts.
std::string ReadLanguage(const TProfileFile &profile);

// Writes "Language" (one of the values above) and keeps every other key of the file. False when
// the file could not be written.
bool WriteLanguage(const std::string &path, const std::string &language);

// Writes one switch and keeps every other key of the file. False when the file could not be
// written; the caller tells the operator.
bool WriteEditorSetting(const std::string &path, const char *key, bool on);

// The main window's place on the desktop: its normal (not maximised) frame-less rectangle in
// screen pixels, and whether it is maximised. Keys "Left", "Top", "Width", "Height" and
// "Maximized" of section "Editor".
struct TWindowPlace
{
    int Left = 0, Top = 0, Width = 0, Height = 0;
    bool Maximized = false;
};

// The place kept in the settings read from the file; nothing when none is kept or its size is
// not positive (the window then takes its first-start place).
std::optional<TWindowPlace> ReadWindowPlace(const TProfileFile &profile);

// Writes the place and keeps every other key of the file. False when the file could not be
// written.
bool WriteWindowPlace(const std::string &path, const TWindowPlace &place);

} // namespace zor
