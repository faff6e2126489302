// The editing policy of a document: clipboard commands keep command units whole, and text typed
// or formatted next to a symbol is plain text, never a symbol.
#pragma once

#include "ui/Dialogs.h"

#include <QTextCharFormat>

class QMimeData;
class QTextEdit;

namespace zor {

class TRichEdit;

// Widens the selection to whole command units: a symbol is never cut or copied apart from its
// digits.
void WidenToUnits(TRichEdit &editor);
void CutUnits(TRichEdit &editor);
void CopyUnits(TRichEdit &editor);

// Inserts clipboard data in front of the selection (which stays), or after the digits of a unit
// the caret stands in. Null data does nothing.
void PasteAtUnitBoundary(TRichEdit &editor, const QMimeData *data);

// The format typed text takes: the current one, unless that is a command symbol's, which gives
// way to plain.
QTextCharFormat TypingFormatAfter(const QTextCharFormat &current, const QTextCharFormat &plain);

// The format the font dialog starts from: the selection's first character, else the caret's.
QTextCharFormat FormatAtSelection(const QTextEdit &editor);

// Takes face, size, style, colour and charset of format into a font choice.
void TakeFontChoice(TFontDialogState &choice, const QTextCharFormat &format);

// Merges format into the selection and into the format of what is typed next.
void MergeFormat(QTextEdit &editor, const QTextCharFormat &format);

// Applies a font choice as plain text: its colour first loses any symbol tag (a formatted
// character is never a command), then it is merged as above.
void ApplyPlainFont(QTextEdit &editor, TFontDialogState &choice);

} // namespace zor
