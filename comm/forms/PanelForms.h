// The windows of a transfer to several panels at once: the checklist of panels to send to, the
// choice dialog of Zor > Send to panels, the progress window with a bar per panel and one Cancel
// for all, and the window with each panel's result.
#pragma once

#include "comm/PanelTransfers.h"

#include <QDialog>
#include <QPointer>
#include <QTreeWidget>
#include <string>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTableWidget;

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

// The progress window of a transfer to several panels: a row per target with its name, a bar
// and where it is ("3 of 47 blocks", then its result); one Cancel stops them all.
class TPanelsProgress : public QDialog
{
    Q_OBJECT
public:
    explicit TPanelsProgress(QWidget *parent = nullptr);

    // Follows transfers (null: none), not owned: at its start the window is filled with a row
    // per target and shown application-modal; it stays up after the end, for the results to be
    // shown over it, and whoever shows them hides it.
    void Follow(TPanelTransfers *transfers);

    struct TRow
    {
        QLabel *Name;
        QProgressBar *Bar;
        QLabel *State;
    };
    const std::vector<TRow> &Rows() const { return RowList; }
    QPushButton *CancelButton;

signals:
    void CancelRequested();

protected:
    void showEvent(QShowEvent *event) override;
    // Escape and Cancel: the transfers stop; the window waits for them.
    void reject() override;

private:
    void Begin();
    void Progress(std::size_t row, int position);
    void Finished(std::size_t row, const TPanelOutcome &outcome);

    QPointer<TPanelTransfers> Transfers;
    int Blocks = 0; // of the program the rows follow; 0 for a numeric message
    QScrollArea *Scroll;
    QWidget *RowArea;
    std::vector<TRow> RowList;
};

// The text of a result for a row: the result code's message, or "Transfer cancelled".
QString ResultRowText(int code);

// One window with the end of every transfer: a row per target with its name, its result
// ("Communication O.K.", "Timeout", ...) and the cause where there is one.
class TPanelResults : public QDialog
{
    Q_OBJECT
public:
    explicit TPanelResults(QWidget *parent = nullptr);

    // Fills the rows: for targets[i] the outcome outcomes[i], and as its cause the frame a panel
    // stopped answering in, what zor says after the result (OutcomeCause: why the port failed, a
    // rate the panel does not work at) and a log that was not written.
    void SetResults(const QString &caption, const std::vector<TPanelTarget> &targets,
                    const std::vector<TPanelOutcome> &outcomes);

    QLabel *Summary;
    QTableWidget *Table;
    QPushButton *Button1;
};

} // namespace zor
