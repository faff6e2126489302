#include "tools/zor/ZorCommandLine.h"

#include "base/Version.h"
#include "tools/zor/Output.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdio>
#include <map>
#include <regex>
#include <sstream>

namespace zor::tool {

std::vector<TSubcommandEntry> &Subcommands()
{
    static std::vector<TSubcommandEntry> list;
    return list;
}

TSubcommand::TSubcommand(std::string_view name, std::string_view description, Setup setup)
{
    Subcommands().push_back({std::string(name), std::string(description), std::move(setup)});
}

CLI::Validator Decimal(std::string need)
{
    return CLI::Validator(
        [need](std::string &text) {
            const bool negative = text.starts_with('-');
            const std::string_view digits = std::string_view(text).substr(negative ? 1 : 0);
            std::int64_t n = 0;
            const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), n);
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
                ec != std::errc() || end != text.data() + text.size())
                return need;
            text = std::to_string(n);
            return std::string();
        },
        "", "decimal");
}

int Fail(std::string_view name, std::string_view message, int status)
{
    Print(stderr, "zor %.*s: %.*s\n", int(name.size()), name.data(), int(message.size()),
          message.data());
    return status;
}

namespace {

// CLI11 says "--program: 1 required FILE missing"; the operator is better served by what the
// option wants, in words.
std::string Explain(const CLI::ParseError &e)
{
    static const std::regex missing(R"(^(\S+): 1 required (\S+) missing$)");
    static const std::map<std::string, std::string> words = {
        {"FILE", "a file"},
        {"PATH", "a device path"},
        {"NAME", "a panel's name"},
        {"N", "a number"},
        {"B", "a baud rate"},
        {"DATE", "a date as YYYY-MM-DD"},
        {"S", "a scale"},
        {"MS", "milliseconds"},
        {"TIME", "a local time as YYYY-MM-DDTHH:MM:SS"},
    };
    std::smatch m;
    const std::string text = e.what();
    if (std::regex_match(text, m, missing)) {
        const auto w = words.find(m[2]);
        return m[1].str() + " needs " + (w == words.end() ? "a value" : w->second);
    }
    return text;
}

} // namespace

TZorCommandLine::TZorCommandLine()
    : Tool("The command-line tool of ZorEdit: translate, simulate and send message programs of "
           "the Zor LED panel.",
           "zor"),
      Entries(Subcommands())
{
    Tool.set_version_flag("--version", std::string(zor::kVersion), "Print the version and exit");
    Tool.require_subcommand(1);
    Tool.fallthrough(false);
    std::sort(Entries.begin(), Entries.end(),
              [](const auto &a, const auto &b) { return a.Name < b.Name; });
    for (const auto &e : Entries) {
        CLI::App *sub = Tool.add_subcommand(e.Name, e.Description);
        Runs.emplace_back(sub, e.Configure(*sub));
    }
}

TZorCommandLineChoice TZorCommandLine::Parse(std::vector<std::string> args)
{
    using TAction = TZorCommandLineChoice::TAction;
    TZorCommandLineChoice choice;
    if (args.empty()) {
        choice.Error = Tool.help();
        return choice;
    }
    if (args.front() == "help")
        args.front() = "--help";
    if (!args.front().starts_with('-') &&
        std::none_of(Entries.begin(), Entries.end(),
                     [&](const auto &e) { return e.Name == args.front(); })) {
        choice.Error = "zor: unknown subcommand '" + args.front() + "'\n" + Tool.help();
        return choice;
    }
    std::reverse(args.begin(), args.end()); // CLI11 takes the arguments last first

    try {
        Tool.parse(args);
    } catch (const CLI::ParseError &e) {
        for (const auto &[sub, run] : Runs)
            if (sub->parsed())
                choice.Subcommand = sub->get_name();
        if (e.get_exit_code() == 0) {
            std::ostringstream out, err;
            Tool.exit(e, out, err);
            choice.Action = TAction::Print;
            choice.Output = out.str();
            choice.Version = e.get_name() == "CallForVersion";
            choice.Help = !choice.Version;
            return choice;
        }
        const std::string name = choice.Subcommand.empty() ? "" : " " + choice.Subcommand;
        choice.Error =
            "zor" + name + ": " + Explain(e) + "\nRun 'zor" + name + " --help' for its options.\n";
        return choice;
    }

    for (const auto &[sub, run] : Runs) {
        if (!sub->parsed())
            continue;
        choice.Action = TAction::Run;
        choice.Subcommand = sub->get_name();
        choice.Run = run;
        return choice;
    }
    // require_subcommand(1) leaves no way here; refuse rather than do nothing with status 0.
    choice.Error = Tool.help();
    return choice;
}

} // namespace zor::tool
