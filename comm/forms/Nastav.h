// The Parameters dialog: the serial port, the baud rate and the transfer log on its first page,
// the named panels of the plant on its second.
#pragma once

#include "comm/Panels.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"

#include <QComboBox>
#include <QDialog>
#include <functional>
#include <memory>
#include <vector>

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

namespace zor {

class TDeviceTestRun;
struct TDeviceTestResult;

struct TFileDialogState;
class TPortEnumerator;

// An editable list that refreshes its items each time it opens, so that an adapter plugged in
// while the dialog is up is offered too.
class TPortCombo : public QComboBox
{
public:
    using QComboBox::QComboBox;
    std::function<void()> BeforePopup;
    void showPopup() override;
};

// Asks for a panel's name (Add and Rename on the Panels page): OK stays off while the name cannot
// name a panel (PanelNameProblem) or is taken by another panel, and the reason is shown.
class TPanelName : public QDialog
{
    Q_OBJECT
public:
    explicit TPanelName(QWidget *parent = nullptr);

    // Starts with name; taken: the other panels' names.
    void Ask(const QString &caption, const QString &name, const QStringList &taken);
    // Why the typed name cannot be taken; empty when it can.
    QString Problem() const;

    QLineEdit *NameEdit;
    QLabel *ProblemLabel;
    QPushButton *Button1;
    QPushButton *Button2;

private:
    void Update();
    QStringList Taken;
};

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

    // The pages: the port and log settings, and the named panels.
    QTabWidget *Pages;
    QWidget *PortPage;
    QWidget *PanelsPage;
    // The Panels page: a row per panel (name, device, own rate), the buttons that change the
    // list, the selected panel's device and rate, and the test of its device.
    QTreeWidget *PanelTable;
    QPushButton *PanelAdd;
    QPushButton *PanelRename;
    QPushButton *PanelRemove;
    TPortCombo *PanelDevice;
    QComboBox *PanelBaud; // item 0: the rate of the Port page; then 4800, 9600, 19200
    QPushButton *PanelTest;
    QLabel *PanelTestResult;
    TPanelName *NameDialog;

    // The panels as edited, in the order shown.
    std::vector<TNamedPanel> DialogPanels;
    // Makes the port of the Test button; the platform's unless a test sets it.
    std::function<std::unique_ptr<TSerialPort>()> PortFactory;

    void ApplyPanels(const std::vector<TNamedPanel> &panels);
    void TakePanels(std::vector<TNamedPanel> &panels) const;
    // Why OK cannot store the panels (a panel without a device); empty when it can.
    QString PanelsProblem() const;
    int CurrentPanel() const; // -1 for none
    void SelectPanel(int index);

    // Add and Rename ask for the name with NameDialog (through the dialogs interface); Remove
    // takes the selected panel away. A name that cannot be taken is refused with its reason.
    void PanelAddClick();
    void PanelRenameClick();
    void PanelRemoveClick();
    // Opens the selected panel's device at its rate on a worker thread and says what it found in
    // PanelTestResult; emits TestFinished. Nothing is sent.
    void PanelTestClick();
    bool TestRunning() const { return TestRun != nullptr; }

    void ApplySettings(const TCommSettings &settings);
    void TakeSettings(TCommSettings &settings) const;
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

signals:
    void TestFinished(bool ok, const QString &sentence);

public:
    ~TParamet() override; // stops a running test and waits for it

    // OK: refused with the reason while PanelsProblem is not empty.
    void accept() override;

protected:
    void showEvent(QShowEvent *event) override;
    void hideEvent(QHideEvent *event) override;

private:
    void BuildPanelsPage();
    void ShowPanel();
    void FillPanelRow(int index);
    void StopTest();
    void TestDone(std::uint64_t number, const QString &name, const TDeviceTestResult &result);

    TFileDialogState *SaveDialog;
    std::unique_ptr<TDeviceTestRun> TestRun;
    std::uint64_t TestNumber = 0; // of the test going on, so that a stopped one's answer is let go
};

} // namespace zor
