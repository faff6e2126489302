// The machine's serial ports as the Parameters dialog offers them. The enumeration sits behind an
// interface so that tests can offer a fixed list instead of the machine's.
#pragma once

#include <string>
#include <vector>

namespace zor {

struct TPortInfo
{
    std::string Device;       // the kernel's node, e.g. /dev/ttyUSB0
    std::string ById;         // its stable /dev/serial/by-id/... link, empty when there is none
    std::string Description;  // empty where unknown
    std::string Manufacturer; // empty where unknown
    std::string SerialNumber; // empty where unknown

    // The path worth storing: the by-id link when there is one, because a USB adapter's ttyUSBn
    // number changes with the order of plugging in; otherwise the device.
    const std::string &PreferredPath() const { return ById.empty() ? Device : ById; }
};

class TPortEnumerator
{
public:
    virtual ~TPortEnumerator() = default;
    // The ports present now, in a stable order (by device path).
    virtual std::vector<TPortInfo> Ports() const = 0;
};

// Fills ById of each port from the links in byIdFolder that resolve to its device. A missing
// folder (no USB adapter plugged in) leaves every ById empty.
void AttachByIdNames(std::vector<TPortInfo> &ports,
                     const std::string &byIdFolder = "/dev/serial/by-id");

// A device path from what the operator typed: blanks around it dropped, a bare name taken as the
// platform's (comm/PortNames.h: "ttyUSB0" as /dev/ttyUSB0, "COM5" as \\.\COM5); a network device
// (socket://, rfc2217://) and a gateway's panel (mqtt://, mqtts://) kept as typed. Empty text gives
// an empty path.
std::string NormalizeDevicePath(const std::string &typed);

} // namespace zor
