// zor gateway where it is not built (Windows: the gateway runs on the box beside the panels, and
// this build has no MQTT client library): the subcommand is still there, so that asking for it
// says why it is missing instead of "unknown".
#include "tools/zor/Subcommand.h"

namespace zor::tool {

namespace {

const TSubcommand GatewayRegistration(
    "gateway", "Serve a site's panels through an MQTT broker (not in this build)",
    [](CLI::App &app) -> TSubcommand::Run {
        // Whatever options a script passes, the answer is the same.
        app.allow_extras();
        return [] {
            return Fail("gateway",
                        "this build has no MQTT gateway: run zor gateway on Linux, on the box "
                        "beside the panels",
                        1);
        };
    });

} // namespace

} // namespace zor::tool
