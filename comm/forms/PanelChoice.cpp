#include "comm/forms/PanelChoice.h"

#include "comm/Panels.h"
#include "comm/forms/TransferDialogs.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

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

} // namespace zor
