// The Parameters dialog's Panels page: the plant's named panels, a row each (name, device, own
// rate), with Add, Rename and Remove, the selected panel's device and rate, and the test of its
// device.
#pragma once

#include "comm/MqttSend.h"
#include "comm/Panels.h"
#include "comm/SerialPort.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;

namespace zor {

class TDeviceTestRun;
class TPanelName;
class TPortCombo;
struct TDeviceTestResult;

class TPanelsPage : public QWidget
{
    Q_OBJECT
public:
    explicit TPanelsPage(QWidget *parent = nullptr);
    ~TPanelsPage() override; // stops a running test and waits for it

    QTreeWidget *Table;
    QPushButton *Add;
    QPushButton *Rename;
    QPushButton *Remove;
    TPortCombo *Device;
    QComboBox *Baud; // item 0: the rate of the Port page; then 4800, 9600, 19200
    QPushButton *Test;
    QLabel *TestResult;
    TPanelName *NameDialog;

    // The panels as edited, in the order shown.
    std::vector<TNamedPanel> Edited;
    // Makes the port of the Test button; the platform's unless a test sets it.
    std::function<std::unique_ptr<TSerialPort>()> PortFactory;
    // What the test of a gateway's panel (an mqtt device) asks its broker with: the password
    // and CA of the settings; false with the reason when the password file cannot be read.
    std::function<bool(TMqttSendOptions *options, std::string *problem)> MqttOptions;
    // The rate of the Port page, which a panel without a rate of its own is tested at.
    std::function<std::int32_t()> PortPageBaud;
    // Fills a device list with the machine's ports, each time it opens.
    std::function<void(TPortCombo *)> RefreshPorts;

    void Apply(const std::vector<TNamedPanel> &panels);
    // The edited panels, their devices as typed made device paths.
    void Take(std::vector<TNamedPanel> &panels) const;
    // Why OK cannot store the panels (a panel without a device, or one the file named wrong);
    // empty when it can.
    QString Problem() const;
    int CurrentPanel() const; // -1 for none
    void SelectPanel(int index);

    // Add and Rename ask for the name with NameDialog (through the dialogs interface); Remove
    // takes the selected panel away. A name that cannot be taken is refused with its reason.
    void AddClick();
    void RenameClick();
    void RemoveClick();
    // Opens the selected panel's device at its rate on the device test's own thread and says what
    // it found in TestResult; emits TestFinished. Nothing is sent; a gateway's panel is said to
    // be online or offline as its broker holds it.
    void TestClick();
    bool TestRunning() const { return TestRun != nullptr; }
    // Gives up waiting for a connection still being tested; its answer is still shown if it
    // comes.
    void GiveUpTest();

signals:
    void TestFinished(bool ok, const QString &sentence);

private:
    void ShowPanel();
    void FillRow(int index);
    void StopTest();
    void TestDone(std::uint64_t number, const QString &name, const TDeviceTestResult &result);
    void ShowTestResult(const QString &name, const TDeviceTestResult &result);

    std::unique_ptr<TDeviceTestRun> TestRun;
    std::uint64_t TestNumber = 0; // of the test going on, so that a stopped one's answer is let go
};

} // namespace zor
