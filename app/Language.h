// The interface language: English (the texts in the source) or a language with a catalogue.
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>

namespace zor {

// The languages the interface speaks besides English, by ISO 639-1 code.
inline const QStringList TranslatedLanguages = {QStringLiteral("cs")};

// The locale the interface follows for setting ("cs", "en" or "system", as ReadLanguage gives it):
// the chosen language's, or for "system" the desktop's (desktop, e.g. QLocale::system()) when its
// language has a catalogue, else English.
QLocale InterfaceLocale(const QString &setting, const QLocale &desktop);

// Installs the editor's catalogue for locale, and Qt's own for its standard dialogs, into the
// running application, and makes locale the default for dates and numbers shown to the operator.
// English installs nothing. Qt's catalogue is looked for where Qt keeps its translations, then
// in "translations" beside the program; where it is missing Qt's buttons stay English. Returns
// false when the editor's own catalogue could not be loaded (the interface then stays English).
// Needs a QCoreApplication; call it before the first window is made.
bool InstallTranslations(const QLocale &locale);

// Reads the language from the settings file and installs it as above.
bool InstallTranslationsFromSettings(const QString &settingsFile);

} // namespace zor
