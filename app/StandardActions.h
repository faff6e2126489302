// The enabled state of the standard commands: Cut and Copy follow the focused editor's selection,
// Undo and Redo its undo stack, Select All its contents and Paste the clipboard. Each rule follows
// its own signal; nothing polls. The window arrangements follow the number of documents (the
// window's).
#pragma once

#include <QObject>
#include <functional>

class QAction;
class QTextEdit;
class QWidget;

namespace zor {

class TStandardActions : public QObject
{
    Q_OBJECT
public:
    // The window's actions these rules set; each outlives this object.
    struct TEditActions
    {
        QAction *Cut, *Copy, *Paste, *SelectAll, *Undo, *Redo;
    };

    // menuBar: the window's menu bar. activeEditor: the active document's editor, or nullptr.
    TStandardActions(TEditActions actions, QWidget *menuBar,
                     std::function<QTextEdit *()> activeEditor, QObject *parent);

    // The editor the edit commands act on: the focused one, or the active document's while the
    // focus is in the menus; nullptr when there is none.
    QTextEdit *FocusedEditor() const;

    // Keeps the rules current from editor's own signals while it is the focused one.
    void Follow(QTextEdit *editor);
    // Sets every rule from the current state: after a change of focus or of documents.
    void Update();
    // Paste follows the clipboard.
    void UpdatePaste();

private:
    void SetSelection(bool available);

    TEditActions Actions;
    QWidget *MenuBar;
    std::function<QTextEdit *()> ActiveEditor;
};

} // namespace zor
