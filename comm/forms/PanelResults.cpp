#include "comm/forms/PanelResults.h"

#include "comm/Results.h"
#include "comm/forms/PanelsProgress.h"
#include "comm/forms/TransferDialogs.h"
#include "ui/MessageText.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
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
        QString cause = MessageText(OutcomeCause(targets[i], result));
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
                     tr("The transfer log was not written: %1").arg(MessageText(result.LogProblem));
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
