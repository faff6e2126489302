#include "comm/forms/TransferDialogs.h"

#include "comm/NumericMessage.h"
#include "comm/Results.h"
#include "comm/TransferRunner.h"
#include "comm/forms/Numeric.h"
#include "ui/Dialogs.h"

namespace zor {

bool ConfirmSymbolFontText(QWidget *parent, const TSymbolFontText &found, const QString &action)
{
    const std::string warning = SymbolFontTextWarning(found);
    if (warning.empty())
        return true;
    return Dialogs().Ask(parent, QStringLiteral("Warning"),
                         QString::fromStdString(warning) + QStringLiteral("\n") + action +
                             QStringLiteral(" anyway?"),
                         TMsgIcon::Warning, TMsgButtons::YesNo, TMsgAnswer::No) == TMsgAnswer::Yes;
}

bool ConfirmSend(QWidget *parent, const TSendCheck &check)
{
    if (!ConfirmSymbolFontText(parent, check.SymbolFontText, QStringLiteral("Send")))
        return false;
    const auto ask = [parent](const QString &text) {
        return Dialogs().Ask(parent, QStringLiteral("Warning"), text, TMsgIcon::Warning,
                             TMsgButtons::YesNo, TMsgAnswer::No) == TMsgAnswer::Yes;
    };
    if (check.Empty)
        return ask(
            QStringLiteral("The document is empty. Sending it clears the panel. Send anyway?"));
    const TUnshowableReport &unshowable = check.Unshowable;
    if (unshowable.Count == 0)
        return true;
    QString text = QStringLiteral("The panel cannot show these characters; they are sent as '?':");
    for (const TUnshowable &u : unshowable.First) {
        const char32_t ch = u.Character;
        text += QStringLiteral("\nline %1, column %2: %3 (U+%4)")
                    .arg(u.Line)
                    .arg(u.Column)
                    .arg(QString::fromUcs4(&ch, 1))
                    .arg(uint(ch), 4, 16, QLatin1Char('0'));
    }
    if (unshowable.Count > unshowable.First.size())
        text += QStringLiteral("\nand %1 more").arg(unshowable.Count - unshowable.First.size());
    return ask(text + QStringLiteral("\nSend anyway?"));
}

void ShowResultBox(QWidget *parent, int code, const std::string &cause)
{
    const auto message = ResultMessage(code);
    if (!message)
        return;
    QString text = QString::fromStdString(ResultText(code));
    if (!cause.empty())
        text += QLatin1Char('\n') + QString::fromStdString(cause);
    if (message->Box == TResultBox::Information)
        Dialogs().MessageBox(parent, QStringLiteral("Information"), text, TMsgIcon::Information,
                             TMsgButtons::Ok);
    else
        Dialogs().MessageBox(parent, QStringLiteral("Error"), text, TMsgIcon::Error,
                             TMsgButtons::Ok);
}

void ShowTransferResult(QWidget *parent, const TPanelOutcome &result)
{
    if (result.Code == ResultCancelled)
        Dialogs().MessageBox(parent, QStringLiteral("Information"),
                             QStringLiteral("Transfer cancelled"), TMsgIcon::Information,
                             TMsgButtons::Ok);
    else
        ShowResultBox(parent, result.Code, result.PortProblem);
    if (!result.LogProblem.empty())
        Dialogs().MessageBox(parent, QStringLiteral("Warning"),
                             QStringLiteral("The transfer log was not written:\n%1")
                                 .arg(QString::fromStdString(result.LogProblem)),
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
        Dialogs().MessageBox(parent, QStringLiteral("Error"), QStringLiteral("Only numeric value"),
                             TMsgIcon::Error, TMsgButtons::Ok);
    }
}

} // namespace zor
