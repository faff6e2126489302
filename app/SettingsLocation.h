// Where the editor keeps its settings.
#pragma once

#include <QString>

namespace zor {

// The settings file this installation uses (EditorSettingsFile for this program), its folder
// made when missing.
QString DefaultSettingsFile();

} // namespace zor
