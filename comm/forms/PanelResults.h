// The window with each panel's result after a transfer to several panels at once.
#pragma once

#include "comm/PanelSend.h"

#include <QDialog>
#include <QString>
#include <vector>

class QLabel;
class QPushButton;
class QTableWidget;

namespace zor {

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
