#include "comm/forms/TransferDialogs.h"

#include "comm/NumericMessage.h"
#include "comm/Results.h"
#include "comm/TransferRunner.h"
#include "comm/forms/Numeric.h"
#include "ui/Dialogs.h"
#include "ui/MessageText.h"

#include <QCoreApplication>

namespace zor {

QString ResultMessageText(int code)
{
    const auto message = ResultMessage(code);
    if (!message)
        return QString::fromStdString(ResultText(code));
    QString text = QCoreApplication::translate("Results", std::string(message->Text).c_str());
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

QString SymbolFontTextText(const TSymbolFontText &found)
{
    if (found.Count == 0)
        return {};
    // Today's English says "1 character" and "the first" only for more than one: two sentences.
    if (found.Count == 1)
        return QCoreApplication::translate(
                   "TransferDialogs",
                   "The document holds 1 character in the symbol font without a command colour (on "
                   "line %1); the panel gets it as the plain character it is.")
            .arg(found.FirstLine);
    return QCoreApplication::translate(
               "TransferDialogs",
               "The document holds %n characters in the symbol font without a command colour (the "
               "first on line %1); the panel gets them as the plain characters they are.",
               nullptr, int(found.Count))
        .arg(found.FirstLine);
}

bool ConfirmSymbolFontText(QWidget *parent, const TSymbolFontText &found, const QString &question)
{
    const QString warning = SymbolFontTextText(found);
    if (warning.isEmpty())
        return true;
    return Dialogs().Ask(parent, QCoreApplication::translate("TransferDialogs", "Warning"),
                         warning + QStringLiteral("\n") + question, TMsgIcon::Warning,
                         TMsgButtons::YesNo, TMsgAnswer::No) == TMsgAnswer::Yes;
}

bool ConfirmSend(QWidget *parent, const TSendCheck &check)
{
    if (!ConfirmSymbolFontText(parent, check.SymbolFontText,
                               QCoreApplication::translate("TransferDialogs", "Send anyway?")))
        return false;
    const auto ask = [parent](const QString &text) {
        return Dialogs().Ask(parent, QCoreApplication::translate("TransferDialogs", "Warning"),
                             text, TMsgIcon::Warning, TMsgButtons::YesNo,
                             TMsgAnswer::No) == TMsgAnswer::Yes;
    };
    if (check.Empty)
        return ask(QCoreApplication::translate(
            "TransferDialogs", "The document is empty. Sending it clears the panel. Send anyway?"));
    const TUnshowableReport &unshowable = check.Unshowable;
    if (unshowable.Count == 0)
        return true;
    QString text = QCoreApplication::translate(
        "TransferDialogs", "The panel cannot show these characters; they are sent as '?':");
    for (const TUnshowable &u : unshowable.First) {
        const char32_t ch = u.Character;
        text += QCoreApplication::translate("TransferDialogs", "\nline %1, column %2: %3 (U+%4)")
                    .arg(u.Line)
                    .arg(u.Column)
                    .arg(QString::fromUcs4(&ch, 1))
                    .arg(uint(ch), 4, 16, QLatin1Char('0'));
    }
    if (unshowable.Count > unshowable.First.size())
        text += QCoreApplication::translate("TransferDialogs", "\nand %n more", nullptr,
                                            int(unshowable.Count - unshowable.First.size()));
    return ask(text + QStringLiteral("\n") +
               QCoreApplication::translate("TransferDialogs", "Send anyway?"));
}

void ShowResultBox(QWidget *parent, int code, const TMessage &cause)
{
    const auto message = ResultMessage(code);
    if (!message)
        return;
    QString text = ResultMessageText(code);
    if (!cause.empty())
        text += QLatin1Char('\n') + MessageText(cause);
    if (message->Box == TResultBox::Information)
        Dialogs().MessageBox(parent, QCoreApplication::translate("TransferDialogs", "Information"),
                             text, TMsgIcon::Information, TMsgButtons::Ok);
    else
        Dialogs().MessageBox(parent, QCoreApplication::translate("TransferDialogs", "Error"), text,
                             TMsgIcon::Error, TMsgButtons::Ok);
}

void ShowTransferResult(QWidget *parent, const TPanelOutcome &result)
{
    if (result.Code == ResultCancelled)
        Dialogs().MessageBox(parent, QCoreApplication::translate("TransferDialogs", "Information"),
                             QCoreApplication::translate("TransferDialogs", "Transfer cancelled"),
                             TMsgIcon::Information, TMsgButtons::Ok);
    else
        ShowResultBox(parent, result.Code, result.PortProblem);
    if (!result.LogProblem.empty())
        Dialogs().MessageBox(
            parent, QCoreApplication::translate("TransferDialogs", "Warning"),
            QCoreApplication::translate("TransferDialogs", "The transfer log was not written:\n%1")
                .arg(MessageText(result.LogProblem)),
            TMsgIcon::Warning, TMsgButtons::Ok);
}

bool AskNumericMessage(QWidget *parent, TVstup &form, std::uint8_t *message)
{
    for (;;) {
        if (Dialogs().ExecuteForm(form) != QDialog::Accepted)
            return false;
        form.BuildMessage(message);
        if (message[0] != NumericInvalidMark)
            return true;
        Dialogs().MessageBox(parent, QCoreApplication::translate("TransferDialogs", "Error"),
                             QCoreApplication::translate("TransferDialogs", "Only numeric value"),
                             TMsgIcon::Error, TMsgButtons::Ok);
    }
}

} // namespace zor
