// Tooltips over command symbols in a document: what the symbol does, with its number in words.
#pragma once

#include <QString>

class QTextDocument;
class QTextEdit;

namespace zor {

// The tooltip for the character at position of document: for a command symbol or one of its
// digits, the symbol's hint with its number (see SymbolTooltip); empty for anything else.
QString SymbolTipAt(const QTextDocument &document, int position);

// Shows SymbolTipAt for the character under the mouse pointer in the editor.
void InstallSymbolTips(QTextEdit *editor);

} // namespace zor
