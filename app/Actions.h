// The action list: one entry per command, with the caption, hint, shortcut and image that every
// menu item and toolbar button bound to it shows, and the rule its enabled state follows.
#pragma once

#include <QHash>
#include <QKeySequence>
#include <QObject>
#include <QString>

namespace zor {

// What an action's enabled state follows. Document commands need an open document: their items
// are greyed without one, whatever their action's own rule says.
enum class TActionGroup {
    Always,    // always available
    Document,  // an open document
    Selection, // a selection in the focused editor (Cut, Copy)
    Clipboard, // text on the clipboard, and an open document (Paste)
    Contents,  // a non-empty focused document, and an open document (Select All)
    Undo,      // something to undo in the focused editor, and an open document
    Windows,   // at least one document window (Cascade, Tile)
};

bool NeedsDocument(TActionGroup group);

class TAction : public QObject
{
    Q_OBJECT
public:
    TAction(const QString &name, const QString &caption, const QString &hint,
            const QKeySequence &shortcut, int imageIndex, TActionGroup group, QObject *parent);

    QString Category() const; // File, Edit, Window, Character, Zor or Help, from the name
    QString Caption;
    QString Hint; // "short|long", or one text for both
    QKeySequence ShortCut;
    int ImageIndex; // index into the image list, -1 for none
    TActionGroup Group;

    bool Enabled() const { return EnabledState; }
    void SetEnabled(bool enabled);

signals:
    void Execute();
    void EnabledChanged();

private:
    bool EnabledState = true;
};

// The two parts of a "short|long" hint; a hint without '|' is both.
QString ShortHint(const QString &hint);
QString LongHint(const QString &hint);

// Menu items and tool buttons bound to actions: an item is enabled when its own state and its
// action's both allow it.
class TItemBinder : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    // Binds item (a QAction or a QWidget) to action; the item runs the action when triggered.
    void Bind(QObject *item, TAction *action, bool enabledAtStart);
    void SetItemEnabled(QObject *item, bool enabled);
    // The items whose action needs an open document.
    QList<QObject *> DocumentItems() const;

private:
    void Refresh(QObject *item);

    QList<QObject *> Items; // in binding order
    QHash<QObject *, TAction *> ItemAction;
    QHash<QObject *, bool> ItemOwnEnabled;
};

} // namespace zor
