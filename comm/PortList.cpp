#include "comm/PortList.h"

#include "comm/MqttAddress.h"
#include "comm/NetPort.h"
#include "comm/PortNames.h"

#include <algorithm>
#include <filesystem>

namespace zor {

void AttachByIdNames(std::vector<TPortInfo> &ports, const std::string &byIdFolder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::directory_iterator it(byIdFolder, ec);
    if (ec)
        return;
    std::vector<std::pair<fs::path, fs::path>> links; // (link, target)
    for (const fs::directory_entry &entry : it) {
        std::error_code e;
        const fs::path target = fs::canonical(entry.path(), e);
        if (!e)
            links.emplace_back(entry.path(), target);
    }
    // Sorted, so that an adapter with several links always offers the same one.
    std::sort(links.begin(), links.end());
    for (TPortInfo &port : ports) {
        std::error_code e;
        const fs::path device = fs::canonical(port.Device, e);
        if (e)
            continue;
        for (const auto &[link, target] : links)
            if (target == device) {
                port.ById = link.string();
                break;
            }
    }
}

std::string NormalizeDevicePath(const std::string &typed)
{
    const auto first = typed.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    const auto last = typed.find_last_not_of(" \t");
    std::string path = typed.substr(first, last - first + 1);
    return IsNetworkDevice(path) || IsMqttDevice(path) ? path : LocalDevicePath(path);
}

} // namespace zor
