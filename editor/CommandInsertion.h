// Writing command units into a document: a command symbol with its digits goes in whole, in the
// symbol font and its kind's colour, or not at all.
#pragma once

#include "commands/Vocabulary.h"
#include "ui/Dialogs.h"

#include <QString>
#include <QTextCharFormat>

namespace zor {

class TRichEdit;

// The remembered plain-text font at start: Arial, 12 points, black, Central European charset.
TFontDialogState DefaultPlainFont();
// The symbol font at start, 8 points (a symbol is written 10 points larger).
TFontDialogState DefaultSymbolFont();

// The character format of a font dialog's choice: face, size, style, colour and charset.
QTextCharFormat FontDialogFormat(const TFontDialogState &font);

// Writes unit (a command symbol followed by its digits, or digits alone) at the caret of editor,
// in place of the selection, as characters of kind in the symbol font at 10 points more than its
// own size. Before writing, a caret in plain text stores its format as the remembered plain-text
// font (plainFont); afterwards the typing format is plainFont again.
// The length limit is checked for the whole unit first: when it does not fit, the editor beeps
// and nothing changes (document, selection and plainFont); returns false.
bool InsertCommandUnit(TRichEdit &editor, const QString &unit, TCommandKind kind,
                       TFontDialogState &plainFont, const TFontDialogState &symbolFont);

} // namespace zor
