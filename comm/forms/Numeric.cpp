#include "comm/forms/Numeric.h"

#include "comm/NumericMessage.h"
#include "comm/forms/PanelForms.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zor {

TVstup::TVstup(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("Vstup"));
    setWindowTitle(tr("Numeric fields"));
    setStatusTip(tr("Enter the numeric value "));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(304, 146);

    auto label = [this](const char *name, const QString &text, int x, int y) {
        auto *l = new QLabel(text, this);
        l->setObjectName(QLatin1String(name));
        QFont bold = l->font();
        bold.setBold(true);
        l->setFont(bold);
        l->move(x, y);
        l->adjustSize();
        return l;
    };
    //: With the next text, two lines of one label: "Number of accident-free days:"
    Label1 = label("Label1", tr("Number of accident-"), 32, 8);
    Label4 = label("Label4", tr("free days:"), 32, 24);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(32, 40, 49, 21);
    Edit1->setMaxLength(3);
    Edit1->setToolTip(tr("Number of accident free days"));
    //: With the next text, two lines of one label: "Number of accidents from 1-st,January:"
    Label2 = label("Label2", tr("Number of accidents "), 32, 72);
    Label3 = label("Label3", tr("from 1-st,January:"), 32, 89);
    Edit2 = new QLineEdit(this);
    Edit2->setObjectName(QStringLiteral("Edit2"));
    Edit2->setGeometry(32, 104, 33, 21);
    Edit2->setMaxLength(2);
    Edit2->setToolTip(tr("Number of accident from 1-st,January"));

    Button1 = new QPushButton(tr("Send"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(184, 32, 75, 25);
    Button1->setDefault(true);
    Button1->setToolTip(tr("Send to display"));
    Button2 = new QPushButton(tr("Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    Button2->setGeometry(184, 88, 75, 25);
    Button2->setToolTip(tr("Cancelled"));
    TargetLabel = new QLabel(tr("Send &to:"), this);
    TargetLabel->setObjectName(QStringLiteral("TargetLabel"));
    QFont bold = TargetLabel->font();
    bold.setBold(true);
    TargetLabel->setFont(bold);
    TargetLabel->move(32, 136);
    TargetLabel->adjustSize();
    Targets = new TPanelCheckList(this);
    Targets->setObjectName(QStringLiteral("Targets"));
    Targets->setAccessibleName(tr("Send to"));
    Targets->setToolTip(tr("The port of Parameters and the named panels"));
    TargetLabel->setBuddy(Targets);
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    MarkAsWarning(Note);
    TargetLabel->hide();
    Targets->hide();
    Note->hide();
    // Send stays off, and the note says why, while nothing is ticked or two ticked targets share
    // a device: the operator sees it before typing the counters, not after Send.
    connect(Targets, &TPanelCheckList::TickedChanged, this, [this] {
        if (Targets->isHidden())
            return;
        const std::vector<TPanelTarget> ticked = Targets->TickedTargets();
        Note->setText(ticked.empty() ? tr("Tick where the counters go.")
                                     : SharedDeviceText(ticked));
        Button1->setEnabled(Note->text().isEmpty());
    });
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Targets);
    setTabOrder(Targets, Button1);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

void TVstup::SetTargets(const std::vector<TPanelTarget> &targets)
{
    QStringList ticked = Targets->Ticked();
    if (Targets->Targets().empty() && !targets.empty())
        ticked = {QString::fromStdString(targets.front().Name)};
    const bool choice = targets.size() > 1;
    TargetLabel->setVisible(choice);
    Targets->setVisible(choice);
    Targets->SetTargets(targets, ticked);
    Note->setVisible(choice);
    if (!choice) {
        Button1->setEnabled(true);
        setFixedSize(304, 146);
        return;
    }
    constexpr int ShownRows = 5;
    constexpr int Width = 400; // room for a device server's name beside the panel's
    const int rows = std::min<int>(int(targets.size()), ShownRows);
    Targets->setHeaderHidden(true);
    Targets->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Targets->setTextElideMode(Qt::ElideMiddle);
    Targets->resizeColumnToContents(0);
    const int rowHeight = std::max(Targets->sizeHintForRow(0), Targets->fontMetrics().height() + 4);
    const int height = rows * rowHeight + 2 * Targets->frameWidth() + 2;
    Targets->setGeometry(32, 154, Width - 64, height);
    const int noteHeight = 2 * Note->fontMetrics().height() + 4; // the longest note wraps once
    Note->setGeometry(32, 154 + height + 4, Width - 64, noteHeight);
    setFixedSize(Width, 154 + height + 4 + noteHeight + 10);
}

std::vector<TPanelTarget> TVstup::TickedTargets() const
{
    if (Targets->isHidden()) {
        const auto &all = Targets->Targets();
        return all.empty() ? std::vector<TPanelTarget>{} : std::vector<TPanelTarget>{all.front()};
    }
    return Targets->TickedTargets();
}

void TVstup::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    Edit1->setFocus(Qt::OtherFocusReason);
    Edit1->selectAll();
}

void TVstup::BuildMessage(std::uint8_t *message) const
{
    zor::BuildMessage(Edit1->text().toLatin1().toStdString(),
                      Edit2->text().toLatin1().toStdString(), message);
}

} // namespace zor
