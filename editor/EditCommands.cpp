#include "editor/EditCommands.h"

#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/CommandInsertion.h"
#include "ui/DocumentConversion.h"

#include <QTextCursor>

namespace zor {

void WidenToUnits(TRichEdit &editor)
{
    const QTextCursor c = editor.textCursor();
    SelectRange(editor,
                WidenSelection(TDocumentUnits(*editor.document()),
                               {c.selectionStart(), c.selectionEnd() - c.selectionStart()}));
}

void CutUnits(TRichEdit &editor)
{
    WidenToUnits(editor);
    editor.cut();
}

void CopyUnits(TRichEdit &editor)
{
    WidenToUnits(editor);
    editor.copy();
}

void PasteAtUnitBoundary(TRichEdit &editor, const QMimeData *data)
{
    if (!data)
        return;
    const int at =
        InsertPosition(TDocumentUnits(*editor.document()), editor.textCursor().selectionStart());
    SelectRange(editor, {at, 0});
    editor.InsertClipboardData(data);
}

QTextCharFormat TypingFormatAfter(const QTextCharFormat &current, const QTextCharFormat &plain)
{
    return IsCommandSymbol(FormatColour(current)) ? plain : current;
}

QTextCharFormat FormatAtSelection(const QTextEdit &editor)
{
    const QTextCursor c = editor.textCursor();
    if (!c.hasSelection())
        return editor.currentCharFormat();
    // A cursor reports the format of the character before it.
    QTextCursor first(editor.document());
    first.setPosition(c.selectionStart() + 1);
    return first.charFormat();
}

void TakeFontChoice(TFontDialogState &choice, const QTextCharFormat &format)
{
    choice.Font = format.font();
    choice.Color = ColourToQColor(FormatColour(format));
    if (format.hasProperty(CharsetProperty))
        choice.Charset = format.intProperty(CharsetProperty);
}

void MergeFormat(QTextEdit &editor, const QTextCharFormat &format)
{
    QTextCursor c = editor.textCursor();
    if (c.hasSelection())
        c.mergeCharFormat(format);
    editor.mergeCurrentCharFormat(format);
}

void ApplyPlainFont(QTextEdit &editor, TFontDialogState &choice)
{
    choice.Color = ColourToQColor(QColorToColour(choice.Color) & ~SymbolTagMask);
    MergeFormat(editor, FontDialogFormat(choice));
}

} // namespace zor
