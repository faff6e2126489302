#include "editor/SymbolTips.h"

#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"
#include "ui/DocumentConversion.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
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

// SymbolTooltip's words, each sentence whole for the translator; the English comes out as
// SymbolTooltip gives it.
QString TranslatedSymbolTip(const TSymbolTip &tip)
{
    using enum TSymbolTip::TNumber;
    if (!tip.Button)
        return {};
    // The button's short hint: the words before the bar of the translated hint.
    const QString whole =
        QCoreApplication::translate("Vocabulary", std::string(tip.Button->Hint).c_str());
    const QString hint = whole.left(whole.indexOf(QLatin1Char('|')));
    const QString digits = QString::fromStdString(tip.Digits);
    const QString value = QString::number(tip.Value);
    switch (tip.Number) {
    case None:
        break;
    case PauseSeconds:
        return QCoreApplication::translate("SymbolTips", "%1 %2: %3 s").arg(hint, digits, value);
    case PauseTenths:
        return QCoreApplication::translate("SymbolTips", "%1 %2: 0.%3 s").arg(hint, digits, value);
    case Line:
        return QCoreApplication::translate("SymbolTips", "%1: %2").arg(hint, digits);
    case Seconds:
        return QCoreApplication::translate("SymbolTips", "%1: %2 s").arg(hint, value);
    case Times:
        // The English picks its word by the number; a language with more forms gets them all.
        return (tip.Value == 1
                    ? QCoreApplication::translate("SymbolTips", "%1: %n time", nullptr, tip.Value)
                    : QCoreApplication::translate("SymbolTips", "%1: %n times", nullptr, tip.Value))
            .arg(hint);
    case Text: {
        const std::string_view suffix = OrdinalSuffix(tip.Value);
        const QString sentence =
            suffix == "st"   ? QCoreApplication::translate("SymbolTips", "%1, the %2st text")
            : suffix == "nd" ? QCoreApplication::translate("SymbolTips", "%1, the %2nd text")
            : suffix == "rd" ? QCoreApplication::translate("SymbolTips", "%1, the %2rd text")
                             : QCoreApplication::translate("SymbolTips", "%1, the %2th text");
        return sentence.arg(hint, value);
    }
    }
    return hint;
}

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
    return TranslatedSymbolTip(SymbolTipParts(symbol, colour, digits, segment));
}

void InstallSymbolTips(QTextEdit *editor)
{
    editor->viewport()->installEventFilter(new TSymbolTipFilter(editor));
}

} // namespace zor
