#include "app/Actions.h"

#include "commands/Vocabulary.h"

#include <QAbstractButton>
#include <QAction>
#include <QWidget>

namespace zor {

bool NeedsDocument(TActionGroup group)
{
    switch (group) {
    case TActionGroup::Document:
    case TActionGroup::Clipboard:
    case TActionGroup::Contents:
    case TActionGroup::Undo:
        return true;
    default:
        return false;
    }
}

TAction::TAction(const QString &name, const QString &caption, const QString &hint,
                 const QKeySequence &shortcut, int imageIndex, TActionGroup group, QObject *parent)
    : QObject(parent), Caption(caption), Hint(hint), ShortCut(shortcut), ImageIndex(imageIndex),
      Group(group)
{
    setObjectName(name);
}

QString TAction::Category() const
{
    for (const char *c : {"File", "Edit", "Window", "Character", "Zor", "Help"})
        if (objectName().startsWith(QLatin1String(c)))
            return QLatin1String(c);
    return {};
}

void TAction::SetEnabled(bool enabled)
{
    if (EnabledState == enabled)
        return;
    EnabledState = enabled;
    emit EnabledChanged();
}

QString ShortHint(const QString &hint)
{
    return QString::fromStdString(std::string(GetShortHint(hint.toStdString())));
}

QString LongHint(const QString &hint)
{
    return QString::fromStdString(std::string(GetLongHint(hint.toStdString())));
}

void TItemBinder::Bind(QObject *item, TAction *action, bool enabledAtStart)
{
    if (!ItemAction.contains(item))
        Items << item;
    ItemAction.insert(item, action);
    ItemOwnEnabled.insert(item, enabledAtStart);
    if (auto *a = qobject_cast<QAction *>(item))
        connect(a, &QAction::triggered, action, &TAction::Execute);
    else if (auto *b = qobject_cast<QAbstractButton *>(item))
        connect(b, &QAbstractButton::clicked, action, &TAction::Execute);
    connect(action, &TAction::EnabledChanged, this, [this, item] { Refresh(item); });
    connect(item, &QObject::destroyed, this, [this](QObject *gone) {
        Items.removeOne(gone);
        ItemAction.remove(gone);
        ItemOwnEnabled.remove(gone);
    });
    Refresh(item);
}

void TItemBinder::SetItemEnabled(QObject *item, bool enabled)
{
    if (!item)
        return;
    ItemOwnEnabled.insert(item, enabled);
    Refresh(item);
}

QList<QObject *> TItemBinder::DocumentItems() const
{
    QList<QObject *> items;
    for (QObject *item : Items)
        if (NeedsDocument(ItemAction.value(item)->Group))
            items << item;
    return items;
}

void TItemBinder::Refresh(QObject *item)
{
    const bool enabled = ItemOwnEnabled.value(item, true) &&
                         (!ItemAction.contains(item) || ItemAction.value(item)->Enabled());
    if (auto *a = qobject_cast<QAction *>(item))
        a->setEnabled(enabled);
    else if (auto *w = qobject_cast<QWidget *>(item))
        w->setEnabled(enabled);
}

} // namespace zor
