// Where the editor keeps its settings.
#pragma once

#include <QString>

namespace zor {

// The settings file this installation uses: next to the executable when that folder is
// writable, else in the user's configuration folder (made when missing).
QString DefaultSettingsFile();

} // namespace zor
