#include "comm/forms/Nastav.h"

#include "base/Platform.h"
#include "comm/DeviceTest.h"
#include "comm/PortFactory.h"
#include "comm/PortList.h"
#include "comm/posix/QtPortList.h"
#include "ui/Dialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace zor {

namespace {

QGroupBox *RadioGroup(QWidget *parent, const char *name, const QString &caption,
                      const QStringList &items, QButtonGroup **group)
{
    auto *box = new QGroupBox(caption, parent);
    box->setObjectName(QLatin1String(name));
    QFont bold = box->font();
    bold.setBold(true);
    box->setFont(bold);
    auto *layout = new QVBoxLayout(box);
    layout->setSpacing(2);
    *group = new QButtonGroup(box);
    for (int i = 0; i < items.size(); ++i) {
        auto *radio = new QRadioButton(items[i], box);
        layout->addWidget(radio);
        (*group)->addButton(radio, i);
    }
    layout->addStretch();
    return box;
}

const TQtPortEnumerator MachinePorts;

std::string DefaultDevice(int index)
{
    return "/dev/ttyS" + std::to_string(index);
}

QString PortToolTip(const TPortInfo &port)
{
    QStringList parts;
    parts << QString::fromStdString(port.Device);
    for (const std::string *s : {&port.Description, &port.Manufacturer, &port.SerialNumber})
        if (!s->empty())
            parts << QString::fromStdString(*s);
    return parts.join(QStringLiteral(", "));
}

} // namespace

void TPortCombo::showPopup()
{
    if (BeforePopup)
        BeforePopup();
    QComboBox::showPopup();
}

TParamet::TParamet(QWidget *parent, TFileDialogState *saveDialog)
    : QDialog(parent), PortEnumerator(&MachinePorts),
      PortFactory([] { return CreateSerialPort(); }), SaveDialog(saveDialog)
{
    setObjectName(QStringLiteral("Paramet"));
    setWindowTitle(QStringLiteral("Parameters"));
    setStatusTip(QStringLiteral("Parameters settings"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    // One row more than the classic layout, for the device of the selected port.
    constexpr int RowShift = 28;
    // The classic controls keep their places on a block of the classic size, less the row of
    // OK and Cancel, which serve both pages below them.
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    PortPage = new QWidget;
    PortPage->setObjectName(QStringLiteral("PortPage"));
    auto *classic = new QWidget(PortPage);
    classic->setFixedSize(267, 210 + RowShift);
    auto *portLayout = new QHBoxLayout(PortPage);
    portLayout->addWidget(classic, 0, Qt::AlignHCenter | Qt::AlignTop);
    Pages->addTab(PortPage, QStringLiteral("P&ort"));

    CommPort = RadioGroup(classic, "CommPort", QStringLiteral("Comm port:"),
                          {"COM 1", "COM 2", "COM 3", "COM 4"}, &CommPortItems);
    CommPort->setGeometry(16, 8, 113, 129);
    SetItemIndex(CommPortItems, 2);

    BaudRate = RadioGroup(classic, "BaudRate", QStringLiteral("Baud rate:"),
                          {"4800", "9600", "19200"}, &BaudRateItems);
    BaudRate->setGeometry(144, 8, 105, 105);
    SetItemIndex(BaudRateItems, 1);
    BaudNote = new QLabel(classic);
    BaudNote->setObjectName(QStringLiteral("BaudNote"));
    BaudNote->setGeometry(144, 112, 113, 30);
    BaudNote->setWordWrap(true);
    BaudNote->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QPalette warning = BaudNote->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    BaudNote->setPalette(warning);
    BaudNote->hide();

    PortLabel = new QLabel(QStringLiteral("&Device:"), classic);
    PortLabel->setObjectName(QStringLiteral("PortLabel"));
    PortLabel->setGeometry(16, 147, 52, 17);
    PortDevice = new TPortCombo(classic);
    PortDevice->setObjectName(QStringLiteral("PortDevice"));
    PortDevice->setEditable(true);
    PortDevice->setInsertPolicy(QComboBox::NoInsert);
    PortDevice->setGeometry(70, 144, 187, 22);
    PortDevice->setToolTip(QStringLiteral("Serial device of the selected port"));
    PortDevice->setStatusTip(
        QStringLiteral("Pick one of this computer's serial ports, or type the device path or a "
                       "device server's socket://HOST:PORT or rfc2217://HOST:PORT"));
    PortDevice->setAccessibleName(QStringLiteral("Device of the selected port"));
    PortLabel->setBuddy(PortDevice);
    for (int i = 0; i < 4; ++i)
        DialogDevices.Device[i] = DefaultDevice(i);

    CheckBoxWrite = new QCheckBox(QStringLiteral("Write transmit data to file"), classic);
    CheckBoxWrite->setObjectName(QStringLiteral("CheckBoxWrite"));
    QFont bold = CheckBoxWrite->font();
    bold.setBold(true);
    CheckBoxWrite->setFont(bold);
    CheckBoxWrite->setGeometry(24, 152 + RowShift, 230, 17);
    CheckBoxWrite->setToolTip(QStringLiteral("Write data"));
    CheckBoxWrite->setStatusTip(QStringLiteral("Send & Receive data save to file"));

    Cesta = new QLineEdit(classic);
    Cesta->setObjectName(QStringLiteral("Cesta"));
    Cesta->setGeometry(8, 184 + RowShift, 217, 20);
    Cesta->setReadOnly(true);
    Cesta->setEnabled(false);

    Zmena = new QPushButton(QStringLiteral(">>"), classic);
    Zmena->setObjectName(QStringLiteral("Zmena"));
    QFont arialBold(QStringLiteral("Arial"));
    arialBold.setBold(true);
    Zmena->setFont(arialBold);
    Zmena->setGeometry(232, 184 + RowShift, 25, 20);
    Zmena->setEnabled(false);

    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(75, 25);
    Button1->setToolTip(QStringLiteral("Button OK"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedSize(75, 25);
    Button2->setToolTip(QStringLiteral("Cancelled"));

    BuildPanelsPage();
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addSpacing(13);
    buttons->addWidget(Button2);
    buttons->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 8);
    layout->addWidget(Pages);
    layout->addLayout(buttons);
    setFixedSize(420, 330);

    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
    connect(CheckBoxWrite, &QCheckBox::toggled, this, &TParamet::CheckBoxWriteClick);
    connect(Zmena, &QPushButton::clicked, this, &TParamet::ZmenaClick);
    connect(CommPortItems, &QButtonGroup::idToggled, this, [this](int, bool checked) {
        if (checked)
            CommPortClick();
    });
    PortDevice->BeforePopup = [this] { RefreshPortList(PortDevice); };
    connect(PortDevice, &QComboBox::editTextChanged, this, [this](const QString &text) {
        if (ShownPort >= 0)
            DialogDevices.Device[ShownPort] = text.toStdString();
    });
    // A picked port stores its preferred path, which is what the item shows.
    connect(PortDevice, &QComboBox::activated, this,
            [this](int index) { PortDevice->setEditText(PortDevice->itemData(index).toString()); });
    CommPortClick();
}

int TParamet::ItemIndex(const QButtonGroup *group)
{
    return group->checkedId();
}

void TParamet::SetItemIndex(QButtonGroup *group, int index)
{
    if (QAbstractButton *b = group->button(index)) {
        b->setChecked(true);
        return;
    }
    // No item: a radio group allows none only while its buttons are not exclusive.
    group->setExclusive(false);
    for (QAbstractButton *b : group->buttons())
        b->setChecked(false);
    group->setExclusive(true);
}

void TParamet::ApplySettings(const TCommSettings &settings)
{
    CheckBoxWrite->setChecked(settings.LogToFile);
    SetItemIndex(CommPortItems, std::clamp(settings.Port - 1, -1, 3));
    CommPortClick(); // clearing the selection sends no toggle that would show the fourth device
    switch (settings.Baud) {
    case 4800:
        SetItemIndex(BaudRateItems, 0);
        break;
    case 9600:
        SetItemIndex(BaudRateItems, 1);
        break;
    case 19200:
        SetItemIndex(BaudRateItems, 2);
        break;
    default:
        break;
    }
    // Without a word the dialog would show the earlier selection as if it were the rate in use.
    const bool offered = IsPanelBaudRate(settings.Baud);
    BaudNote->setVisible(!offered);
    if (!offered) {
        BaudNote->setText(QStringLiteral("Stored rate %1 is not offered").arg(settings.Baud));
        BaudNote->setToolTip(QStringLiteral("The settings file holds the baud rate %1, which the "
                                            "panel does not work at. OK stores the rate selected "
                                            "above.")
                                 .arg(settings.Baud));
    }
    DialogPath = QString::fromStdString(settings.LogPath);
    LogEnabled = settings.LogToFile;
}

void TParamet::TakeSettings(TCommSettings &settings) const
{
    settings.Port = ItemIndex(CommPortItems) + 1;
    settings.LogToFile = CheckBoxWrite->isChecked();
    switch (ItemIndex(BaudRateItems)) {
    case 0:
        settings.Baud = 4800;
        break;
    case 1:
        settings.Baud = 9600;
        break;
    case 2:
        settings.Baud = 19200;
        break;
    default:
        break;
    }
    settings.LogPath = DialogPath.toStdString();
}

void TParamet::ApplyPortDevices(const TPortDevices &devices)
{
    DialogDevices = devices;
    ShownPort = -1; // shows the device again even when the number stays the same
    CommPortClick();
}

void TParamet::TakePortDevices(TPortDevices &devices) const
{
    for (int i = 0; i < 4; ++i) {
        const std::string path = NormalizeDevicePath(DialogDevices.Device[i]);
        devices.Device[i] = path.empty() ? DefaultDevice(i) : path;
    }
}

void TParamet::CommPortClick()
{
    const int index = ItemIndex(CommPortItems);
    const int shown = index < 0 ? 3 : index;
    if (shown == ShownPort)
        return;
    ShownPort = shown;
    const QSignalBlocker block(PortDevice);
    PortDevice->setEditText(QString::fromStdString(DialogDevices.Device[ShownPort]));
    PortLabel->setToolTip(QStringLiteral("Device of COM %1").arg(ShownPort + 1));
}

void TParamet::RefreshPortList(TPortCombo *combo)
{
    const QString typed = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    for (const TPortInfo &port : PortEnumerator->Ports()) {
        const QString path = QString::fromStdString(port.PreferredPath());
        combo->addItem(path, path);
        combo->setItemData(combo->count() - 1, PortToolTip(port), Qt::ToolTipRole);
    }
    combo->setCurrentIndex(combo->findData(typed));
    combo->setEditText(typed);
}

void TParamet::FormShow()
{
    Cesta->setEnabled(LogEnabled);
    Zmena->setEnabled(LogEnabled);
    Cesta->setText(DialogPath);
}

void TParamet::CheckBoxWriteClick()
{
    LogEnabled = CheckBoxWrite->isChecked();
    FormShow();
}

void TParamet::ZmenaClick()
{
    if (!SaveDialog)
        return;
    const TFileDialogState remembered = *SaveDialog;
    SaveDialog->FileName = DialogPath;
    SaveDialog->Filter = QStringLiteral("ZorEdit log files[*.log]|*.log");
    // A name typed without an extension becomes a log, never a document that the next Send
    // would overwrite.
    SaveDialog->DefaultExt = QStringLiteral("log");
    const bool chosen = Dialogs().ExecuteSave(this, *SaveDialog);
    const QString name = SaveDialog->FileName;
    SaveDialog->Filter = QStringLiteral("ZorEdit files[*.zor]|*.zor");
    SaveDialog->DefaultExt = remembered.DefaultExt;
    SaveDialog->FileName = remembered.FileName;
    if (chosen && (!IsForeignFile(name) ||
                   Dialogs().MessageBox(this, QStringLiteral("Question"),
                                        name + QStringLiteral(" is not a log file\nReplace it "
                                                              "with the transfer log?"),
                                        TMsgIcon::Question, TMsgButtons::YesNo) == TMsgAnswer::Yes))
        DialogPath = name;
    Cesta->setText(DialogPath);
}

bool TParamet::IsForeignFile(const QString &path)
{
    switch (PathKindOf(path.toStdString())) {
    case TPathKind::Missing:
        return false;
    case TPathKind::Stream:
        // It takes the log as it comes and is not replaced: nothing to ask, and opening one to
        // look inside could wait for ever.
        return false;
    case TPathKind::Other:
        return true;
    case TPathKind::RegularFile:
        break;
    }
    if (!path.endsWith(QLatin1String(".log"), Qt::CaseInsensitive))
        return true;
    // A document saved under a log's name is still a document.
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && file.read(5) == "{\\rtf";
}

void TParamet::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    FormShow();
}

// ---- the panel's name ----

TPanelName::TPanelName(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("PanelName"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    auto *label = new QLabel(QStringLiteral("&Name:"), this);
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setAccessibleName(QStringLiteral("Panel name"));
    NameEdit->setToolTip(QStringLiteral("The panel's name, as Send to panels and zor show it"));
    label->setBuddy(NameEdit);
    ProblemLabel = new QLabel(this);
    ProblemLabel->setObjectName(QStringLiteral("ProblemLabel"));
    ProblemLabel->setWordWrap(true);
    QPalette warning = ProblemLabel->palette();
    warning.setColor(QPalette::WindowText, Qt::darkRed);
    ProblemLabel->setPalette(warning);
    Button1 = new QPushButton(QStringLiteral("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    auto *row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(NameEdit, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(ProblemLabel);
    layout->addStretch();
    layout->addLayout(buttons);
    setFixedSize(340, 112);
    connect(NameEdit, &QLineEdit::textChanged, this, &TPanelName::Update);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TPanelName::Ask(const QString &caption, const QString &name, const QStringList &taken)
{
    setWindowTitle(caption);
    Taken = taken;
    NameEdit->setText(name);
    NameEdit->selectAll();
    NameEdit->setFocus();
    Update();
}

QString TPanelName::Problem() const
{
    const QString name = NameEdit->text();
    const std::string problem = PanelNameProblem(name.toStdString());
    if (!problem.empty())
        return QString::fromStdString(problem) + QLatin1Char('.');
    if (Taken.contains(name, Qt::CaseInsensitive))
        return QStringLiteral("There is already a panel named %1.").arg(name);
    return {};
}

void TPanelName::Update()
{
    const QString problem = Problem();
    ProblemLabel->setText(problem);
    Button1->setEnabled(problem.isEmpty());
}

// ---- the Panels page ----

namespace {
enum { NameColumn, DeviceColumn, BaudColumn };
} // namespace

void TParamet::BuildPanelsPage()
{
    PanelsPage = new QWidget;
    PanelsPage->setObjectName(QStringLiteral("PanelsPage"));
    PanelsPage->setStatusTip(QStringLiteral("The panels that Send to panels reaches"));
    Pages->addTab(PanelsPage, QStringLiteral("P&anels"));

    PanelTable = new QTreeWidget(PanelsPage);
    PanelTable->setObjectName(QStringLiteral("PanelTable"));
    PanelTable->setAccessibleName(QStringLiteral("Named panels"));
    PanelTable->setHeaderLabels(
        {QStringLiteral("Name"), QStringLiteral("Device"), QStringLiteral("Baud")});
    PanelTable->setRootIsDecorated(false);
    PanelTable->setUniformRowHeights(true);
    PanelTable->setAllColumnsShowFocus(true);
    PanelTable->header()->setStretchLastSection(false);
    PanelTable->header()->setSectionResizeMode(NameColumn, QHeaderView::Interactive);
    PanelTable->header()->setSectionResizeMode(DeviceColumn, QHeaderView::Stretch);
    PanelTable->header()->setSectionResizeMode(BaudColumn, QHeaderView::ResizeToContents);
    PanelTable->setColumnWidth(NameColumn, 90);

    auto button = [this](const char *name, const char *caption, const char *tip) {
        auto *b = new QPushButton(QLatin1String(caption), PanelsPage);
        b->setObjectName(QLatin1String(name));
        b->setToolTip(QLatin1String(tip));
        return b;
    };
    PanelAdd = button("PanelAdd", "A&dd...", "Name a new panel");
    PanelRename = button("PanelRename", "&Rename...", "Give the selected panel another name");
    PanelRemove = button("PanelRemove", "Re&move", "Take the selected panel off the list");
    PanelTest = button("PanelTest", "&Test",
                       "Open the selected panel's device (connect, for a device server) and say "
                       "what was found; nothing is sent");

    PanelDevice = new TPortCombo(PanelsPage);
    PanelDevice->setObjectName(QStringLiteral("PanelDevice"));
    PanelDevice->setEditable(true);
    PanelDevice->setInsertPolicy(QComboBox::NoInsert);
    PanelDevice->setAccessibleName(QStringLiteral("Device of the selected panel"));
    PanelDevice->setToolTip(QStringLiteral("Serial device or device server of the selected panel"));
    PanelDevice->setStatusTip(
        QStringLiteral("Pick one of this computer's serial ports, or type the device path or a "
                       "device server's socket://HOST:PORT or rfc2217://HOST:PORT"));
    PanelDevice->lineEdit()->setPlaceholderText(QStringLiteral("rfc2217://HOST:PORT"));
    PanelDevice->BeforePopup = [this] { RefreshPortList(PanelDevice); };
    PanelBaud = new QComboBox(PanelsPage);
    PanelBaud->setObjectName(QStringLiteral("PanelBaud"));
    PanelBaud->setAccessibleName(QStringLiteral("Baud rate of the selected panel"));
    PanelBaud->setToolTip(QStringLiteral("A rate of the panel's own, or the one of the Port page"));
    PanelBaud->addItem(QStringLiteral("As on the Port page"), 0);
    for (const std::int32_t rate : PanelBaudRates)
        PanelBaud->addItem(QString::number(rate), rate);
    auto *deviceLabel = new QLabel(QStringLiteral("De&vice:"), PanelsPage);
    deviceLabel->setBuddy(PanelDevice);
    auto *baudLabel = new QLabel(QStringLiteral("&Baud rate:"), PanelsPage);
    baudLabel->setBuddy(PanelBaud);
    PanelTestResult = new QLabel(PanelsPage);
    PanelTestResult->setObjectName(QStringLiteral("PanelTestResult"));
    PanelTestResult->setWordWrap(true);
    PanelTestResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    PanelTestResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    PanelTestResult->setMinimumHeight(2 * PanelTestResult->fontMetrics().lineSpacing() + 4);

    auto *side = new QVBoxLayout;
    side->addWidget(PanelAdd);
    side->addWidget(PanelRename);
    side->addWidget(PanelRemove);
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(PanelTable, 1);
    top->addLayout(side);
    auto *form = new QFormLayout;
    form->addRow(deviceLabel, PanelDevice);
    auto *baudRow = new QHBoxLayout;
    baudRow->addWidget(PanelBaud);
    baudRow->addStretch();
    baudRow->addWidget(PanelTest);
    form->addRow(baudLabel, baudRow);
    auto *layout = new QVBoxLayout(PanelsPage);
    layout->addLayout(top, 1);
    layout->addLayout(form);
    layout->addWidget(PanelTestResult);

    NameDialog = new TPanelName(this);

    connect(PanelTable, &QTreeWidget::currentItemChanged, this, [this] {
        // The last test's sentence names its panel; it goes when another is chosen.
        if (!TestRun)
            PanelTestResult->clear();
        ShowPanel();
    });
    connect(PanelAdd, &QPushButton::clicked, this, &TParamet::PanelAddClick);
    connect(PanelRename, &QPushButton::clicked, this, &TParamet::PanelRenameClick);
    connect(PanelRemove, &QPushButton::clicked, this, &TParamet::PanelRemoveClick);
    connect(PanelTest, &QPushButton::clicked, this, &TParamet::PanelTestClick);
    connect(PanelTable, &QTreeWidget::itemDoubleClicked, this, &TParamet::PanelRenameClick);
    connect(PanelDevice, &QComboBox::editTextChanged, this, [this](const QString &text) {
        const int index = CurrentPanel();
        if (index < 0)
            return;
        DialogPanels[std::size_t(index)].Device = text.toStdString();
        FillPanelRow(index);
    });
    connect(PanelDevice, &QComboBox::activated, this, [this](int index) {
        PanelDevice->setEditText(PanelDevice->itemData(index).toString());
    });
    connect(PanelBaud, &QComboBox::currentIndexChanged, this, [this](int item) {
        const int index = CurrentPanel();
        if (index < 0)
            return;
        if (item >= 0) {
            DialogPanels[std::size_t(index)].Baud = PanelBaud->itemData(item).toInt();
            DialogPanels[std::size_t(index)].RateProblem.clear();
        }
        FillPanelRow(index);
    });
    // Choosing "As on the Port page" for a rate the file could not read changes no index.
    connect(PanelBaud, &QComboBox::activated, this, [this] {
        if (const int index = CurrentPanel(); index >= 0)
            DialogPanels[std::size_t(index)].RateProblem.clear();
    });
    // After the Port page's controls, before OK and Cancel: the hidden page's are passed over.
    setTabOrder(Zmena, PanelTable);
    setTabOrder(PanelTable, PanelAdd);
    setTabOrder(PanelAdd, PanelRename);
    setTabOrder(PanelRename, PanelRemove);
    setTabOrder(PanelRemove, PanelDevice);
    setTabOrder(PanelDevice, PanelBaud);
    setTabOrder(PanelBaud, PanelTest);
    setTabOrder(PanelTest, Button1);
    setTabOrder(Button1, Button2);
    ShowPanel();
}

TParamet::~TParamet()
{
    StopTest();
}

void TParamet::FillPanelRow(int index)
{
    QTreeWidgetItem *item = PanelTable->topLevelItem(index);
    if (!item)
        return;
    const TNamedPanel &panel = DialogPanels[std::size_t(index)];
    item->setText(NameColumn, QString::fromStdString(panel.Name));
    item->setText(DeviceColumn, QString::fromStdString(panel.Device));
    item->setToolTip(DeviceColumn, QString::fromStdString(panel.Device));
    item->setText(BaudColumn, panel.Baud > 0 ? QString::number(panel.Baud) : QString());
    item->setToolTip(NameColumn, QString::fromStdString(panel.Problem()));
}

void TParamet::ApplyPanels(const std::vector<TNamedPanel> &panels)
{
    DialogPanels = panels;
    {
        const QSignalBlocker block(PanelTable);
        PanelTable->clear();
        for (std::size_t i = 0; i < DialogPanels.size(); ++i) {
            new QTreeWidgetItem(PanelTable);
            FillPanelRow(int(i));
        }
    }
    PanelTestResult->clear();
    SelectPanel(DialogPanels.empty() ? -1 : 0);
}

void TParamet::TakePanels(std::vector<TNamedPanel> &panels) const
{
    panels = DialogPanels;
    for (TNamedPanel &panel : panels)
        panel.Device = NormalizeDevicePath(panel.Device);
}

QString TParamet::PanelsProblem() const
{
    // What the file held that cannot be kept as it stands: the operator renames, re-rates or
    // removes the panel.
    for (const TNamedPanel &panel : DialogPanels)
        if (!panel.Problem().empty())
            return tr("In the settings file, %1: rename the panel, choose its rate or remove it.")
                .arg(QString::fromStdString(panel.Problem()));
    for (const TNamedPanel &panel : DialogPanels)
        if (NormalizeDevicePath(panel.Device).empty())
            return QStringLiteral("The panel %1 has no device: choose or type one, or remove the "
                                  "panel.")
                .arg(QString::fromStdString(panel.Name));
    return {};
}

int TParamet::CurrentPanel() const
{
    QTreeWidgetItem *item = PanelTable->currentItem();
    return item ? PanelTable->indexOfTopLevelItem(item) : -1;
}

void TParamet::SelectPanel(int index)
{
    PanelTable->setCurrentItem(PanelTable->topLevelItem(index));
    ShowPanel();
}

void TParamet::ShowPanel()
{
    const int index = CurrentPanel();
    const bool chosen = index >= 0;
    for (QWidget *w :
         std::initializer_list<QWidget *>{PanelRename, PanelRemove, PanelDevice, PanelBaud})
        w->setEnabled(chosen);
    PanelTest->setEnabled(chosen && !TestRun);
    const QSignalBlocker blockDevice(PanelDevice);
    const QSignalBlocker blockBaud(PanelBaud);
    if (!chosen) {
        PanelDevice->setEditText(QString());
        PanelBaud->setCurrentIndex(0);
        return;
    }
    const TNamedPanel &panel = DialogPanels[std::size_t(index)];
    PanelDevice->setEditText(QString::fromStdString(panel.Device));
    int item = PanelBaud->findData(panel.Baud);
    if (item < 0) {
        // A rate of the file's that the list does not offer is kept, and shown.
        PanelBaud->addItem(QString::number(panel.Baud), panel.Baud);
        item = PanelBaud->count() - 1;
    }
    PanelBaud->setCurrentIndex(item);
}

void TParamet::PanelAddClick()
{
    QStringList taken;
    for (const TNamedPanel &panel : DialogPanels)
        taken << QString::fromStdString(panel.Name);
    int n = int(DialogPanels.size()) + 1;
    while (taken.contains(QStringLiteral("Panel%1").arg(n), Qt::CaseInsensitive))
        ++n;
    NameDialog->Ask(QStringLiteral("Add panel"), QStringLiteral("Panel%1").arg(n), taken);
    if (Dialogs().ExecuteForm(*NameDialog) != QDialog::Accepted)
        return;
    if (const QString problem = NameDialog->Problem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, QStringLiteral("Error"), problem, TMsgIcon::Error,
                             TMsgButtons::Ok);
        return;
    }
    DialogPanels.push_back({NameDialog->NameEdit->text().toStdString(), {}, 0});
    new QTreeWidgetItem(PanelTable);
    FillPanelRow(int(DialogPanels.size()) - 1);
    SelectPanel(int(DialogPanels.size()) - 1);
    PanelDevice->setFocus();
}

void TParamet::PanelRenameClick()
{
    const int index = CurrentPanel();
    if (index < 0)
        return;
    QStringList taken;
    for (std::size_t i = 0; i < DialogPanels.size(); ++i)
        if (int(i) != index)
            taken << QString::fromStdString(DialogPanels[i].Name);
    NameDialog->Ask(QStringLiteral("Rename panel"),
                    QString::fromStdString(DialogPanels[std::size_t(index)].Name), taken);
    if (Dialogs().ExecuteForm(*NameDialog) != QDialog::Accepted)
        return;
    if (const QString problem = NameDialog->Problem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, QStringLiteral("Error"), problem, TMsgIcon::Error,
                             TMsgButtons::Ok);
        return;
    }
    DialogPanels[std::size_t(index)].Name = NameDialog->NameEdit->text().toStdString();
    DialogPanels[std::size_t(index)].NameProblem.clear();
    FillPanelRow(index);
}

void TParamet::PanelRemoveClick()
{
    const int index = CurrentPanel();
    if (index < 0)
        return;
    DialogPanels.erase(DialogPanels.begin() + index);
    delete PanelTable->takeTopLevelItem(index);
    SelectPanel(std::min(index, int(DialogPanels.size()) - 1));
}

void TParamet::PanelTestClick()
{
    const int index = CurrentPanel();
    if (index < 0 || TestRun)
        return;
    const TNamedPanel &panel = DialogPanels[std::size_t(index)];
    TCommSettings portPage;
    TakeSettings(portPage);
    const std::int32_t baud = panel.Baud > 0 ? panel.Baud : portPage.Baud;
    const QString name = QString::fromStdString(panel.Name);
    const std::string device = panel.Device;
    PanelTest->setEnabled(false);
    PanelTestResult->setPalette(palette());
    PanelTestResult->setText(
        QStringLiteral("%1: testing %2...").arg(name, QString::fromStdString(device)));

    const std::uint64_t number = ++TestNumber;
    TestRun = std::make_unique<TDeviceTestRun>(
        PortFactory(), device, baud, [this, name, number](const TDeviceTestResult &result) {
            // On the test's thread: the window takes the answer on its own.
            QMetaObject::invokeMethod(
                this, [this, name, number, result] { TestDone(number, name, result); },
                Qt::QueuedConnection);
        });
}

void TParamet::TestDone(std::uint64_t number, const QString &name, const TDeviceTestResult &result)
{
    // A test stopped with the window is over, and its answer goes unheard.
    if (number != TestNumber || !TestRun)
        return;
    TestRun.reset();
    const QString sentence = QString::fromStdString(result.Sentence);
    QPalette colours = palette();
    colours.setColor(QPalette::WindowText, result.Ok ? Qt::darkGreen : Qt::darkRed);
    PanelTestResult->setPalette(colours);
    PanelTestResult->setText(name + QStringLiteral(": ") + sentence);
    ShowPanel();
    emit TestFinished(result.Ok, sentence);
}

void TParamet::StopTest()
{
    TestRun.reset();
}

void TParamet::hideEvent(QHideEvent *event)
{
    // A connection still being waited for is given up; its answer is still shown if it comes.
    if (TestRun)
        TestRun->RequestStop();
    QDialog::hideEvent(event);
}

void TParamet::accept()
{
    if (const QString problem = PanelsProblem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, QStringLiteral("Error"), problem, TMsgIcon::Error,
                             TMsgButtons::Ok);
        Pages->setCurrentWidget(PanelsPage);
        return;
    }
    QDialog::accept();
}

} // namespace zor
