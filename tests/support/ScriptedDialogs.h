// Dialogs for tests: every box or dialog that would be shown is recorded, and answers come from
// a queue the test fills. An empty queue answers with the box's first button (OK or Yes) and
// cancels file, font and print dialogs.
#pragma once

#include "ui/Dialogs.h"

#include <QList>
#include <QStringList>
#include <deque>
#include <functional>
#include <optional>
#include <ostream>

// Readable failure messages for Qt strings.
inline void PrintTo(const QString &s, std::ostream *os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace zor::test {

struct TShownBox
{
    QString Caption;
    QString Text;
    TMsgIcon Icon;
    TMsgButtons Buttons;
    std::optional<TMsgAnswer> Default; // the default button asked for with Ask
};

class TScriptedDialogs : public TDialogs
{
public:
    TScriptedDialogs() { Previous = SetDialogs(this); }
    ~TScriptedDialogs() override { SetDialogs(Previous); }

    QList<TShownBox> Boxes;
    QStringList Shown; // "box", "open", "save", "font", "print", "printersetup" in order

    std::deque<TMsgAnswer> Answers;
    // Called with each box as it is shown (the windows as they are then).
    std::function<void(const TShownBox &)> OnBox;
    // A file dialog pops a name: a non-empty one confirms it, an empty one cancels.
    std::deque<QString> FileNames;
    std::deque<std::function<bool(TFontDialogState &)>> FontChoices;
    std::deque<bool> PrintChoices;
    QList<TFileDialogState> FileDialogs; // the state each file dialog was shown with
    // Each form shown pops one: it gets the form (already shown, so its FormShow has run) and
    // returns the result. An empty queue cancels.
    std::deque<std::function<int(QDialog &)>> FormAnswers;

    TMsgAnswer MessageBox(QWidget *, const QString &caption, const QString &text, TMsgIcon icon,
                          TMsgButtons buttons) override;
    // Like MessageBox; an empty queue answers with the default button, as Enter would.
    TMsgAnswer Ask(QWidget *, const QString &caption, const QString &text, TMsgIcon icon,
                   TMsgButtons buttons, TMsgAnswer defaultAnswer) override;
    bool ExecuteOpen(QWidget *, TFileDialogState &state) override;
    bool ExecuteSave(QWidget *, TFileDialogState &state) override;
    bool ExecuteFont(QWidget *, TFontDialogState &state) override;
    bool ExecutePrint(QWidget *, QPrinter &printer) override;
    bool ExecutePrinterSetup(QWidget *, QPrinter &printer) override;
    int ExecuteForm(QDialog &form) override;

private:
    bool File(const char *kind, TFileDialogState &state);
    TDialogs *Previous = nullptr;
};

} // namespace zor::test
