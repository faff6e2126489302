// The progress window of a transfer to several panels at once: a bar per panel and one Cancel for
// all.
#pragma once

#include "comm/PanelTransfers.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class QLabel;
class QProgressBar;
class QPushButton;
class QScrollArea;

namespace zor {

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

} // namespace zor
