#include "app/StandardActions.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>
#include <QTextEdit>

namespace zor {

TStandardActions::TStandardActions(TEditActions actions, QWidget *menuBar,
                                   std::function<QTextEdit *()> activeEditor, QObject *parent)
    : QObject(parent), Actions(actions), MenuBar(menuBar), ActiveEditor(std::move(activeEditor))
{
}

QTextEdit *TStandardActions::FocusedEditor() const
{
    QWidget *focus = QApplication::focusWidget();
    // Opening a menu from the keyboard moves the focus into the menu bar; the edit commands
    // still act on the document the operator was typing in.
    if (focus && (focus == MenuBar || qobject_cast<QMenu *>(focus)))
        if (QTextEdit *editor = ActiveEditor())
            return editor;
    return qobject_cast<QTextEdit *>(focus);
}

void TStandardActions::Follow(QTextEdit *editor)
{
    // Each rule follows its own signal, and only for the editor the commands act on.
    connect(editor, &QTextEdit::copyAvailable, this, [this, editor](bool available) {
        if (editor == FocusedEditor())
            SetSelection(available);
    });
    connect(editor, &QTextEdit::undoAvailable, this, [this, editor](bool available) {
        if (editor == FocusedEditor())
            Actions.Undo->setEnabled(available);
    });
    connect(editor, &QTextEdit::redoAvailable, this, [this, editor](bool available) {
        if (editor == FocusedEditor())
            Actions.Redo->setEnabled(available);
    });
    connect(editor->document(), &QTextDocument::contentsChanged, this, [this, editor] {
        if (editor == FocusedEditor())
            Actions.SelectAll->setEnabled(!editor->document()->isEmpty());
    });
}

void TStandardActions::SetSelection(bool available)
{
    Actions.Cut->setEnabled(available);
    Actions.Copy->setEnabled(available);
}

void TStandardActions::UpdatePaste()
{
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    Actions.Paste->setEnabled(clip && clip->hasText());
}

void TStandardActions::Update()
{
    QTextEdit *editor = FocusedEditor();
    SetSelection(editor && editor->textCursor().hasSelection());
    UpdatePaste();
    Actions.SelectAll->setEnabled(editor && !editor->document()->isEmpty());
    Actions.Undo->setEnabled(editor && editor->document()->isUndoAvailable());
    Actions.Redo->setEnabled(editor && editor->document()->isRedoAvailable());
}

} // namespace zor
