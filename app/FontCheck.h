// Finding and registering the symbol font file that draws the command symbols.
#pragma once

#include "ui/Dialogs.h"

#include <QString>
#include <QStringList>

class QWidget;

namespace zor {

inline constexpr const char *SymbolFontFileName = "ZorSymbols.TTF";
inline constexpr const char *SymbolFontFace = "ZorSymbolFont";

// The folders searched, in order: the user's font folders, the system's font folders, then the
// application's own data folders (next to the executable and in the installed share folder).
QStringList DefaultSymbolFontFolders();

// Full path of the first folder's ZorSymbols.TTF that exists, or an empty string.
QString FindSymbolFont(const QStringList &folders);

// Looks for the font in folders and registers the file found with the application. When no
// folder has it, shows the warning box that tells the operator the symbols will not be drawn
// correctly. Returns whether the font is available.
bool CheckSymbolFont(QWidget *parent, const QStringList &folders);

} // namespace zor
