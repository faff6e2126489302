// The one way ZorEdit asks the operator anything: message boxes and the open, save, font, print
// and printer-setup dialogs. The application installs TQtDialogs; tests install a scripted
// implementation that records what would be shown and answers from a script, so no test needs
// a screen or a person.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

class QDialog;
class QPrinter;
class QWidget;

namespace zor {

enum class TMsgIcon { Information, Warning, Error, Question };
// RecoverDiscard: the buttons "Recover" (answers Yes) and "Discard" (answers No).
// OverwriteSaveAsCancel: "Overwrite" (answers Yes), "Save As..." (answers No) and "Cancel".
enum class TMsgButtons { Ok, OkCancel, YesNo, YesNoCancel, RecoverDiscard, OverwriteSaveAsCancel };
enum class TMsgAnswer { Ok, Cancel, Yes, No };

// State of an open or save dialog, kept between showings like a form's dialog component.
// Filter uses the "Description|pattern|Description|pattern" form.
struct TFileDialogState
{
    QString Title;
    QString Filter;
    QString DefaultExt; // without the dot; added to a typed name that has no extension
    QString FileName;   // in: proposed name; out: the chosen full path
    QString InitialDir;
};

// State of a font dialog: the font with its effects and its colour, which may carry the symbol
// tag bits. Charset follows the RTF numbering (238 = Central European).
struct TFontDialogState
{
    QFont Font;
    QColor Color = Qt::black;
    int Charset = 238;
};

class TDialogs
{
public:
    virtual ~TDialogs() = default;

    // A modal message box. Text may hold line breaks ("\n"). Returns the button pressed; closing
    // the box without a button counts as Cancel (or No / Ok where there is no Cancel).
    virtual TMsgAnswer MessageBox(QWidget *parent, const QString &caption, const QString &text,
                                  TMsgIcon icon, TMsgButtons buttons) = 0;

    // The same box with defaultAnswer's button as the one Enter presses, for questions whose safe
    // answer is not the first button. Dialogs that cannot tell defaults apart show MessageBox.
    virtual TMsgAnswer Ask(QWidget *parent, const QString &caption, const QString &text,
                           TMsgIcon icon, TMsgButtons buttons, TMsgAnswer defaultAnswer)
    {
        (void)defaultAnswer;
        return MessageBox(parent, caption, text, icon, buttons);
    }

    // Run a file dialog. True when the operator confirmed a file, which is then in
    // state.FileName; false on cancel with the state unchanged.
    virtual bool ExecuteOpen(QWidget *parent, TFileDialogState &state) = 0;
    virtual bool ExecuteSave(QWidget *parent, TFileDialogState &state) = 0;

    // Run the font dialog on state; true and the new choice in state when confirmed.
    virtual bool ExecuteFont(QWidget *parent, TFontDialogState &state) = 0;

    // Run the print dialog (with printing to a file offered) or the printer set-up on printer.
    virtual bool ExecutePrint(QWidget *parent, QPrinter &printer) = 0;
    virtual bool ExecutePrinterSetup(QWidget *parent, QPrinter &printer) = 0;

    // Shows one of the application's own modal forms and returns its result (QDialog::Accepted
    // or Rejected).
    virtual int ExecuteForm(QDialog &form) = 0;
};

// The dialogs in use. Never null: the Qt implementation unless a test installed another.
TDialogs &Dialogs();

// Installs dialogs (not owned; nullptr restores the Qt implementation). Returns the previous one.
TDialogs *SetDialogs(TDialogs *dialogs);

// The application's standard error box for a failure inside a command: caption "ZorEdit",
// error icon, one OK button.
void ShowErrorBox(QWidget *parent, const QString &message);

// Converts a "Description|pattern|..." filter into Qt's "Description (pattern);;..." form.
QString QtFileFilter(const QString &filter);

class TQtDialogs : public TDialogs
{
public:
    TMsgAnswer MessageBox(QWidget *parent, const QString &caption, const QString &text,
                          TMsgIcon icon, TMsgButtons buttons) override;
    TMsgAnswer Ask(QWidget *parent, const QString &caption, const QString &text, TMsgIcon icon,
                   TMsgButtons buttons, TMsgAnswer defaultAnswer) override;
    bool ExecuteOpen(QWidget *parent, TFileDialogState &state) override;
    bool ExecuteSave(QWidget *parent, TFileDialogState &state) override;
    bool ExecuteFont(QWidget *parent, TFontDialogState &state) override;
    bool ExecutePrint(QWidget *parent, QPrinter &printer) override;
    bool ExecutePrinterSetup(QWidget *parent, QPrinter &printer) override;
    int ExecuteForm(QDialog &form) override;
};

} // namespace zor
