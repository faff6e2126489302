// zoredit --check: the start-up an operator would see, without a window, for checking an
// installation from a terminal or a test.
#pragma once

#include <QStringList>
#include <cstdio>

namespace zor {

// Builds the main window and its forms as the program does, but hidden, with every message box
// written to out instead of shown (and answered with its first button). Then reports the symbol
// font file, the manual, the settings file, the recovery folder (and, when it cannot be written,
// the fallback its copies would go to) and each document of files opened as the command line
// opens them. Returns 0 when the font and the manual were found, the settings file's folder and
// the recovery folder are writable and no message box came up; 1 otherwise.
int RunStartupCheck(const QStringList &files, std::FILE *out);

} // namespace zor
