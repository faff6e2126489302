#include "comm/forms/PanelsPage.h"

#include "comm/DeviceTest.h"
#include "comm/MqttAddress.h"
#include "comm/PortList.h"
#include "comm/Settings.h"
#include "comm/forms/PanelName.h"
#include "comm/forms/PortCombo.h"
#include "ui/Dialogs.h"
#include "ui/MessageText.h"

#include <QCoreApplication>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zor {

namespace {
enum { NameColumn, DeviceColumn, BaudColumn };
} // namespace

TPanelsPage::TPanelsPage(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PanelsPage"));
    setStatusTip(tr("The panels that Send to panels reaches"));
    Table = new QTreeWidget(this);
    Table->setObjectName(QStringLiteral("PanelTable"));
    Table->setAccessibleName(tr("Named panels"));
    Table->setHeaderLabels({tr("Name"), tr("Device"), tr("Baud")});
    Table->setRootIsDecorated(false);
    Table->setUniformRowHeights(true);
    Table->setAllColumnsShowFocus(true);
    Table->header()->setStretchLastSection(false);
    Table->header()->setSectionResizeMode(NameColumn, QHeaderView::Interactive);
    Table->header()->setSectionResizeMode(DeviceColumn, QHeaderView::Stretch);
    Table->header()->setSectionResizeMode(BaudColumn, QHeaderView::ResizeToContents);
    Table->setColumnWidth(NameColumn, 90);

    auto button = [this](const char *name, const QString &caption, const QString &tip) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(tip);
        return b;
    };
    Add = button("PanelAdd", tr("A&dd..."), tr("Name a new panel"));
    Rename = button("PanelRename", tr("&Rename..."), tr("Give the selected panel another name"));
    Remove = button("PanelRemove", tr("Re&move"), tr("Take the selected panel off the list"));
    Test = button("PanelTest", tr("&Test"),
                  tr("Open the selected panel's device (connect, for a device server) and say "
                     "what was found; nothing is sent"));

    Device = new TPortCombo(this);
    Device->setObjectName(QStringLiteral("PanelDevice"));
    Device->setEditable(true);
    Device->setInsertPolicy(QComboBox::NoInsert);
    Device->setAccessibleName(tr("Device of the selected panel"));
    Device->setToolTip(tr("Serial device or device server of the selected panel"));
    Device->setStatusTip(
        tr("Pick one of this computer's serial ports, or type the device path or a "
           "device server's socket://HOST:PORT or rfc2217://HOST:PORT"));
    Device->lineEdit()->setPlaceholderText(
        tr("rfc2217://HOST:PORT", "placeholder of a device server address"));
    Device->BeforePopup = [this] {
        if (RefreshPorts)
            RefreshPorts(Device);
    };
    Baud = new QComboBox(this);
    Baud->setObjectName(QStringLiteral("PanelBaud"));
    Baud->setAccessibleName(tr("Baud rate of the selected panel"));
    Baud->setToolTip(tr("A rate of the panel's own, or the one of the Port page"));
    Baud->addItem(tr("As on the Port page"), 0);
    for (const std::int32_t rate : PanelBaudRates)
        Baud->addItem(QString::number(rate), rate);
    auto *deviceLabel = new QLabel(tr("De&vice:"), this);
    deviceLabel->setBuddy(Device);
    auto *baudLabel = new QLabel(tr("&Baud rate:"), this);
    baudLabel->setBuddy(Baud);
    TestResult = new QLabel(this);
    TestResult->setObjectName(QStringLiteral("PanelTestResult"));
    TestResult->setWordWrap(true);
    TestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    TestResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    TestResult->setMinimumHeight(2 * TestResult->fontMetrics().lineSpacing() + 4);

    auto *side = new QVBoxLayout;
    side->addWidget(Add);
    side->addWidget(Rename);
    side->addWidget(Remove);
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(Table, 1);
    top->addLayout(side);
    auto *form = new QFormLayout;
    form->addRow(deviceLabel, Device);
    auto *baudRow = new QHBoxLayout;
    baudRow->addWidget(Baud);
    baudRow->addStretch();
    baudRow->addWidget(Test);
    form->addRow(baudLabel, baudRow);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addLayout(form);
    layout->addWidget(TestResult);

    NameDialog = new TPanelName(this);

    connect(Table, &QTreeWidget::currentItemChanged, this, [this] {
        // The last test's sentence names its panel; it goes when another is chosen.
        if (!TestRun)
            TestResult->clear();
        ShowPanel();
    });
    connect(Add, &QPushButton::clicked, this, &TPanelsPage::AddClick);
    connect(Rename, &QPushButton::clicked, this, &TPanelsPage::RenameClick);
    connect(Remove, &QPushButton::clicked, this, &TPanelsPage::RemoveClick);
    connect(Test, &QPushButton::clicked, this, &TPanelsPage::TestClick);
    connect(Table, &QTreeWidget::itemDoubleClicked, this, &TPanelsPage::RenameClick);
    connect(Device, &QComboBox::editTextChanged, this, [this](const QString &text) {
        const int index = CurrentPanel();
        if (index < 0)
            return;
        Edited[std::size_t(index)].Device = text.toStdString();
        FillRow(index);
    });
    connect(Device, &QComboBox::activated, this,
            [this](int index) { Device->setEditText(Device->itemData(index).toString()); });
    connect(Baud, &QComboBox::currentIndexChanged, this, [this](int item) {
        const int index = CurrentPanel();
        if (index < 0)
            return;
        if (item >= 0) {
            Edited[std::size_t(index)].Baud = Baud->itemData(item).toInt();
            Edited[std::size_t(index)].RateProblem.clear();
        }
        FillRow(index);
    });
    // Choosing "As on the Port page" for a rate the file could not read changes no index.
    connect(Baud, &QComboBox::activated, this, [this] {
        if (const int index = CurrentPanel(); index >= 0)
            Edited[std::size_t(index)].RateProblem.clear();
    });
    ShowPanel();
}

TPanelsPage::~TPanelsPage()
{
    StopTest();
}

void TPanelsPage::FillRow(int index)
{
    QTreeWidgetItem *item = Table->topLevelItem(index);
    if (!item)
        return;
    const TNamedPanel &panel = Edited[std::size_t(index)];
    item->setText(NameColumn, QString::fromStdString(panel.Name));
    item->setText(DeviceColumn, QString::fromStdString(panel.Device));
    item->setToolTip(DeviceColumn, QString::fromStdString(panel.Device));
    item->setText(BaudColumn, panel.Baud > 0 ? QString::number(panel.Baud) : QString());
    item->setToolTip(NameColumn, MessageText(panel.Problem()));
}

void TPanelsPage::Apply(const std::vector<TNamedPanel> &panels)
{
    Edited = panels;
    {
        const QSignalBlocker block(Table);
        Table->clear();
        for (std::size_t i = 0; i < Edited.size(); ++i) {
            new QTreeWidgetItem(Table);
            FillRow(int(i));
        }
    }
    TestResult->clear();
    SelectPanel(Edited.empty() ? -1 : 0);
}

void TPanelsPage::Take(std::vector<TNamedPanel> &panels) const
{
    panels = Edited;
    for (TNamedPanel &panel : panels)
        panel.Device = NormalizeDevicePath(panel.Device);
}

QString TPanelsPage::Problem() const
{
    // What the file held that cannot be kept as it stands: the operator renames, re-rates or
    // removes the panel.
    for (const TNamedPanel &panel : Edited)
        if (!panel.Problem().empty())
            return tr("In the settings file, %1: rename the panel, choose its rate or remove it.")
                .arg(MessageText(panel.Problem()));
    for (const TNamedPanel &panel : Edited)
        if (NormalizeDevicePath(panel.Device).empty())
            return tr("The panel %1 has no device: choose or type one, or remove the panel.")
                .arg(QString::fromStdString(panel.Name));
    return {};
}

int TPanelsPage::CurrentPanel() const
{
    QTreeWidgetItem *item = Table->currentItem();
    return item ? Table->indexOfTopLevelItem(item) : -1;
}

void TPanelsPage::SelectPanel(int index)
{
    Table->setCurrentItem(Table->topLevelItem(index));
    ShowPanel();
}

void TPanelsPage::ShowPanel()
{
    const int index = CurrentPanel();
    const bool chosen = index >= 0;
    for (QWidget *w : std::initializer_list<QWidget *>{Rename, Remove, Device, Baud})
        w->setEnabled(chosen);
    Test->setEnabled(chosen && !TestRun);
    const QSignalBlocker blockDevice(Device);
    const QSignalBlocker blockBaud(Baud);
    if (!chosen) {
        Device->setEditText(QString());
        Baud->setCurrentIndex(0);
        return;
    }
    const TNamedPanel &panel = Edited[std::size_t(index)];
    Device->setEditText(QString::fromStdString(panel.Device));
    int item = Baud->findData(panel.Baud);
    if (item < 0) {
        // A rate of the file's that the list does not offer is kept, and shown.
        Baud->addItem(QString::number(panel.Baud), panel.Baud);
        item = Baud->count() - 1;
    }
    Baud->setCurrentIndex(item);
}

void TPanelsPage::AddClick()
{
    QStringList taken;
    for (const TNamedPanel &panel : Edited)
        taken << QString::fromStdString(panel.Name);
    int n = int(Edited.size()) + 1;
    while (taken.contains(QStringLiteral("Panel%1").arg(n), Qt::CaseInsensitive))
        ++n;
    NameDialog->Ask(tr("Add panel"), QStringLiteral("Panel%1").arg(n), taken);
    if (Dialogs().ExecuteForm(*NameDialog) != QDialog::Accepted)
        return;
    if (const QString problem = NameDialog->Problem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, tr("Error"), problem, TMsgIcon::Error, TMsgButtons::Ok);
        return;
    }
    Edited.push_back({NameDialog->NameEdit->text().toStdString(), {}, 0});
    new QTreeWidgetItem(Table);
    FillRow(int(Edited.size()) - 1);
    SelectPanel(int(Edited.size()) - 1);
    Device->setFocus();
}

void TPanelsPage::RenameClick()
{
    const int index = CurrentPanel();
    if (index < 0)
        return;
    QStringList taken;
    for (std::size_t i = 0; i < Edited.size(); ++i)
        if (int(i) != index)
            taken << QString::fromStdString(Edited[i].Name);
    NameDialog->Ask(tr("Rename panel"), QString::fromStdString(Edited[std::size_t(index)].Name),
                    taken);
    if (Dialogs().ExecuteForm(*NameDialog) != QDialog::Accepted)
        return;
    if (const QString problem = NameDialog->Problem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, tr("Error"), problem, TMsgIcon::Error, TMsgButtons::Ok);
        return;
    }
    Edited[std::size_t(index)].Name = NameDialog->NameEdit->text().toStdString();
    Edited[std::size_t(index)].NameProblem.clear();
    FillRow(index);
}

void TPanelsPage::RemoveClick()
{
    const int index = CurrentPanel();
    if (index < 0)
        return;
    Edited.erase(Edited.begin() + index);
    delete Table->takeTopLevelItem(index);
    SelectPanel(std::min(index, int(Edited.size()) - 1));
}

void TPanelsPage::TestClick()
{
    const int index = CurrentPanel();
    if (index < 0 || TestRun)
        return;
    const TNamedPanel &panel = Edited[std::size_t(index)];
    const std::int32_t baud = panel.Baud > 0 ? panel.Baud : PortPageBaud ? PortPageBaud() : 0;
    const QString name = QString::fromStdString(panel.Name);
    const std::string device = panel.Device;
    Test->setEnabled(false);
    TestResult->setPalette(palette());
    TestResult->setText(tr("%1: testing %2...").arg(name, QString::fromStdString(device)));

    TMqttSendOptions mqtt;
    if (std::string problem;
        IsMqttDevice(NormalizeDevicePath(device)) && MqttOptions && !MqttOptions(&mqtt, &problem)) {
        ShowTestResult(name, {false, problem});
        return;
    }
    const std::uint64_t number = ++TestNumber;
    TestRun = std::make_unique<TDeviceTestRun>(
        PortFactory(), device, baud,
        [this, name, number](const TDeviceTestResult &result) {
            // On the test's thread: the window takes the answer on its own.
            QMetaObject::invokeMethod(
                this, [this, name, number, result] { TestDone(number, name, result); },
                Qt::QueuedConnection);
        },
        mqtt);
}

void TPanelsPage::TestDone(std::uint64_t number, const QString &name,
                           const TDeviceTestResult &result)
{
    // A test stopped with the window is over, and its answer goes unheard.
    if (number != TestNumber || !TestRun)
        return;
    TestRun.reset();
    ShowTestResult(name, result);
}

void TPanelsPage::ShowTestResult(const QString &name, const TDeviceTestResult &result)
{
    const QString sentence = MessageText(result.Sentence);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, result.Ok ? Qt::darkGreen : Qt::darkRed);
    TestResult->setPalette(colours);
    TestResult->setText(name + QStringLiteral(": ") + sentence);
    ShowPanel();
    emit TestFinished(result.Ok, sentence);
}

void TPanelsPage::StopTest()
{
    TestRun.reset();
}

void TPanelsPage::GiveUpTest()
{
    if (TestRun)
        TestRun->RequestStop();
}

} // namespace zor
