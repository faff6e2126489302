#include "comm/posix/QtPortList.h"

#include <QSerialPortInfo>

#include <algorithm>

namespace zor {

std::vector<TPortInfo> TQtPortEnumerator::Ports() const
{
    std::vector<TPortInfo> ports;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        TPortInfo port;
        port.Device = info.systemLocation().toStdString();
        port.Description = info.description().toStdString();
        port.Manufacturer = info.manufacturer().toStdString();
        port.SerialNumber = info.serialNumber().toStdString();
        ports.push_back(std::move(port));
    }
    std::sort(ports.begin(), ports.end(),
              [](const TPortInfo &a, const TPortInfo &b) { return a.Device < b.Device; });
    AttachByIdNames(ports);
    return ports;
}

} // namespace zor
