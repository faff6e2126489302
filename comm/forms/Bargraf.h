// The progress window shown while a program goes to the panel.
#pragma once

#include <QDialog>
#include <QPointer>

class QProgressBar;
class QPushButton;

namespace zor {

class TTransferRunner;

class TGraf : public QDialog
{
    Q_OBJECT
public:
    explicit TGraf(QWidget *parent = nullptr);

    // Shows the program transfers of runner (null: none): at each start the window is shown
    // application-modal from an empty bar, then the bar follows the blocks; Cancel and Escape
    // cancel the transfer. The window stays up after the transfer has ended, so that its result
    // is told over it; whoever tells the result hides it. Not owned; one runner at a time.
    void Follow(TTransferRunner *runner);

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

private:
    void ProgramStarted();

    QPointer<TTransferRunner> Runner;
};

} // namespace zor
