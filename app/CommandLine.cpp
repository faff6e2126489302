#include "app/CommandLine.h"

#include <QCoreApplication>

namespace zor {

TCommandLine ParseCommandLine(const QStringList &arguments)
{
    TCommandLine line;
    bool options = true;
    for (const QString &a : arguments) {
        if (options && a == QLatin1String("--")) {
            options = false;
        } else if (options && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
            if (a == QLatin1String("--version") || a == QLatin1String("-v"))
                line.Version = true;
            else if (a == QLatin1String("--help") || a == QLatin1String("-h"))
                line.Help = true;
            else if (a == QLatin1String("--check"))
                line.Check = true;
            else if (line.Error.isEmpty())
                line.Error = QCoreApplication::translate("CommandLine", "unknown option %1").arg(a);
        } else {
            line.Files << a;
        }
    }
    return line;
}

QString CommandLineUsage()
{
    return QCoreApplication::translate(
        "CommandLine",
        "usage: zoredit [--check] [FILE...]\n"
        "\n"
        "Opens each FILE (a *.zor document) in its own window.\n"
        "\n"
        "  --check      start without showing a window, report the symbol font, the manual,\n"
        "               the settings file and every message start-up would show, then exit\n"
        "               (status 0 when nothing is missing)\n"
        "  --version    print the version and exit\n"
        "  --help       print this text and exit\n"
        "\n"
        "Qt's own options (-platform, -style, ...) are accepted as well.\n");
}

} // namespace zor
