// The Parameters dialog: the serial port, the baud rate and the transfer log.
#pragma once

#include "comm/Settings.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;

namespace zor {

struct TFileDialogState;

class TParamet : public QDialog
{
    Q_OBJECT
public:
    // saveDialog: the main window's save dialog, which also chooses the log file (not owned).
    explicit TParamet(QWidget *parent = nullptr, TFileDialogState *saveDialog = nullptr);

    QGroupBox *CommPort;
    QButtonGroup *CommPortItems;
    QGroupBox *BaudRate;
    QButtonGroup *BaudRateItems;
    QCheckBox *CheckBoxWrite;
    QLineEdit *Cesta;
    QPushButton *Zmena;
    QPushButton *Button1;
    QPushButton *Button2;

    QString DialogPath;
    bool LogEnabled = false;

    void ApplySettings(const TCommSettings &settings);
    void TakeSettings(TCommSettings &settings) const;

    void FormShow();
    void CheckBoxWriteClick();
    // Chooses the log file with the document save dialog (default extension "log"); a chosen
    // file that exists and is not a log is accepted only when the operator agrees to replace it.
    void ZmenaClick();

    // Whether path names an existing file that is not a transfer log: its name does not end in
    // ".log", or it holds a document (rich text).
    static bool IsForeignFile(const QString &path);

    // Selected item of a radio group, -1 for none; setting -1 clears the selection.
    static int ItemIndex(const QButtonGroup *group);
    static void SetItemIndex(QButtonGroup *group, int index);

protected:
    void showEvent(QShowEvent *event) override;

private:
    TFileDialogState *SaveDialog;
};

} // namespace zor
