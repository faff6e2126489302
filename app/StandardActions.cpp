#include "app/StandardActions.h"

#include "app/Actions.h"

#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QMimeData>
#include <QTextDocument>
#include <QTextEdit>

namespace zor {

TStandardActions::TStandardActions(const std::vector<TAction *> &actions, QWidget *menuBar,
                                   std::function<QTextEdit *()> activeEditor,
                                   std::function<int()> documentCount, QObject *parent)
    : QObject(parent), Actions(actions), MenuBar(menuBar), ActiveEditor(std::move(activeEditor)),
      DocumentCount(std::move(documentCount))
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

TAction *TStandardActions::Find(const char *name) const
{
    for (TAction *a : Actions)
        if (a->objectName() == QLatin1String(name))
            return a;
    return nullptr;
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
            Find("EditUndo")->SetEnabled(available);
    });
    connect(editor->document(), &QTextDocument::contentsChanged, this, [this, editor] {
        if (editor == FocusedEditor())
            Find("EditSelectAll")->SetEnabled(!editor->document()->isEmpty());
    });
}

void TStandardActions::SetSelection(bool available)
{
    Find("EditCut")->SetEnabled(available);
    Find("EditCopy")->SetEnabled(available);
}

void TStandardActions::UpdatePaste()
{
    const QMimeData *clip = QApplication::clipboard()->mimeData();
    Find("EditPaste")->SetEnabled(clip && clip->hasText());
}

void TStandardActions::Update()
{
    QTextEdit *editor = FocusedEditor();
    SetSelection(editor && editor->textCursor().hasSelection());
    UpdatePaste();
    Find("EditSelectAll")->SetEnabled(editor && !editor->document()->isEmpty());
    Find("EditUndo")->SetEnabled(editor && editor->document()->isUndoAvailable());
    for (TAction *a : Actions)
        if (a->Group == TActionGroup::Windows)
            a->SetEnabled(DocumentCount() > 0);
}

} // namespace zor
