// The Numeric fields dialog: accident-free days and accidents since 1 January.
#pragma once

#include "comm/PanelSend.h"

#include <QDialog>
#include <cstdint>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zor {

class TPanelCheckList;

class TVstup : public QDialog
{
    Q_OBJECT
public:
    explicit TVstup(QWidget *parent = nullptr);

    QLabel *Label1;
    QLabel *Label4;
    QLineEdit *Edit1;
    QLabel *Label2;
    QLabel *Label3;
    QLineEdit *Edit2;
    QPushButton *Button1;
    QPushButton *Button2;

    // Where the counters go, shown below them only while there are named panels: the port of
    // Parameters first, then each panel, each with a check box.
    QLabel *TargetLabel;
    TPanelCheckList *Targets;
    // Below the list: why Send is off (nothing ticked, or two ticked targets on one device).
    QLabel *Note;

    // Offers targets (the first is the port of Parameters). The ticks stay by name between
    // showings; the first showing ticks the port of Parameters. With a single target the list is
    // hidden and the dialog has its classic size.
    void SetTargets(const std::vector<TPanelTarget> &targets);
    // The ticked targets; the only one when the list is hidden.
    std::vector<TPanelTarget> TickedTargets() const;

    // Fills message (6 bytes) from the edit boxes, or marks it invalid (first byte 0xFF). The
    // edit boxes keep the operator's own text.
    void BuildMessage(std::uint8_t *message) const;

protected:
    // Every showing starts with the keyboard in Edit1, its text selected, whichever button
    // closed the dialog last: typed digits replace the old number, and Enter sends what is shown.
    void showEvent(QShowEvent *event) override;
};

} // namespace zor
