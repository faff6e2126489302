// zor ports: the machine's serial ports, for choosing the device behind a port number.
#include "comm/PortFactory.h"
#include "tools/zor/Output.h"
#include "tools/zor/Subcommand.h"

#include <cstdio>
#include <string>

namespace zor::tool {

namespace {

const char *OrDash(const std::string &text)
{
    return text.empty() ? "-" : text.c_str();
}

int RunPorts()
{
    const auto ports = CreatePortEnumerator()->Ports();
    if (ports.empty()) {
        Print(stderr, "zor ports: no serial ports found\n");
        return 0;
    }
    for (const TPortInfo &port : ports)
        Print(stdout, "%s\t%s\t%s\t%s\t%s\n", port.Device.c_str(), OrDash(port.ById),
              OrDash(port.Description), OrDash(port.Manufacturer), OrDash(port.SerialNumber));
    return 0;
}

const TSubcommand
    PortsRegistration("ports",
                      "List the serial ports: device, stable by-id name, description, "
                      "manufacturer and serial number, tab-separated ('-' when unknown)",
                      [](CLI::App &) -> TSubcommand::Run { return RunPorts; });

} // namespace

} // namespace zor::tool
