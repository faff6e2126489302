// zor panel where the emulator cannot be built (Windows: it needs a pseudo-terminal): the
// subcommand is still there, so that asking for it says why it is missing instead of "unknown".
#include "tools/zor/Subcommand.h"

namespace zor::tool {

namespace {

const TSubcommand PanelRegistration(
    "panel", "A panel emulator on a pseudo-terminal (not in this build)",
    [](CLI::App &app) -> TSubcommand::Run {
        // Whatever options a script passes, the answer is the same.
        app.allow_extras();
        return [] {
            return Fail("panel",
                        "this build has no panel emulator: it needs a pseudo-terminal; run "
                        "zor panel on Linux and reach it through a COM port or socket://",
                        1);
        };
    });

} // namespace

} // namespace zor::tool
