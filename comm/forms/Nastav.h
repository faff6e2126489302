// The Parameters dialog: the serial port, the baud rate and the transfer log on its first page,
// the named panels of the plant on its second (comm/forms/PanelsPage.h), the interface's language
// on its third.
#pragma once

#include "comm/Settings.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QTabWidget;

namespace zor {

struct TFileDialogState;
class TPanelsPage;
class TPortCombo;
class TPortEnumerator;

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
    // Shown while the settings hold a rate the dialog does not offer, which OK replaces.
    QLabel *BaudNote;
    QCheckBox *CheckBoxWrite;
    QLineEdit *Cesta;
    QPushButton *Zmena;
    QPushButton *Button1;
    QPushButton *Button2;
    // The device of the selected port number: picked from the machine's ports or typed.
    QLabel *PortLabel;
    TPortCombo *PortDevice;

    QString DialogPath;
    bool LogEnabled = false;
    // The devices of the four numbers as edited; PortDevice shows the one of ShownPort (0..3).
    TPortDevices DialogDevices;
    int ShownPort = -1;

    // Where the list of ports comes from (not owned); the machine's ports unless a test sets it.
    const TPortEnumerator *PortEnumerator;

    // The pages: the port and log settings, the named panels and the interface's language.
    QTabWidget *Pages;
    QWidget *PortPage;
    TPanelsPage *Panels;
    QWidget *LanguagePage;
    // The desktop's language ("system"), English ("en") and Czech ("cs"), each named in itself.
    QListWidget *LanguageList;
    QLabel *LanguageNote;

    void ApplySettings(const TCommSettings &settings);
    void TakeSettings(TCommSettings &settings) const;
    // The language as ReadLanguage gives it; a value the list does not hold shows the desktop's.
    void ApplyLanguage(const QString &language);
    // "system", "en" or "cs", as WriteLanguage takes it. The running interface keeps its language
    // until the next start.
    QString TakeLanguage() const;
    void ApplyPortDevices(const TPortDevices &devices);
    // The edited devices: a bare name is taken as a node in /dev, an emptied entry goes back to
    // the number's default device.
    void TakePortDevices(TPortDevices &devices) const;

    void FormShow();
    void CheckBoxWriteClick();
    // Chooses the log file with the document save dialog (default extension "log"); a chosen
    // file that exists and is not a log is accepted only when the operator agrees to replace it.
    void ZmenaClick();
    // Shows the device of the newly selected number; no selection shows the fourth, which such
    // a port number opens.
    void CommPortClick();
    // Fills combo (the Port page's device or a panel's) with the machine's ports as they are now,
    // keeping what was typed in it.
    void RefreshPortList(TPortCombo *combo);

    // Whether path names an existing file that is not a transfer log: its name does not end in
    // ".log", or it holds a document (rich text), or it is a folder or a block device. A FIFO or
    // a character device (/dev/null) is no foreign file: it is written into, not replaced.
    static bool IsForeignFile(const QString &path);

    // Selected item of a radio group, -1 for none; setting -1 clears the selection.
    static int ItemIndex(const QButtonGroup *group);
    static void SetItemIndex(QButtonGroup *group, int index);

    // OK: refused with the reason while the Panels page has a problem.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    TFileDialogState *SaveDialog;
};

} // namespace zor
