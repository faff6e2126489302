#include "comm/forms/Nastav.h"

#include "base/Platform.h"
#include "comm/PortFactory.h"
#include "comm/PortList.h"
#include "comm/PortNames.h"
#include "comm/forms/PanelsPage.h"
#include "comm/forms/PortCombo.h"
#include "ui/Dialogs.h"

#include <algorithm>

#include <QButtonGroup>
#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
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

// The platform's ports (Qt SerialPort's list; Win32's, with the names Device Manager shows).
const TPortEnumerator &MachinePorts()
{
    static const std::unique_ptr<TPortEnumerator> ports = CreatePortEnumerator();
    return *ports;
}

} // namespace

TParamet::TParamet(QWidget *parent, TFileDialogState *saveDialog)
    : QDialog(parent), PortEnumerator(&MachinePorts()), SaveDialog(saveDialog)
{
    setObjectName(QStringLiteral("Paramet"));
    setWindowTitle(tr("Parameters"));
    setStatusTip(tr("Parameters settings"));
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
    Pages->addTab(PortPage, tr("P&ort"));

    CommPort = RadioGroup(classic, "CommPort", tr("Comm port:"),
                          {"COM 1", "COM 2", "COM 3", "COM 4"}, &CommPortItems);
    CommPort->setGeometry(16, 8, 113, 129);
    SetItemIndex(CommPortItems, 2);

    BaudRate = RadioGroup(classic, "BaudRate", tr("Baud rate:"), {"4800", "9600", "19200"},
                          &BaudRateItems);
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

    PortLabel = new QLabel(tr("&Device:"), classic);
    PortLabel->setObjectName(QStringLiteral("PortLabel"));
    PortLabel->setGeometry(16, 147, 52, 17);
    PortDevice = new TPortCombo(classic);
    PortDevice->setObjectName(QStringLiteral("PortDevice"));
    PortDevice->setEditable(true);
    PortDevice->setInsertPolicy(QComboBox::NoInsert);
    PortDevice->setGeometry(70, 144, 187, 22);
    PortDevice->setToolTip(tr("Serial device of the selected port"));
    PortDevice->setStatusTip(
        tr("Pick one of this computer's serial ports, or type the device path or a "
           "device server's socket://HOST:PORT or rfc2217://HOST:PORT"));
    PortDevice->setAccessibleName(tr("Device of the selected port"));
    PortLabel->setBuddy(PortDevice);
    for (int i = 0; i < 4; ++i)
        DialogDevices.Device[i] = DefaultPortDevice(i + 1);

    CheckBoxWrite = new QCheckBox(tr("Write transmit data to file"), classic);
    CheckBoxWrite->setObjectName(QStringLiteral("CheckBoxWrite"));
    QFont bold = CheckBoxWrite->font();
    bold.setBold(true);
    CheckBoxWrite->setFont(bold);
    CheckBoxWrite->setGeometry(24, 152 + RowShift, 230, 17);
    CheckBoxWrite->setToolTip(tr("Write data"));
    CheckBoxWrite->setStatusTip(tr("Send & Receive data save to file"));

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

    // A translation with longer texts widens the controls that hold them, and the block with
    // them; the classic places stay where the texts fit.
    const auto titleWidth = [](const QGroupBox *box) {
        return box->fontMetrics().horizontalAdvance(box->title()) + 16;
    };
    CommPort->resize(std::max(CommPort->width(), titleWidth(CommPort)), CommPort->height());
    BaudRate->move(std::max(BaudRate->x(), CommPort->geometry().right() + 16), BaudRate->y());
    BaudRate->resize(std::max(BaudRate->width(), titleWidth(BaudRate)), BaudRate->height());
    BaudNote->move(BaudRate->x(), BaudNote->y());
    PortLabel->resize(PortLabel->size().expandedTo(PortLabel->sizeHint()));
    PortDevice->move(std::max(PortDevice->x(), PortLabel->geometry().right() + 3), PortDevice->y());
    CheckBoxWrite->resize(CheckBoxWrite->size().expandedTo(CheckBoxWrite->sizeHint()));
    // A larger desktop font makes the radio groups taller: the rows under them move down, the
    // classic gaps kept.
    const int portGap = PortDevice->y() - CommPort->geometry().bottom();
    const int noteGap = PortDevice->y() - BaudNote->geometry().bottom();
    const int noteTop = BaudNote->y() - BaudRate->geometry().bottom();
    CommPort->resize(CommPort->size().expandedTo(CommPort->sizeHint()));
    BaudRate->resize(BaudRate->size().expandedTo(BaudRate->sizeHint()));
    BaudNote->move(BaudNote->x(), BaudRate->geometry().bottom() + noteTop);
    const int shift = std::max({0, CommPort->geometry().bottom() + portGap - PortDevice->y(),
                                BaudNote->geometry().bottom() + noteGap - PortDevice->y()});
    for (QWidget *w : {static_cast<QWidget *>(PortLabel), static_cast<QWidget *>(PortDevice),
                       static_cast<QWidget *>(CheckBoxWrite), static_cast<QWidget *>(Cesta),
                       static_cast<QWidget *>(Zmena)})
        w->move(w->x(), w->y() + shift);
    classic->setFixedHeight(classic->height() + shift);
    int classicRight = classic->width();
    for (const QWidget *w :
         {static_cast<QWidget *>(BaudRate), static_cast<QWidget *>(BaudNote),
          static_cast<QWidget *>(PortDevice), static_cast<QWidget *>(CheckBoxWrite)})
        classicRight = std::max(classicRight, w->geometry().right() + 11);
    classic->setFixedWidth(classicRight);

    Button1 = new QPushButton(tr("OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(75, 25);
    Button1->setToolTip(tr("Button OK"));
    Button1->setDefault(true);
    Button2 = new QPushButton(tr("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setFixedSize(75, 25);
    Button2->setToolTip(tr("Cancelled"));

    Panels = new TPanelsPage;
    Pages->addTab(Panels, tr("P&anels"));
    Panels->PortFactory = [] { return CreateSerialPort(); };
    Panels->PortPageBaud = [this] {
        TCommSettings portPage;
        TakeSettings(portPage);
        return portPage.Baud;
    };
    Panels->RefreshPorts = [this](TPortCombo *combo) { RefreshPortList(combo); };

    LanguagePage = new QWidget;
    LanguagePage->setObjectName(QStringLiteral("LanguagePage"));
    LanguagePage->setStatusTip(tr("The language of ZorEdit's menus, dialogs and help"));
    // Placed like the Port page's controls, on a block as wide as its texts need.
    auto *languageBlock = new QWidget(LanguagePage);
    auto *languageLabel = new QLabel(tr("Interface language:"), languageBlock);
    LanguageList = new QListWidget(languageBlock);
    LanguageList->setObjectName(QStringLiteral("LanguageList"));
    LanguageList->setAccessibleName(tr("Interface language"));
    languageLabel->setBuddy(LanguageList);
    // Each language is named in itself, as desktops list them, so that an operator who cannot
    // read the present one still finds their own.
    const std::pair<QString, QString> languages[] = {
        {tr("The desktop's language"), QStringLiteral("system")},
        {QStringLiteral("English"), QStringLiteral("en")},
        {QStringLiteral("Čeština"), QStringLiteral("cs")}};
    for (const auto &[caption, code] : languages) {
        auto *item = new QListWidgetItem(caption, LanguageList);
        item->setData(Qt::UserRole, code);
    }
    LanguageList->setCurrentRow(0);
    LanguageNote =
        new QLabel(tr("The new language takes effect at the next start."), languageBlock);
    LanguageNote->setObjectName(QStringLiteral("LanguageNote"));
    const int languageWidth =
        std::max({267 - 32, languageLabel->sizeHint().width(), LanguageNote->sizeHint().width(),
                  LanguageList->sizeHintForColumn(0) + 2 * LanguageList->frameWidth() + 8});
    int y = 8;
    languageLabel->setGeometry(16, y, languageWidth, languageLabel->sizeHint().height());
    y += languageLabel->height() + 4;
    LanguageList->setGeometry(16, y, languageWidth,
                              LanguageList->count() * LanguageList->sizeHintForRow(0) +
                                  2 * LanguageList->frameWidth() + 4);
    y += LanguageList->height() + 8;
    LanguageNote->setGeometry(16, y, languageWidth, LanguageNote->sizeHint().height());
    languageBlock->setFixedSize(languageWidth + 32, y + LanguageNote->height() + 8);
    auto *languageLayout = new QHBoxLayout(LanguagePage);
    languageLayout->addWidget(languageBlock, 0, Qt::AlignHCenter | Qt::AlignTop);
    Pages->addTab(LanguagePage, tr("&Language"));
    // After the Port page's controls, before OK and Cancel: the hidden page's are passed over.
    setTabOrder(Zmena, Panels->Table);
    setTabOrder(Panels->Table, Panels->Add);
    setTabOrder(Panels->Add, Panels->Rename);
    setTabOrder(Panels->Rename, Panels->Remove);
    setTabOrder(Panels->Remove, Panels->Device);
    setTabOrder(Panels->Device, Panels->Baud);
    setTabOrder(Panels->Baud, Panels->Test);
    setTabOrder(Panels->Test, LanguageList);
    setTabOrder(LanguageList, Button1);
    setTabOrder(Button1, Button2);
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
    // The classic size, or larger where the texts of a translation need more room.
    setFixedSize(sizeHint().expandedTo(QSize(420, 330)));

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
        BaudNote->setText(tr("Stored rate %1 is not offered").arg(settings.Baud));
        BaudNote->setToolTip(
            tr("The settings file holds the baud rate %1, which the panel does not "
               "work at. OK stores the rate selected above.")
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

void TParamet::ApplyLanguage(const QString &language)
{
    int row = 0;
    for (int i = 0; i < LanguageList->count(); ++i)
        if (LanguageList->item(i)->data(Qt::UserRole).toString() == language)
            row = i;
    LanguageList->setCurrentRow(row);
}

QString TParamet::TakeLanguage() const
{
    const QListWidgetItem *item = LanguageList->currentItem();
    return item ? item->data(Qt::UserRole).toString() : QStringLiteral("system");
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
        // A port left as it was keeps its spelling (COM1 and \\.\COM1 are one port), so that
        // untouched defaults add nothing to the settings file.
        devices.Device[i] = path.empty() ? DefaultPortDevice(i + 1)
                            : path == NormalizeDevicePath(devices.Device[i]) ? devices.Device[i]
                                                                             : path;
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
    PortLabel->setToolTip(tr("Device of COM %1").arg(ShownPort + 1));
}

void TParamet::RefreshPortList(TPortCombo *combo)
{
    FillPortList(combo, *PortEnumerator);
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
    SaveDialog->Filter = tr("ZorEdit log files[*.log]|*.log");
    // A name typed without an extension becomes a log, never a document that the next Send
    // would overwrite.
    SaveDialog->DefaultExt = QStringLiteral("log");
    const bool chosen = Dialogs().ExecuteSave(this, *SaveDialog);
    const QString name = SaveDialog->FileName;
    SaveDialog->Filter = remembered.Filter;
    SaveDialog->DefaultExt = remembered.DefaultExt;
    SaveDialog->FileName = remembered.FileName;
    if (chosen && (!IsForeignFile(name) ||
                   Dialogs().MessageBox(this, tr("Question"),
                                        tr("%1 is not a log file\nReplace it with the transfer "
                                           "log?")
                                            .arg(name),
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

void TParamet::hideEvent(QHideEvent *event)
{
    // A connection still being waited for is given up; its answer is still shown if it comes.
    Panels->GiveUpTest();
    QDialog::hideEvent(event);
}

void TParamet::accept()
{
    if (const QString problem = Panels->Problem(); !problem.isEmpty()) {
        Dialogs().MessageBox(this, tr("Error"), problem, TMsgIcon::Error, TMsgButtons::Ok);
        Pages->setCurrentWidget(Panels);
        return;
    }
    QDialog::accept();
}

} // namespace zor
