#include "comm/forms/PanelForms.h"

#include "comm/Panels.h"
#include "comm/Results.h"
#include "comm/forms/TransferDialogs.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace zor {

namespace {

QString Q(const std::string &s)
{
    return QString::fromStdString(s);
}

} // namespace

void MarkAsWarning(QLabel *label)
{
    QPalette warning = label->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    label->setPalette(warning);
    label->setWordWrap(true);
}

// ---- the checklist ----

TPanelCheckList::TPanelCheckList(QWidget *parent) : QTreeWidget(parent)
{
    setObjectName(QStringLiteral("PanelList"));
    setAccessibleName(tr("Panels"));
    setHeaderLabels({tr("Panel"), tr("Device")});
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    connect(this, &QTreeWidget::itemChanged, this, &TPanelCheckList::TickedChanged);
}

void TPanelCheckList::SetTargets(const std::vector<TPanelTarget> &targets,
                                 const QStringList &ticked)
{
    {
        const QSignalBlocker block(this);
        clear();
        TargetList = targets;
        for (const TPanelTarget &target : targets) {
            auto *item = new QTreeWidgetItem(this, {Q(target.Name), Q(target.Device.Name)});
            item->setData(0, Qt::UserRole, Q(target.Name));
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setCheckState(0, ticked.contains(Q(target.Name), Qt::CaseInsensitive)
                                       ? Qt::Checked
                                       : Qt::Unchecked);
            const QString tip =
                tr("%1: %2, %3 baud").arg(Q(target.Name), Q(target.Device.Name)).arg(target.Baud);
            item->setToolTip(0, tip);
            item->setToolTip(1, tip);
        }
        resizeColumnToContents(0);
        setCurrentItem(topLevelItem(0));
    }
    emit TickedChanged();
}

std::vector<TPanelTarget> TPanelCheckList::TickedTargets() const
{
    std::vector<TPanelTarget> ticked;
    for (int i = 0; i < topLevelItemCount() && std::size_t(i) < TargetList.size(); ++i)
        if (topLevelItem(i)->checkState(0) == Qt::Checked)
            ticked.push_back(TargetList[std::size_t(i)]);
    return ticked;
}

QStringList TPanelCheckList::Ticked() const
{
    QStringList names;
    for (const TPanelTarget &target : TickedTargets())
        names << Q(target.Name);
    return names;
}

void TPanelCheckList::SetTicked(const QStringList &names)
{
    {
        const QSignalBlocker block(this);
        for (int i = 0; i < topLevelItemCount(); ++i)
            topLevelItem(i)->setCheckState(
                0, names.contains(topLevelItem(i)->data(0, Qt::UserRole).toString(),
                                  Qt::CaseInsensitive)
                       ? Qt::Checked
                       : Qt::Unchecked);
    }
    emit TickedChanged();
}

QString SharedDeviceText(const std::vector<TPanelTarget> &targets)
{
    const auto shared = FindSharedDevice(targets);
    if (!shared)
        return {};
    const TPanelTarget &a = targets[shared->first];
    const TPanelTarget &b = targets[shared->second];
    return QCoreApplication::translate("TransferDialogs",
                                       "%1 and %2 use the same device (%3): one device takes one "
                                       "transfer at a time.")
        .arg(Q(a.Name), Q(b.Name), Q(a.Device.Name));
}

// ---- Send to panels ----

TPanelChoice::TPanelChoice(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PanelChoice"));
    setWindowTitle(tr("Send to panels"));
    setStatusTip(tr("Choose the panels the document goes to"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);

    Label1 = new QLabel(tr("Send the active document to these &panels:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    PanelList = new TPanelCheckList(this);
    Label1->setBuddy(PanelList);
    AllButton = new QPushButton(tr("&All"), this);
    AllButton->setObjectName(QStringLiteral("AllButton"));
    AllButton->setToolTip(tr("Tick every panel"));
    NoneButton = new QPushButton(tr("N&one"), this);
    NoneButton->setObjectName(QStringLiteral("NoneButton"));
    NoneButton->setToolTip(tr("Untick every panel"));
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    MarkAsWarning(Note);
    SendButton = new QPushButton(tr("Send"), this);
    SendButton->setObjectName(QStringLiteral("SendButton"));
    SendButton->setDefault(true);
    SendButton->setToolTip(tr("Send to the ticked panels"));
    CancelButton = new QPushButton(tr("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setToolTip(tr("Cancelled"));

    auto *side = new QVBoxLayout;
    side->addWidget(AllButton);
    side->addWidget(NoneButton);
    side->addStretch();
    auto *middle = new QHBoxLayout;
    middle->addWidget(PanelList, 1);
    middle->addLayout(side);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(SendButton);
    buttons->addWidget(CancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(middle, 1);
    layout->addWidget(Note);
    layout->addLayout(buttons);
    resize(420, 280);

    connect(AllButton, &QPushButton::clicked, this, [this] {
        QStringList all;
        for (const TPanelTarget &target : PanelList->Targets())
            all << Q(target.Name);
        PanelList->SetTicked(all);
    });
    connect(NoneButton, &QPushButton::clicked, this, [this] { PanelList->SetTicked({}); });
    connect(PanelList, &TPanelCheckList::TickedChanged, this, &TPanelChoice::Update);
    connect(SendButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    setTabOrder(PanelList, AllButton);
    setTabOrder(AllButton, NoneButton);
    setTabOrder(NoneButton, SendButton);
    setTabOrder(SendButton, CancelButton);
    Update();
}

void TPanelChoice::Update()
{
    const std::vector<TPanelTarget> ticked = PanelList->TickedTargets();
    const QString shared = SharedDeviceText(ticked);
    Note->setText(ticked.empty() ? tr("Tick the panels to send to.") : shared);
    Note->setVisible(!Note->text().isEmpty());
    SendButton->setEnabled(!ticked.empty() && shared.isEmpty());
}

// ---- progress ----

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

// ---- results ----

QString ResultRowText(int code)
{
    if (code == ResultCancelled)
        return QCoreApplication::translate("TransferDialogs", "Transfer cancelled");
    return ResultMessageText(code).simplified();
}

TPanelResults::TPanelResults(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PanelResults"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    Summary = new QLabel(this);
    Summary->setObjectName(QStringLiteral("Summary"));
    Table = new QTableWidget(0, 3, this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setAccessibleName(tr("Result of each panel"));
    Table->setHorizontalHeaderLabels({tr("Panel"), tr("Result"), tr("Cause")});
    Table->verticalHeader()->hide();
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setWordWrap(true);
    Table->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setSectionResizeMode(1, QHeaderView::ResizeToContents);
    Table->horizontalHeader()->setSectionResizeMode(2, QHeaderView::Stretch);
    Table->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Button1 = new QPushButton(tr("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(Table, 1);
    layout->addLayout(buttons);
    resize(680, 300);
}

void TPanelResults::SetResults(const QString &caption, const std::vector<TPanelTarget> &targets,
                               const std::vector<TPanelOutcome> &results)
{
    setWindowTitle(caption);
    Table->setRowCount(0);
    int good = 0;
    const QIcon okIcon = style()->standardIcon(QStyle::SP_DialogApplyButton);
    const QIcon failIcon = style()->standardIcon(QStyle::SP_MessageBoxCritical);
    for (std::size_t i = 0; i < targets.size() && i < results.size(); ++i) {
        const TPanelOutcome &result = results[i];
        const int row = Table->rowCount();
        Table->insertRow(row);
        auto *name = new QTableWidgetItem(Q(targets[i].Name));
        name->setToolTip(Q(targets[i].Device.Name));
        Table->setItem(row, 0, name);
        auto *text = new QTableWidgetItem(ResultRowText(result.Code));
        text->setIcon(result.Code == ResultOk ? okIcon : failIcon);
        Table->setItem(row, 1, text);
        QString cause = Q(OutcomeCause(targets[i], result));
        if ((result.Code == ResultTimeout || result.Code == ResultProgramDisabled) &&
            result.Frame >= 0) {
            const QString frame =
                result.Frame == 0 ? tr("During the Open frame.")
                : result.Frame > result.Blocks
                    ? tr("During the Close frame, after all %n blocks.", nullptr, result.Blocks)
                    : tr("During block %1 of %2.").arg(result.Frame).arg(result.Blocks);
            cause = cause.isEmpty() ? frame : frame + QStringLiteral("\n") + cause;
        }
        if (!result.LogProblem.empty())
            cause += (cause.isEmpty() ? QString() : QStringLiteral("\n")) +
                     tr("The transfer log was not written: %1").arg(Q(result.LogProblem));
        auto *causeItem = new QTableWidgetItem(cause);
        causeItem->setToolTip(cause);
        Table->setItem(row, 2, causeItem);
        if (result.Code == ResultOk)
            ++good;
    }
    const int all = Table->rowCount();
    Summary->setText(
        good == all
            ? tr("Every panel took it (%n of %n).", nullptr, all)
            // %n counts the panels sent to: 1 of 3 panels took it; 2 did not.
            : tr("%1 of %n panels took it; %2 did not.", nullptr, all).arg(good).arg(all - good));
    Table->resizeRowsToContents();
    // As tall as the rows need, within reason; more scroll.
    int rowsHeight = 0;
    for (int r = 0; r < Table->rowCount(); ++r)
        rowsHeight += Table->rowHeight(r);
    const int tableHeight = std::clamp(
        rowsHeight + Table->horizontalHeader()->height() + 2 * Table->frameWidth() + 4, 120, 420);
    Table->setMinimumHeight(tableHeight);
    Table->setMaximumHeight(tableHeight);
    adjustSize();
    resize(std::max(width(), 680), sizeHint().height());
    Button1->setFocus();
}

} // namespace zor
