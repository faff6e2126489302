#include "app/Language.h"

#include "app/EditorSettings.h"
#include "comm/ProfileFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QTranslator>

namespace zor {

QLocale InterfaceLocale(const QString &setting, const QLocale &desktop)
{
    if (TranslatedLanguages.contains(setting))
        return QLocale(setting);
    if (setting == QLatin1String("system")) {
        const QString language = QLocale::languageToCode(desktop.language());
        if (TranslatedLanguages.contains(language))
            return desktop;
    }
    // English everywhere else, with the desktop's country where it has one, so that dates read as
    // the operator expects them.
    return desktop.language() == QLocale::English ? desktop : QLocale(QLocale::English);
}

bool InstallTranslations(const QLocale &locale)
{
    QLocale::setDefault(locale);
    const QString language = QLocale::languageToCode(locale.language());
    if (!TranslatedLanguages.contains(language))
        return true;
    // Owned by the application for as long as it runs: a catalogue removed early would leave
    // the interface half translated.
    auto *own = new QTranslator(QCoreApplication::instance());
    const bool loaded = own->load(QStringLiteral(":/i18n/zoredit_%1.qm").arg(language));
    if (loaded)
        QCoreApplication::installTranslator(own);
    auto *qt = new QTranslator(QCoreApplication::instance());
    const QString qtName = QStringLiteral("qtbase_%1").arg(language);
    if (qt->load(qtName, QLibraryInfo::path(QLibraryInfo::TranslationsPath)) ||
        qt->load(
            qtName,
            QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("translations"))))
        QCoreApplication::installTranslator(qt);
    return loaded;
}

bool InstallTranslationsFromSettings(const QString &settingsFile)
{
    TProfileFile profile;
    profile.Load(QFile::encodeName(settingsFile).toStdString());
    return InstallTranslations(
        InterfaceLocale(QString::fromStdString(ReadLanguage(profile)), QLocale::system()));
}

} // namespace zor
