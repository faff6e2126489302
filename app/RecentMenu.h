// The recently opened documents at the end of the File menu, newest first, numbered 1 to 8 for
// the keyboard, and kept in section "Recent" of the settings file.
#pragma once

#include "app/RecentFiles.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace zor {

class TRecentMenu : public QObject
{
    Q_OBJECT
public:
    // The entries go into menu in front of before (Exit); dialogParent owns the messages.
    TRecentMenu(QMenu *menu, QAction *before, QWidget *dialogParent);

    // Takes the list from the contents of settingsFile and shows it; the list is written back
    // to settingsFile.
    void Load(const QString &settingsFile, const TProfileFile &profile);
    // Puts a document at the top of the list and writes the list to the settings file.
    void Remember(const QString &name);
    // Opens a document of the list (OpenRequested); one that no longer exists is dropped from
    // it with a message.
    void Choose(const QString &name);

    const QList<QAction *> &Items() const { return MenuItems; } // newest first
    QStringList Names() const; // the documents' full file names, newest first

signals:
    void OpenRequested(const QString &name);

private:
    void Store();
    void Update();

    QMenu *Menu;
    QAction *Before;
    QWidget *DialogParent;
    QString SettingsFile;
    TRecentFiles Files;
    QList<QAction *> MenuItems;
};

} // namespace zor
