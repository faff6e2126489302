#include "app/FontCheck.h"

#include "ui/Dialogs.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHash>
#include <QStandardPaths>

namespace zor {

QStringList DefaultSymbolFontFolders()
{
    QStringList folders;
    folders << QDir::homePath() + QStringLiteral("/.local/share/fonts")
            << QDir::homePath() + QStringLiteral("/.fonts");
    for (const QString &f : QStandardPaths::standardLocations(QStandardPaths::FontsLocation))
        if (!folders.contains(f))
            folders << f;
    folders << QStringLiteral("/usr/local/share/fonts") << QStringLiteral("/usr/share/fonts")
            << QStringLiteral("/usr/share/fonts/truetype/zoredit");
    const QString appDir = QCoreApplication::applicationDirPath();
    folders << appDir + QStringLiteral("/fonts")
            << QDir::cleanPath(appDir + QStringLiteral("/../share/zoredit/fonts"));
    folders.removeDuplicates();
    return folders;
}

QString FindSymbolFont(const QStringList &folders)
{
    for (const QString &folder : folders) {
        QFileInfo file(QDir(folder).filePath(QLatin1String(SymbolFontFileName)));
        if (file.isFile())
            return file.absoluteFilePath();
    }
    return {};
}

bool CheckSymbolFont(QWidget *parent, const QStringList &folders)
{
    const QString path = FindSymbolFont(folders);
    // Registering the same file twice would list the face twice; remember what is registered.
    static QHash<QString, int> registered;
    if (!path.isEmpty() && !registered.contains(path))
        registered.insert(path, QFontDatabase::addApplicationFont(path));
    // A file that is there but holds no usable font leaves the symbols undrawn just the same.
    if (path.isEmpty() || registered.value(path) < 0) {
        Dialogs().MessageBox(
            parent, QCoreApplication::translate("FontCheck", "Warning"),
            QCoreApplication::translate("FontCheck", "Required ZorSymbolFont is not installed.\n"
                                                     "Warning: Function symbols will not be\n"
                                                     "displayed correctly"),
            TMsgIcon::Warning, TMsgButtons::Ok);
        return false;
    }
    return true;
}

} // namespace zor
