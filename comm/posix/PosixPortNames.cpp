#include "comm/PortNames.h"

namespace zor {

std::string DefaultPortDevice(int n)
{
    return "/dev/ttyS" + std::to_string(n - 1);
}

std::string LocalDevicePath(const std::string &name)
{
    return name.front() == '/' ? name : "/dev/" + name;
}

} // namespace zor
