#include "app/SettingsLocation.h"

#include "comm/Settings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace zor {

QString DefaultSettingsFile()
{
    const QString file = QString::fromStdString(
        EditorSettingsFile(QCoreApplication::applicationFilePath().toStdString()));
    // A new user has no such folder yet, and the settings could never be written into it.
    QDir().mkpath(QFileInfo(file).absolutePath());
    return file;
}

} // namespace zor
