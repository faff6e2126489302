// zor numeric: sends the two counters to the panel (or to several at once), the way the Numeric
// fields command does.
#include "comm/NumericMessage.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Counters.h"
#include "tools/zor/Subcommand.h"
#include "tools/zor/Transfers.h"

#include <memory>

namespace zor::tool {

namespace {

struct TNumericArgs
{
    std::vector<std::string> Counters;
    std::string Since;
    std::string Today;
    std::string Accidents;
    TCommOptions Comm;
};

int RunNumeric(const TNumericArgs &a)
{
    std::string days, accidents;
    if (!a.Since.empty()) {
        std::string error;
        if (!CountersSince(a.Since, a.Today, a.Accidents, &days, &accidents, &error))
            return Fail("numeric", error, UsageStatus);
    } else if (a.Counters.size() == 2) {
        days = a.Counters[0];
        accidents = a.Counters[1];
    } else {
        return Fail("numeric", "give the accident-free days and the accidents, or --since DATE",
                    UsageStatus);
    }
    std::uint8_t message[8] = {};
    if (days.size() > 3 || accidents.size() > 2 || !BuildMessage(days, accidents, message))
        return Fail("numeric",
                    "Only numeric value: the accident-free days take up to three digits (0 to "
                    "999), the accidents since 1 January up to two (0 to 99)",
                    UsageStatus);

    TCommArgs comm;
    if (const int status = ResolveCommArgs("numeric", a.Comm, &comm))
        return status;
    return RunTransfers("numeric", comm.Targets, TPanelJob::Numeric(message), comm.Mqtt);
}

const TSubcommand NumericRegistration(
    "numeric", "Send the two counters (accident-free days, accidents since 1 January)",
    [](CLI::App &app) -> TSubcommand::Run {
        auto a = std::make_shared<TNumericArgs>();
        auto *counters = app.add_option("counters", a->Counters,
                                        "DAYS (up to three digits) and ACCIDENTS (up to two)")
                             ->type_name("DAYS ACCIDENTS")
                             ->expected(2);
        auto *since = app.add_option("--since", a->Since,
                                     "Count the accident-free days from this date (local time)")
                          ->type_name("DATE")
                          ->excludes(counters);
        app.add_option("--accidents", a->Accidents,
                       "With --since: accidents since 1 January (default 0)")
            ->type_name("N")
            ->needs(since);
        app.add_option("--today", a->Today, "With --since: take this date as today")
            ->type_name("DATE")
            ->needs(since);
        AddCommOptions(app, a->Comm, false);
        return [a] { return RunNumeric(*a); };
    });

} // namespace

} // namespace zor::tool
