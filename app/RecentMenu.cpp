#include "app/RecentMenu.h"

#include "ui/Dialogs.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QMenu>

namespace zor {

TRecentMenu::TRecentMenu(QMenu *menu, QAction *before, QWidget *dialogParent)
    : QObject(menu), Menu(menu), Before(before), DialogParent(dialogParent)
{
}

void TRecentMenu::Load(const QString &settingsFile, const TProfileFile &profile)
{
    SettingsFile = settingsFile;
    Files.Load(profile);
    Update();
}

void TRecentMenu::Remember(const QString &name)
{
    Files.Add(QFileInfo(name).absoluteFilePath().toStdString());
    Store();
}

QStringList TRecentMenu::Names() const
{
    QStringList names;
    for (const std::string &name : Files.Items())
        names << QString::fromStdString(name);
    return names;
}

void TRecentMenu::Choose(const QString &name)
{
    if (!QFileInfo(name).isFile()) {
        Dialogs().MessageBox(
            DialogParent, tr("Warning"),
            tr("%1 no longer exists.\nIt has been removed from the recent files.").arg(name),
            TMsgIcon::Warning, TMsgButtons::Ok);
        Files.Remove(name.toStdString());
        Store();
        return;
    }
    emit OpenRequested(name);
}

void TRecentMenu::Store()
{
    // The list is a convenience: a settings file that cannot be written must not interrupt
    // every open and save with a message, so a failure here is left silent.
    SaveRecentFiles(QFile::encodeName(SettingsFile).toStdString(), Files);
    Update();
}

void TRecentMenu::Update()
{
    qDeleteAll(MenuItems);
    MenuItems.clear();
    delete Menu->findChild<QAction *>(QStringLiteral("NRecent"), Qt::FindDirectChildrenOnly);
    const std::vector<std::string> &items = Files.Items();
    if (items.empty())
        return;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString name = QString::fromStdString(items[i]);
        QString shown = name;
        shown.replace(QLatin1Char('&'), QStringLiteral("&&"));
        auto *item = new QAction(QStringLiteral("&%1 %2").arg(i + 1).arg(shown), Menu);
        item->setObjectName(QStringLiteral("Recent%1").arg(i + 1));
        item->setStatusTip(tr("Opens %1").arg(name));
        connect(item, &QAction::triggered, this, [this, name] { Choose(name); });
        Menu->insertAction(Before, item);
        MenuItems << item;
    }
    auto *separator = new QAction(Menu);
    separator->setSeparator(true);
    separator->setObjectName(QStringLiteral("NRecent"));
    Menu->insertAction(Before, separator);
}

} // namespace zor
