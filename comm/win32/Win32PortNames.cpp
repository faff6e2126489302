#include "comm/PortNames.h"

#include <algorithm>
#include <cctype>

namespace zor {

std::string DefaultPortDevice(int n)
{
    return "COM" + std::to_string(n);
}

std::string LocalDevicePath(const std::string &name)
{
    if (name.starts_with(R"(\\)"))
        return name;
    std::string path = R"(\\.\)" + name;
    // The COM ports in the one spelling the ports list shows.
    const bool com = name.size() > 3 &&
                     std::all_of(name.begin() + 3, name.end(),
                                 [](unsigned char c) { return std::isdigit(c) != 0; }) &&
                     std::equal(name.begin(), name.begin() + 3, "COM", [](char a, char b) {
                         return std::toupper(static_cast<unsigned char>(a)) == b;
                     });
    if (com)
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return path;
}

} // namespace zor
