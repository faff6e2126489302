// zor panels: the named panels of the settings file, for scripts and for checking the file.
#include "comm/Panels.h"
#include "comm/Settings.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Output.h"
#include "tools/zor/Subcommand.h"

#include <cstdio>
#include <memory>

namespace zor::tool {

namespace {

int RunPanels(const TCommOptions &o)
{
    TProfileFile profile;
    std::string path;
    if (const int status = ReadSettingsFile(o, &profile, &path))
        return status;
    const std::vector<TNamedPanel> panels = LoadPanels(profile);
    if (panels.empty()) {
        Print(stderr, "zor panels: there are no panels in section [%s] of %s\n",
              std::string(PanelsSection).c_str(), path.c_str());
        return 0;
    }
    // Only the rate is wanted; the log's folder (the current one, which std::filesystem may not
    // be able to spell in Windows' code page) does not matter here.
    const std::int32_t pcBaud = LoadCommSettings(profile, {}).Baud;
    // The panels that can be used are listed; the others are named on stderr and make the
    // status 2, so that a script stops at a file that is wrong.
    int status = 0;
    for (const TNamedPanel &panel : panels) {
        if (!panel.Problem().empty()) {
            Print(stderr, "zor panels: %s in section [%s] of %s\n", panel.Problem().Text().c_str(),
                  std::string(PanelsSection).c_str(), path.c_str());
            status = UsageStatus;
            continue;
        }
        Print(stdout, "%s\t%s\t%d\n", panel.Name.c_str(), panel.Device.c_str(),
              static_cast<int>(panel.Baud > 0 ? panel.Baud : pcBaud));
    }
    return status;
}

const TSubcommand PanelsRegistration(
    "panels",
    "List the panels named in section Panels of the settings file: name, device and the baud "
    "rate a transfer uses, tab-separated",
    [](CLI::App &app) -> TSubcommand::Run {
        auto o = std::make_shared<TCommOptions>();
        app.add_option("--settings", o->SettingsFile,
                       "The settings file, which must be readable (default: the editor's)")
            ->type_name("FILE")
            ->each([o](const std::string &) { o->SettingsGiven = true; });
        return [o] { return RunPanels(*o); };
    });

} // namespace

} // namespace zor::tool
