#include "app/SymbolCommands.h"

#include "commands/Input.h"
#include "commands/Vocabulary.h"
#include "ui/Dialogs.h"

namespace zor {

QString CommandUnit(const TCommandButton &button, TVloz *form)
{
    const QString symbol(QChar(button.Symbol));
    if (!button.TakesNumber())
        return symbol;
    if (!form)
        return {};
    form->SetParameterRange(QString(button.Digits, QLatin1Char('9')), button.Maximum,
                            button.Minimum);
    if (Dialogs().ExecuteForm(*form) != QDialog::Accepted)
        return {};
    return symbol + form->GetParameterText();
}

} // namespace zor
