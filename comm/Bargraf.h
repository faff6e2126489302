// The progress window shown while a program goes to the panel.
#pragma once

#include <QDialog>

class QProgressBar;
class QPushButton;

namespace zor {

class TGraf : public QDialog
{
    Q_OBJECT
public:
    explicit TGraf(QWidget *parent = nullptr);

    QProgressBar *ProgressBar1;
    // Asks the running transfer to stop (Escape does the same); offered once per showing.
    QPushButton *CancelButton;

signals:
    // The operator wants the transfer stopped. The window stays up until the transfer has ended.
    void CancelRequested();

protected:
    void showEvent(QShowEvent *event) override;
    // Escape and the Cancel button: the window is hidden by its owner, not by the key.
    void reject() override;
};

} // namespace zor
