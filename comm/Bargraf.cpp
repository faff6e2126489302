#include "comm/Bargraf.h"

#include <QProgressBar>
#include <QPushButton>

namespace zor {

TGraf::TGraf(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Graf"));
    setWindowTitle(QStringLiteral("Wait please..."));
    // No border icons: the transfer is broken off with Cancel, which lets the frame in flight
    // finish and closes the port properly.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setFixedSize(228, 72);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(16, 8, 198, 18);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAccessibleName(QStringLiteral("Cancel"));
    CancelButton->setToolTip(QStringLiteral("Cancel the transfer"));
    CancelButton->setGeometry(76, 38, 75, 25);
    connect(CancelButton, &QPushButton::clicked, this, &TGraf::reject);
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
