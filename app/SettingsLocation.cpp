#include "app/SettingsLocation.h"

#include "comm/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace zor {

QString DefaultSettingsFile()
{
    const QString exe = QCoreApplication::applicationFilePath();
    const QString beside = QString::fromStdString(SettingsFileFor(exe.toStdString()));
    if (QFileInfo(QFileInfo(beside).absolutePath()).isWritable())
        return beside;
    // An installed copy cannot write next to its executable: keep the settings per user.
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    // A new user has no such folder yet, and the settings could never be written into it.
    QDir().mkpath(dir);
    return QDir(dir).filePath(QFileInfo(beside).fileName());
}

} // namespace zor
