#include "ui/Dialogs.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace zor {

namespace {

TQtDialogs &QtDialogs()
{
    static TQtDialogs dialogs;
    return dialogs;
}

TDialogs *Current = nullptr;

} // namespace

TDialogs &Dialogs()
{
    return Current ? *Current : QtDialogs();
}

TDialogs *SetDialogs(TDialogs *dialogs)
{
    TDialogs *previous = Current;
    Current = dialogs;
    return previous;
}

void ShowErrorBox(QWidget *parent, const QString &message)
{
    Dialogs().MessageBox(parent, QStringLiteral("ZorEdit"), message, TMsgIcon::Error,
                         TMsgButtons::Ok);
}

QString QtFileFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << parts[i] + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

static TMsgAnswer RunMessageBox(QWidget *parent, const QString &caption, const QString &text,
                                TMsgIcon icon, TMsgButtons buttons, const TMsgAnswer *defaultAnswer)
{
    QMessageBox box(parent);
    box.setWindowTitle(caption);
    // Plain text keeps runs of blanks that some fixed messages rely on.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    switch (icon) {
    case TMsgIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case TMsgIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case TMsgIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    case TMsgIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    }
    switch (buttons) {
    case TMsgButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case TMsgButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case TMsgButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case TMsgButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case TMsgButtons::RecoverDiscard:
        // The standard buttons keep their answers; only their words change.
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.button(QMessageBox::Yes)->setText(QCoreApplication::translate("TDialogs", "&Recover"));
        box.button(QMessageBox::No)->setText(QCoreApplication::translate("TDialogs", "&Discard"));
        // Escape and the close box keep the copies: nothing is deleted by a key pressed in
        // passing.
        box.setEscapeButton(QMessageBox::Yes);
        break;
    case TMsgButtons::OverwriteSaveAsCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.button(QMessageBox::Yes)
            ->setText(QCoreApplication::translate("TDialogs", "&Overwrite"));
        box.button(QMessageBox::No)
            ->setText(QCoreApplication::translate("TDialogs", "Save &As..."));
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    }
    if (defaultAnswer) {
        switch (*defaultAnswer) {
        case TMsgAnswer::Ok:
            box.setDefaultButton(QMessageBox::Ok);
            break;
        case TMsgAnswer::Cancel:
            box.setDefaultButton(QMessageBox::Cancel);
            break;
        case TMsgAnswer::Yes:
            box.setDefaultButton(QMessageBox::Yes);
            break;
        case TMsgAnswer::No:
            box.setDefaultButton(QMessageBox::No);
            break;
        }
    }
    switch (box.exec()) {
    case QMessageBox::Ok:
        return TMsgAnswer::Ok;
    case QMessageBox::Yes:
        return TMsgAnswer::Yes;
    case QMessageBox::No:
        return TMsgAnswer::No;
    default:
        if (buttons == TMsgButtons::Ok)
            return TMsgAnswer::Ok;
        return buttons == TMsgButtons::YesNo ? TMsgAnswer::No : TMsgAnswer::Cancel;
    }
}

TMsgAnswer TQtDialogs::MessageBox(QWidget *parent, const QString &caption, const QString &text,
                                  TMsgIcon icon, TMsgButtons buttons)
{
    return RunMessageBox(parent, caption, text, icon, buttons, nullptr);
}

TMsgAnswer TQtDialogs::Ask(QWidget *parent, const QString &caption, const QString &text,
                           TMsgIcon icon, TMsgButtons buttons, TMsgAnswer defaultAnswer)
{
    return RunMessageBox(parent, caption, text, icon, buttons, &defaultAnswer);
}

static bool RunFileDialog(QWidget *parent, TFileDialogState &state, bool save)
{
    const QString title = state.Title.isEmpty()
                              ? (save ? QCoreApplication::translate("TDialogs", "Save As")
                                      : QCoreApplication::translate("TDialogs", "Open"))
                              : state.Title;
    QFileDialog dialog(parent, title, state.InitialDir, QtFileFilter(state.Filter));
    // The caller asks its own overwrite question with its own wording.
    dialog.setOptions(save ? QFileDialog::DontConfirmOverwrite : QFileDialog::Options());
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    // Open accepts a name that does not exist yet: the document then starts empty under it.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(state.DefaultExt);
    if (!state.FileName.isEmpty())
        dialog.selectFile(state.FileName);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return false;
    state.FileName = dialog.selectedFiles().constFirst();
    return true;
}

bool TQtDialogs::ExecuteOpen(QWidget *parent, TFileDialogState &state)
{
    return RunFileDialog(parent, state, false);
}

bool TQtDialogs::ExecuteSave(QWidget *parent, TFileDialogState &state)
{
    return RunFileDialog(parent, state, true);
}

bool TQtDialogs::ExecuteFont(QWidget *parent, TFontDialogState &state)
{
    // Qt's font dialog has no colour choice of its own; the colour follows in a second step so
    // the effects (colour, underline, strike-out) are all offered.
    bool ok = false;
    QFont font = QFontDialog::getFont(&ok, state.Font, parent,
                                      QCoreApplication::translate("TDialogs", "Font"));
    if (!ok)
        return false;
    QColor color = QColorDialog::getColor(state.Color, parent,
                                          QCoreApplication::translate("TDialogs", "Color"));
    if (!color.isValid())
        return false;
    state.Font = font;
    state.Color = color;
    return true;
}

bool TQtDialogs::ExecutePrint(QWidget *parent, QPrinter &printer)
{
    QPrintDialog dialog(&printer, parent);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    return dialog.exec() == QDialog::Accepted;
}

bool TQtDialogs::ExecutePrinterSetup(QWidget *parent, QPrinter &printer)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

int TQtDialogs::ExecuteForm(QDialog &form)
{
    return form.exec();
}

} // namespace zor
