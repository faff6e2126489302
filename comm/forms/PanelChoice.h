// Which panels a transfer goes to: the checklist of targets (Send to panels, Numeric fields) and
// the choice dialog of Zor > Send to panels.
#pragma once

#include "comm/PanelSend.h"

#include <QDialog>
#include <QStringList>
#include <QTreeWidget>
#include <vector>

class QLabel;
class QPushButton;

namespace zor {

// A list of transfer targets (name and device), each with a check box; Space ticks the current
// one.
class TPanelCheckList : public QTreeWidget
{
    Q_OBJECT
public:
    explicit TPanelCheckList(QWidget *parent = nullptr);

    // Shows targets (their names and devices), ticking those whose names are in ticked (names
    // compare without regard to case); the first one is current.
    void SetTargets(const std::vector<TPanelTarget> &targets, const QStringList &ticked);
    const std::vector<TPanelTarget> &Targets() const { return TargetList; }
    // The ticked targets in list order, and their names.
    std::vector<TPanelTarget> TickedTargets() const;
    QStringList Ticked() const;
    void SetTicked(const QStringList &names);

signals:
    void TickedChanged();

private:
    std::vector<TPanelTarget> TargetList;
};

// Shows label's text as a warning (dark red, wrapped), as the notes that say why Send is off.
void MarkAsWarning(QLabel *label);

// The refusal of two targets that name one device: "Hall1 and Gate use the same device
// (/dev/ttyUSB0): one device takes one transfer at a time." Empty when all devices differ.
QString SharedDeviceText(const std::vector<TPanelTarget> &targets);

// Zor > Send to panels...: which of the named panels the active document goes to.
class TPanelChoice : public QDialog
{
    Q_OBJECT
public:
    explicit TPanelChoice(QWidget *parent = nullptr);

    QLabel *Label1;
    TPanelCheckList *PanelList;
    QPushButton *AllButton;
    QPushButton *NoneButton;
    // Says why Send is off: nothing ticked, or two ticked panels on one device.
    QLabel *Note;
    QPushButton *SendButton;
    QPushButton *CancelButton;

private:
    void Update();
};

} // namespace zor
