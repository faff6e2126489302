#include "tests/support/ScriptedDialogs.h"

#include <QDialog>

namespace zor::test {

TMsgAnswer TScriptedDialogs::MessageBox(QWidget *, const QString &caption, const QString &text,
                                        TMsgIcon icon, TMsgButtons buttons)
{
    Boxes.push_back({caption, text, icon, buttons, std::nullopt});
    Shown << QStringLiteral("box");
    if (OnBox)
        OnBox(Boxes.back());
    if (!Answers.empty()) {
        TMsgAnswer answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    return buttons == TMsgButtons::YesNo || buttons == TMsgButtons::YesNoCancel ||
                   buttons == TMsgButtons::RecoverDiscard
               ? TMsgAnswer::Yes
               : TMsgAnswer::Ok;
}

TMsgAnswer TScriptedDialogs::Ask(QWidget *parent, const QString &caption, const QString &text,
                                 TMsgIcon icon, TMsgButtons buttons, TMsgAnswer defaultAnswer)
{
    const bool scripted = !Answers.empty();
    const TMsgAnswer answer = MessageBox(parent, caption, text, icon, buttons);
    Boxes.back().Default = defaultAnswer;
    return scripted ? answer : defaultAnswer;
}

bool TScriptedDialogs::File(const char *kind, TFileDialogState &state)
{
    Shown << QLatin1String(kind);
    FileDialogs.push_back(state);
    if (FileNames.empty())
        return false;
    QString name = FileNames.front();
    FileNames.pop_front();
    if (name.isEmpty())
        return false;
    state.FileName = name;
    return true;
}

bool TScriptedDialogs::ExecuteOpen(QWidget *, TFileDialogState &state)
{
    return File("open", state);
}

bool TScriptedDialogs::ExecuteSave(QWidget *, TFileDialogState &state)
{
    return File("save", state);
}

bool TScriptedDialogs::ExecuteFont(QWidget *, TFontDialogState &state)
{
    Shown << QStringLiteral("font");
    if (FontChoices.empty())
        return false;
    auto choose = FontChoices.front();
    FontChoices.pop_front();
    return choose(state);
}

bool TScriptedDialogs::ExecutePrint(QWidget *, QPrinter &)
{
    Shown << QStringLiteral("print");
    if (PrintChoices.empty())
        return false;
    bool ok = PrintChoices.front();
    PrintChoices.pop_front();
    return ok;
}

bool TScriptedDialogs::ExecutePrinterSetup(QWidget *, QPrinter &)
{
    Shown << QStringLiteral("printersetup");
    return false;
}

int TScriptedDialogs::ExecuteForm(QDialog &form)
{
    Shown << QLatin1String(form.metaObject()->className());
    form.show();
    int result = QDialog::Rejected;
    if (!FormAnswers.empty()) {
        auto answer = FormAnswers.front();
        FormAnswers.pop_front();
        result = answer(form);
    }
    form.hide();
    return result;
}

} // namespace zor::test
