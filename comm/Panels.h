// The named panels of a plant, kept in section "Panels" of the settings file: each key a panel's
// name, each value "DEVICE" or "DEVICE,BAUD" (Hall1=rfc2217://10.0.0.21:4001,
// Gate=/dev/serial/by-id/usb-FTDI_...,19200). A panel without a rate of its own works at the rate
// of section "PC".
#pragma once

#include "base/Message.h"

#include "comm/ProfileFile.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

inline constexpr std::string_view PanelsSection = "Panels";

struct TNamedPanel
{
    TNamedPanel(std::string name = {}, std::string device = {}, std::int32_t baud = 0)
        : Name(std::move(name)), Device(std::move(device)), Baud(baud)
    {
    }

    std::string Name;
    std::string Device;    // a path or a socket:// or rfc2217:// name, as written
    std::int32_t Baud = 0; // 0: the rate of section "PC"
    // Why the file's entry cannot be used as it stands, naming it; empty when it can. A name
    // PanelNameProblem refuses or that only the case tells from an earlier one...
    TMessage NameProblem;
    // ...and a rate after the last comma that the panel does not work at ("0", "-1",
    // "19200abc").
    TMessage RateProblem;

    const TMessage &Problem() const { return NameProblem.empty() ? RateProblem : NameProblem; }

    bool operator==(const TNamedPanel &) const = default;
};

// A panel's value as written in the file: "DEVICE" or "DEVICE,BAUD". What follows the last
// comma is a rate when it looks like one (a sign or a digit, then only letters and digits): a
// positive decimal number is the panel's rate, anything else such is a RateProblem. A device
// whose name has a comma followed by something else (by-id names) keeps it.
std::string PanelValue(const TNamedPanel &panel);
TNamedPanel ParsePanel(std::string_view name, std::string_view value);

// Why a name cannot name a panel ("" when it can): empty, blanks around it, '=', '[' or ';' at
// its start, a comma or a tab (the lists zor prints and reads use those), a line break.
std::string PanelNameProblem(std::string_view name);

// The panels in the order of the file. Keys with an empty device are left out; a key that
// cannot be used as written is kept with its problem set, so that a caller refuses it by name
// instead of losing it.
std::vector<TNamedPanel> LoadPanels(const TProfileFile &profile);

// Makes section "Panels" hold exactly these panels in this order: keys of panels no longer there
// are removed, every other section, key and comment of the file is kept.
void StorePanels(TProfileFile &profile, const std::vector<TNamedPanel> &panels);

// A name as compared: case folded in ASCII, Latin-1 and Latin Extended-A (the letters of the
// plants' languages), so "HÄLLÉ" finds "Hällé". Text that is no UTF-8 folds in ASCII only.
std::string FoldPanelName(std::string_view name);

// The panel of that name (names compare as FoldPanelName gives them), or null.
const TNamedPanel *FindPanel(const std::vector<TNamedPanel> &panels, std::string_view name);

// A key for "the same device" as far as the names tell: a path resolved through its links
// (/dev/serial/by-id/... and the ttyUSBn it leads to are one device), a network name as
// scheme-less lower-case HOST:PORT with the port as a plain number (socket:// and rfc2217:// to
// one server port are one device, and so are :4001 and :04001).
std::string DeviceIdentity(const std::string &device);

// The first two of devices, in order, that are one device, as their indexes: the same
// DeviceIdentity, or network names with the same port whose hosts resolve to a common address
// (socket://localhost:4001 and socket://127.0.0.1:4001). A host is looked up only when another
// name has its port and it is not already the same by name; one that cannot be looked up is
// compared by name.
std::optional<std::pair<std::size_t, std::size_t>>
FindSameDevice(const std::vector<std::string> &devices);

// The transfer log of one panel: the log's file name with the panel's name added before the
// extension (/var/log/zor.log and Hall1 give /var/log/zor-Hall1.log). Characters that cannot
// stand in a file name become '_'.
std::string PanelLogPath(const std::string &logPath, std::string_view panelName);

} // namespace zor
