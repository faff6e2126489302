#include "editor/SymbolTips.h"

#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"
#include "ui/DocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QHelpEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextEdit>
#include <QToolTip>

namespace zor {

namespace {

// The character at position and its colour (0 for text); false past the end.
bool CharAt(const QTextDocument &document, int position, QChar &ch, std::uint32_t &colour)
{
    if (position < 0 || position >= document.characterCount() - 1)
        return false;
    ch = document.characterAt(position);
    QTextCursor c(const_cast<QTextDocument *>(&document));
    c.setPosition(position + 1); // the format of the character before the cursor
    // Outside the symbol font a tagged colour is only a colour: such a character is text.
    const QTextCharFormat format = c.charFormat();
    colour = IsCommandFormat(format) ? FormatColour(format) : 0;
    return true;
}

bool IsTaggedDigit(QChar ch, std::uint32_t colour)
{
    return IsCommandSymbol(colour) && ch.unicode() < 0x100 &&
           IsDigitSymbol(static_cast<unsigned char>(ch.unicode()));
}

class TSymbolTipFilter : public QObject
{
public:
    TSymbolTipFilter(QTextEdit *editor) : QObject(editor), Editor(editor) {}

    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() != QEvent::ToolTip)
            return false;
        auto *help = static_cast<QHelpEvent *>(event);
        const QPointF point = help->pos() + QPointF(Editor->horizontalScrollBar()->value(),
                                                    Editor->verticalScrollBar()->value());
        const int position = Editor->document()->documentLayout()->hitTest(point, Qt::ExactHit);
        const QString tip = SymbolTipAt(*Editor->document(), position);
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, Editor->viewport());
        return true;
    }

private:
    QTextEdit *Editor;
};

} // namespace

QString SymbolTipAt(const QTextDocument &document, int position)
{
    QChar ch;
    std::uint32_t colour = 0;
    if (!CharAt(document, position, ch, colour) || !IsCommandSymbol(colour))
        return {};
    // A digit belongs to the symbol before it (at most two digits follow a symbol).
    for (int back = 0; back < 2 && IsTaggedDigit(ch, colour); ++back) {
        if (!CharAt(document, position - 1, ch, colour) || !IsCommandSymbol(colour))
            return {};
        --position;
    }
    const char16_t code =
        ch.unicode() >= 0xF020 && ch.unicode() <= 0xF0FF ? ch.unicode() & 0xFF : ch.unicode();
    if (code >= 0x100 || IsDigitSymbol(static_cast<unsigned char>(code)))
        return {};
    std::string digits;
    QChar next;
    std::uint32_t nextColour = 0;
    for (int i = 1; i <= 2 && CharAt(document, position + i, next, nextColour) &&
                    IsTaggedDigit(next, nextColour);
         ++i)
        digits += static_cast<char>(next.unicode());
    const auto symbol = static_cast<unsigned char>(code);
    int segment = -1;
    const TCommandButton *button = nullptr;
    for (const TCommandButton &b : CommandButtons)
        if (b.Symbol == symbol)
            button = &b;
    if (button && button->Kind == TCommandKind::ckTransition)
        segment = TextNumberAfter(DocumentFromText(document), static_cast<std::size_t>(position));
    return QString::fromStdString(SymbolTooltip(symbol, colour, digits, segment));
}

void InstallSymbolTips(QTextEdit *editor)
{
    editor->viewport()->installEventFilter(new TSymbolTipFilter(editor));
}

} // namespace zor
