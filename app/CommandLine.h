// The editor's command line: zoredit [--check] [FILE...], plus --version and --help, which are
// answered before any window exists so that they work without a display.
#pragma once

#include <QString>
#include <QStringList>

namespace zor {

struct TCommandLine
{
    QStringList Files; // documents to open at start, in the order given
    bool Check = false;
    bool Version = false;
    bool Help = false;
    QString Error; // set for an unknown option; the program then prints it with the usage
};

// Reads the arguments after the program name (Qt's own options already taken out). "--" ends
// the options, so a file whose name starts with a dash can still be opened.
TCommandLine ParseCommandLine(const QStringList &arguments);

// The usage text printed by --help and after a bad option.
QString CommandLineUsage();

} // namespace zor
