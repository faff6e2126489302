#include "comm/Panels.h"

#include "base/Platform.h"
#include "base/TranslateNoop.h"
#include "base/Utf8.h"
#include "comm/MqttAddress.h"
#include "comm/NetPort.h"
#include "comm/NetSocket.h"
#include "comm/PortList.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

namespace zor {

namespace {

bool IsDecimal(std::string_view s)
{
    return !s.empty() && s.size() <= 9 &&
           std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view Trimmed(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::string Lower(std::string_view s)
{
    std::string out(s);
    for (char &c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// A sign or a digit, then letters and digits only: what an operator means as a rate.
bool LooksLikeRate(std::string_view s)
{
    if (!s.empty() && (s.front() == '-' || s.front() == '+'))
        s.remove_prefix(1);
    const auto alnum = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
    };
    return !s.empty() && s.front() >= '0' && s.front() <= '9' &&
           std::all_of(s.begin(), s.end(), alnum);
}

char32_t FoldLetter(char32_t c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return c + 0x20;
    if (c == 0x130) // capital I with a dot
        return 'i';
    if (c == 0x178) // capital Y with diaeresis, whose small letter is in Latin-1
        return 0xFF;
    // Latin Extended-A pairs capital and small letter, the capital first, except in the run
    // from U+0139 to U+0148 and from U+0179 to U+017E, where the capital is odd.
    if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177))
        return c | 1;
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
        return (c & 1) ? c + 1 : c;
    return c;
}

} // namespace

std::string FoldPanelName(std::string_view name)
{
    std::u32string chars;
    if (!doc::DecodeUtf8(name, chars))
        return Lower(name);
    std::string out;
    for (char32_t c : chars)
        doc::AppendUtf8(out, FoldLetter(c));
    return out;
}

std::string PanelValue(const TNamedPanel &panel)
{
    return panel.Baud > 0 ? panel.Device + "," + std::to_string(panel.Baud) : panel.Device;
}

TNamedPanel ParsePanel(std::string_view name, std::string_view value)
{
    TNamedPanel panel;
    panel.Name = std::string(Trimmed(name));
    value = Trimmed(value);
    const auto comma = value.rfind(',');
    if (comma != std::string_view::npos) {
        const std::string_view rate = Trimmed(value.substr(comma + 1));
        if (LooksLikeRate(rate)) {
            if (IsDecimal(rate) && std::stol(std::string(rate)) > 0)
                panel.Baud = static_cast<std::int32_t>(std::stol(std::string(rate)));
            else
                panel.RateProblem = TMessage::Tr(
                    "Panels",
                    ZOR_TRANSLATE_NOOP("Panels", "%1=%2: \"%3\" is no rate; the panel works at "
                                                 "4800, 9600 or 19200 baud"),
                    {panel.Name, std::string(value), std::string(rate)});
            value = Trimmed(value.substr(0, comma));
        }
    }
    panel.Device = std::string(value);
    return panel;
}

std::string PanelNameProblem(std::string_view name)
{
    if (name.empty())
        return ZOR_TRANSLATE_NOOP("Panels", "A panel needs a name");
    if (Trimmed(name) != name)
        return ZOR_TRANSLATE_NOOP("Panels", "A panel's name cannot begin or end with a blank");
    if (name.front() == '[' || name.front() == ';')
        return ZOR_TRANSLATE_NOOP("Panels", "A panel's name cannot begin with '[' or ';'");
    if (name.find_first_of("=,\t\r\n") != std::string_view::npos)
        return ZOR_TRANSLATE_NOOP("Panels",
                                  "A panel's name cannot hold '=', a comma, a tab or a line break");
    return {};
}

std::vector<TNamedPanel> LoadPanels(const TProfileFile &profile)
{
    std::vector<TNamedPanel> panels;
    for (const auto &[key, value] : profile.Entries(PanelsSection)) {
        TNamedPanel panel = ParsePanel(key, value);
        if (panel.Device.empty())
            continue;
        if (const std::string why = PanelNameProblem(panel.Name); !why.empty())
            panel.NameProblem =
                TMessage::Tr("Panels", ZOR_TRANSLATE_NOOP("Panels", "the panel \"%1\": %2"),
                             {panel.Name, TMessage::Tr("Panels", why.c_str())});
        else if (const TNamedPanel *earlier = FindPanel(panels, panel.Name))
            panel.NameProblem = TMessage::Tr(
                "Panels",
                ZOR_TRANSLATE_NOOP("Panels", "the panels \"%1\" and \"%2\" have one name (case "
                                             "does not tell names apart)"),
                {earlier->Name, panel.Name});
        panels.push_back(std::move(panel));
    }
    return panels;
}

void StorePanels(TProfileFile &profile, const std::vector<TNamedPanel> &panels)
{
    // The file tells keys apart by ASCII case only: a key kept must be one the file finds under
    // the panel's name, or a re-cased "Hällé" would be written beside the old line.
    for (const std::string &key : profile.Keys(PanelsSection))
        if (std::none_of(panels.begin(), panels.end(),
                         [&](const TNamedPanel &p) { return Lower(p.Name) == Lower(key); }))
            profile.DeleteKey(PanelsSection, key);
    // Removed and written again in order, so that the file lists them as the operator does; a
    // name only re-cased is written as now spelt.
    for (const TNamedPanel &panel : panels) {
        profile.DeleteKey(PanelsSection, panel.Name);
        profile.WriteString(PanelsSection, panel.Name, PanelValue(panel));
    }
}

const TNamedPanel *FindPanel(const std::vector<TNamedPanel> &panels, std::string_view name)
{
    const std::string wanted = FoldPanelName(name);
    for (const TNamedPanel &panel : panels)
        if (FoldPanelName(panel.Name) == wanted)
            return &panel;
    return nullptr;
}

std::string DeviceIdentity(const std::string &device)
{
    const std::string path = NormalizeDevicePath(device);
    if (TNetAddress address; ParseNetworkDevice(path, &address)) {
        const std::string host = Lower(address.Host);
        return "net:" + (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" +
               std::to_string(std::stoi(address.Port));
    }
    // A gateway's panel is one panel whichever scheme or spelling of its broker names it.
    TMqttAddress mqtt;
    if (std::string unsaid; ParseMqttDevice(path, &mqtt, &unsaid))
        return "mqtt:" + Lower(mqtt.Host) + ":" + std::to_string(mqtt.Port) + "/" + mqtt.Site +
               "/" + mqtt.Panel;
    const std::string lower = Lower(path);
    for (std::string_view scheme : {"socket://", "rfc2217://"})
        if (lower.starts_with(scheme)) {
            std::string hostPort = lower.substr(scheme.size());
            if (const auto slash = hostPort.find('/'); slash != std::string::npos)
                hostPort.resize(slash);
            return "net:" + hostPort;
        }
    // Through UTF-8 on both sides: a plain std::string is the code page's on Windows.
    std::error_code ec;
    const auto resolved =
        std::filesystem::weakly_canonical(std::u8string(path.begin(), path.end()), ec).u8string();
    return ec ? path : std::string(resolved.begin(), resolved.end());
}

std::optional<std::pair<std::size_t, std::size_t>>
FindSameDevice(const std::vector<std::string> &devices)
{
    struct TName
    {
        std::string Identity;
        std::optional<TNetAddress> Net;
        std::optional<std::vector<TSocketAddress>> Addresses; // once looked up
    };
    std::vector<TName> names;
    for (const std::string &device : devices) {
        TName name{DeviceIdentity(device), std::nullopt, std::nullopt};
        if (TNetAddress address; ParseNetworkDevice(NormalizeDevicePath(device), &address))
            name.Net = address;
        names.push_back(std::move(name));
    }
    // Looked up only when needed: a list of device servers each at its own port, or each known
    // by one name, costs no lookup at all.
    const auto addressesOf = [](TName &name) -> const std::vector<TSocketAddress> & {
        if (!name.Addresses) {
            std::vector<TSocketAddress> found;
            std::string error;
            if (!ResolveStream(name.Net->Host, name.Net->Port, &found, &error))
                found.clear();
            name.Addresses = std::move(found);
        }
        return *name.Addresses;
    };
    const auto shareAnAddress = [&](TName &a, TName &b) {
        if (!a.Net || !b.Net || std::stoi(a.Net->Port) != std::stoi(b.Net->Port))
            return false;
        for (const TSocketAddress &x : addressesOf(a))
            for (const TSocketAddress &y : addressesOf(b))
                if (x.Family == y.Family && x.Bytes == y.Bytes)
                    return true;
        return false;
    };
    for (std::size_t j = 1; j < names.size(); ++j)
        for (std::size_t i = 0; i < j; ++i)
            if (names[i].Identity == names[j].Identity || shareAnAddress(names[i], names[j]))
                return std::make_pair(i, j);
    return std::nullopt;
}

std::string PanelLogPath(const std::string &logPath, std::string_view panelName)
{
    std::string name(panelName);
    for (char &c : name)
        if (c == '/' || c == '\\' || c == ':' || static_cast<unsigned char>(c) < 0x20)
            c = '_';
    // Taken apart as text, not by std::filesystem, whose plain strings are in the system's code
    // page on Windows: a name beyond it would come back mangled. A leading dot starts no
    // extension (".log" is a name).
    const auto separator = LastPathSeparator(logPath);
    const std::size_t fileStart = separator == std::string::npos ? 0 : separator + 1;
    auto dot = logPath.rfind('.');
    if (dot == std::string::npos || dot <= fileStart)
        dot = logPath.size();
    return logPath.substr(0, dot) + "-" + name + logPath.substr(dot);
}

} // namespace zor
