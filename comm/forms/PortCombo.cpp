#include "comm/forms/PortCombo.h"

#include "comm/PortList.h"

#include <QSignalBlocker>
#include <QStringList>

namespace zor {

namespace {

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

void FillPortList(TPortCombo *combo, const TPortEnumerator &ports)
{
    const QString typed = combo->currentText();
    const QSignalBlocker block(combo);
    combo->clear();
    for (const TPortInfo &port : ports.Ports()) {
        const QString path = QString::fromStdString(port.PreferredPath());
        combo->addItem(path, path);
        combo->setItemData(combo->count() - 1, PortToolTip(port), Qt::ToolTipRole);
    }
    combo->setCurrentIndex(combo->findData(typed));
    combo->setEditText(typed);
}

} // namespace zor
