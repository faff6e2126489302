// zor ports: the machine's serial ports, for choosing the device behind a port number.
#include "tools/zor/Subcommand.h"

#include <QSerialPortInfo>

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

namespace zor::tool {

namespace {

// The name under /dev/serial/by-id that leads to device: it stays the same when adapters are
// plugged in another order, unlike /dev/ttyUSBn. Empty when there is none.
std::string StableName(const std::string &device)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path target = fs::canonical(device, ec);
    if (ec)
        return {};
    for (const auto &entry : fs::directory_iterator("/dev/serial/by-id", ec)) {
        std::error_code linkError;
        if (fs::canonical(entry.path(), linkError) == target && !linkError)
            return entry.path().string();
    }
    return {};
}

std::string OrDash(const QString &text)
{
    return text.isEmpty() ? std::string("-") : text.toStdString();
}

int RunPorts()
{
    const auto ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty()) {
        std::fprintf(stderr, "zor ports: no serial ports found\n");
        return 0;
    }
    for (const QSerialPortInfo &port : ports) {
        const std::string device = port.systemLocation().toStdString();
        const std::string stable = StableName(device);
        std::printf("%s\t%s\t%s\t%s\t%s\n", device.c_str(), stable.empty() ? "-" : stable.c_str(),
                    OrDash(port.description()).c_str(), OrDash(port.manufacturer()).c_str(),
                    OrDash(port.serialNumber()).c_str());
    }
    return 0;
}

const TSubcommand
    PortsRegistration("ports",
                      "List the serial ports: device, stable by-id name, description, "
                      "manufacturer and serial number, tab-separated ('-' when unknown)",
                      [](CLI::App &) -> TSubcommand::Run { return RunPorts; });

} // namespace

} // namespace zor::tool
