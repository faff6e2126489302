#include "editor/CommandInsertion.h"

#include "base/SymbolTag.h"

#include "editor/Child.h"
#include "editor/EditCommands.h"
#include "ui/DocumentConversion.h"

#include <QApplication>
#include <QTextCursor>

namespace zor {

QTextCharFormat FontDialogFormat(const TFontDialogState &font)
{
    QTextCharFormat format;
    format.setFont(font.Font, QTextCharFormat::FontPropertiesAll);
    format.setFontFamilies(QStringList{font.Font.family()});
    format.setForeground(font.Color);
    format.setProperty(CharsetProperty, font.Charset);
    return format;
}

bool InsertCommandUnit(TRichEdit &editor, const QString &unit, TCommandKind kind,
                       TFontDialogState &plainFont, const TFontDialogState &symbolFont)
{
    editor.setFocus();
    // A symbol without its digits reads as another command: the unit goes in whole or not at all.
    if (!editor.Fits(unit.size())) {
        QApplication::beep();
        return false;
    }
    QTextCursor cursor = editor.textCursor();
    const QTextCharFormat current = cursor.charFormat();
    if ((FormatColour(current) & SymbolTagMask) == 0)
        TakeFontChoice(plainFont, current);
    QTextCharFormat symbol = FontDialogFormat(symbolFont);
    symbol.setForeground(ColourToQColor(KindColour(kind)));
    symbol.setFontPointSize(symbolFont.Font.pointSizeF() + 10);
    cursor.insertText(unit, symbol);
    editor.setTextCursor(cursor);
    editor.setCurrentCharFormat(FontDialogFormat(plainFont));
    return true;
}

TFontDialogState DefaultPlainFont()
{
    TFontDialogState state;
    state.Font = QFont(QStringLiteral("Arial"));
    state.Font.setPointSize(12);
    state.Color = Qt::black;
    state.Charset = 238;
    return state;
}

TFontDialogState DefaultSymbolFont()
{
    TFontDialogState state;
    state.Font = QFont(QString::fromLatin1(SymbolFace.data(), qsizetype(SymbolFace.size())));
    state.Font.setPointSize(8);
    state.Color = Qt::black;
    state.Charset = 2;
    return state;
}

} // namespace zor
