#include "comm/forms/PanelsProgress.h"

#include "comm/Results.h"
#include "comm/forms/TransferDialogs.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QVBoxLayout>

#include <algorithm>

namespace zor {

namespace {

QString Q(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

namespace {
constexpr int BarWidth = 200;
constexpr int VisibleRows = 8;
} // namespace

TPanelsProgress::TPanelsProgress(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PanelsProgress"));
    setWindowTitle(tr("Wait please..."));
    // As the single progress window: Cancel lets each frame in flight finish and closes the
    // ports properly, so there is no close box.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    Scroll = new QScrollArea(this);
    Scroll->setObjectName(QStringLiteral("Scroll"));
    Scroll->setWidgetResizable(true);
    Scroll->setFrameShape(QFrame::NoFrame);
    Scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    RowArea = new QWidget;
    new QGridLayout(RowArea);
    Scroll->setWidget(RowArea);
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAccessibleName(tr("Cancel"));
    CancelButton->setToolTip(tr("Cancel the transfers to every panel"));
    connect(CancelButton, &QPushButton::clicked, this, &TPanelsProgress::reject);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(CancelButton);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Scroll, 1);
    layout->addLayout(buttons);
}

void TPanelsProgress::Follow(TPanelTransfers *transfers)
{
    if (Transfers) {
        disconnect(Transfers, nullptr, this, nullptr);
        disconnect(this, nullptr, Transfers, nullptr);
    }
    Transfers = transfers;
    if (!Transfers)
        return;
    connect(Transfers, &TPanelTransfers::Started, this, &TPanelsProgress::Begin);
    connect(Transfers, &TPanelTransfers::ProgressPosition, this, &TPanelsProgress::Progress);
    connect(Transfers, &TPanelTransfers::PanelFinished, this, &TPanelsProgress::Finished);
    connect(this, &TPanelsProgress::CancelRequested, Transfers, &TPanelTransfers::Cancel);
}

void TPanelsProgress::Begin()
{
    auto *grid = static_cast<QGridLayout *>(RowArea->layout());
    for (const TRow &row : RowList) {
        delete row.Name;
        delete row.Bar;
        delete row.State;
    }
    RowList.clear();
    Blocks = Transfers->Blocks();
    const int blocks = Blocks;
    for (std::size_t i = 0; i < Transfers->Targets().size(); ++i) {
        const TPanelTarget &target = Transfers->Targets()[i];
        TRow row{new QLabel(Q(target.Name), RowArea), new QProgressBar(RowArea),
                 new QLabel(RowArea)};
        row.Name->setToolTip(Q(target.Device.Name));
        row.Bar->setFixedWidth(BarWidth);
        row.Bar->setTextVisible(false);
        row.Bar->setAccessibleName(Q(target.Name));
        // A numeric message is one frame: the bar only shows that it is on its way.
        row.Bar->setRange(0, blocks > 0 ? blocks : 0);
        row.Bar->setValue(0);
        row.State->setPalette(palette());
        row.State->setText(blocks > 0 ? tr("%1 of %n blocks", nullptr, blocks).arg(0)
                                      : tr("Sending"));
        row.State->setMinimumWidth(row.State->fontMetrics().horizontalAdvance(
            ResultRowText(ResultNoMemory) + QStringLiteral(", ") +
            tr("%1 of %n blocks", nullptr, 100).arg(QStringLiteral("000"))));
        const int r = int(i);
        grid->addWidget(row.Name, r, 0);
        grid->addWidget(row.Bar, r, 1);
        grid->addWidget(row.State, r, 2);
        RowList.push_back(row);
    }
    grid->setColumnStretch(2, 1);
    // Up to VisibleRows rows are shown whole; more scroll.
    const int rowHeight = RowList.empty() ? 24 : RowList.front().Bar->sizeHint().height() + 8;
    const int shown = std::min<int>(int(RowList.size()), VisibleRows);
    Scroll->setMinimumHeight(shown * rowHeight + 12);
    Scroll->setMinimumWidth(
        RowArea->sizeHint().width() +
        (int(RowList.size()) > VisibleRows ? style()->pixelMetric(QStyle::PM_ScrollBarExtent) : 0));
    adjustSize();
    setWindowModality(Qt::ApplicationModal);
    show();
}

void TPanelsProgress::Progress(std::size_t index, int position)
{
    if (index >= RowList.size())
        return;
    // The transfer counts the blocks after the first (one block: 1 when done).
    const int done = Blocks <= 1 ? position : position + 1;
    RowList[index].Bar->setValue(done);
    RowList[index].State->setText(tr("%1 of %n blocks", nullptr, Blocks).arg(done));
}

void TPanelsProgress::Finished(std::size_t index, const TPanelOutcome &result)
{
    if (index >= RowList.size())
        return;
    const TRow &row = RowList[index];
    if (result.Code == ResultOk) {
        row.Bar->setRange(0, std::max(1, row.Bar->maximum()));
        row.Bar->setValue(row.Bar->maximum());
    } else if (row.Bar->maximum() == 0) {
        row.Bar->setRange(0, 1); // a busy bar stops
        row.Bar->setValue(0);
    }
    row.State->setText(ResultRowText(result.Code));
    if (result.Code != ResultOk) {
        QPalette failed = row.State->palette();
        failed.setColor(QPalette::WindowText, Qt::darkRed);
        row.State->setPalette(failed);
    }
}

void TPanelsProgress::showEvent(QShowEvent *event)
{
    CancelButton->setEnabled(true);
    CancelButton->setFocus();
    QDialog::showEvent(event);
}

void TPanelsProgress::reject()
{
    if (!CancelButton->isEnabled())
        return;
    CancelButton->setEnabled(false);
    emit CancelRequested();
}

QString ResultRowText(int code)
{
    if (code == ResultCancelled)
        return QCoreApplication::translate("TransferDialogs", "Transfer cancelled");
    return ResultMessageText(code).simplified();
}

} // namespace zor
