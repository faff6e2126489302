#include "comm/forms/Bargraf.h"

#include "comm/TransferRunner.h"

#include <QProgressBar>
#include <QPushButton>

namespace zor {

namespace {
// The design range of the bar, shown until the transfer has counted its blocks.
constexpr int InitialBarMaximum = 100;
} // namespace

TGraf::TGraf(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graf"));
    setWindowTitle(tr("Wait please..."));
    // No border icons: the transfer is broken off with Cancel, which lets the frame in flight
    // finish and closes the port properly.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(228, 72);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 8, 198, 18);
    ProgressBar1->setRange(0, InitialBarMaximum);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAccessibleName(tr("Cancel"));
    CancelButton->setToolTip(tr("Cancel the transfer"));
    CancelButton->setGeometry(76, 38, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, &TGraf::reject);
}

void TGraf::Follow(TTransferRunner *runner)
{
    if (Runner) {
        disconnect(Runner, nullptr, this, nullptr);
        disconnect(Runner, nullptr, ProgressBar1, nullptr);
        disconnect(this, nullptr, Runner, nullptr);
    }
    Runner = runner;
    if (!Runner)
        return;
    connect(Runner, &TTransferRunner::ProgramStarted, this, &TGraf::ProgramStarted);
    connect(Runner, &TTransferRunner::ProgressMaximum, ProgressBar1, &QProgressBar::setMaximum);
    connect(Runner, &TTransferRunner::ProgressPosition, ProgressBar1, &QProgressBar::setValue);
    connect(this, &TGraf::CancelRequested, Runner, &TTransferRunner::Cancel);
}

void TGraf::ProgramStarted()
{
    // Each transfer starts from an empty bar, not from where the last one ended.
    ProgressBar1->setRange(0, InitialBarMaximum);
    ProgressBar1->setValue(0);
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TGraf::showEvent(QShowEvent *event)
{
    CancelButton->setEnabled(true);
    CancelButton->setFocus();
    QDialog::showEvent(event);
}

void TGraf::reject()
{
    if (!CancelButton->isEnabled())
        return;
    CancelButton->setEnabled(false);
    emit CancelRequested();
}

} // namespace zor
