// The enabled state of the standard commands: Cut and Copy follow the focused editor's selection,
// Undo its undo stack, Select All its contents, Paste the clipboard, and the window arrangements
// the number of document windows. Each rule follows its own signal; nothing polls.
#pragma once

#include <QObject>
#include <functional>
#include <vector>

class QTextEdit;
class QWidget;

namespace zor {

class TAction;

class TStandardActions : public QObject
{
    Q_OBJECT
public:
    // actions: the window's action list (kept by the window, read at each update). menuBar: the
    // window's menu bar. activeEditor: the active document's editor, or nullptr. documentCount:
    // the open document windows.
    TStandardActions(const std::vector<TAction *> &actions, QWidget *menuBar,
                     std::function<QTextEdit *()> activeEditor, std::function<int()> documentCount,
                     QObject *parent);

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
    TAction *Find(const char *name) const;
    void SetSelection(bool available);

    const std::vector<TAction *> &Actions;
    QWidget *MenuBar;
    std::function<QTextEdit *()> ActiveEditor;
    std::function<int()> DocumentCount;
};

} // namespace zor
