#include "comm/PortNames.h"

#include <algorithm>
#include <cctype>

namespace zor {

std::string DefaultPortDevice(int n)
{
    return "COM" + std::to_string(n);
}

namespace {

bool IsComName(const std::string &name)
{
    return name.size() > 3 &&
           std::all_of(name.begin() + 3, name.end(),
                       [](unsigned char c) { return std::isdigit(c) != 0; }) &&
           std::equal(name.begin(), name.begin() + 3, "COM", [](char a, char b) {
               return std::toupper(static_cast<unsigned char>(a)) == b;
           });
}

} // namespace

std::string LocalDevicePath(const std::string &typed)
{
    if (typed.starts_with(R"(\\)"))
        return typed;
    std::string name = typed;
    // "COM5:" is how DOS and the mode command write a port; the device has no colon.
    if (name.ends_with(':') && IsComName(name.substr(0, name.size() - 1)))
        name.pop_back();
    std::string path = R"(\\.\)" + name;
    // The COM ports in the one spelling the ports list shows.
    if (IsComName(name))
        std::transform(path.begin(), path.end(), path.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return path;
}

} // namespace zor
