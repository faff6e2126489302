#include "base/Version.h"
#include "tools/zor/Subcommand.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <iostream>
#include <map>
#include <regex>

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

int Fail(std::string_view name, std::string_view message, int status)
{
    std::fprintf(stderr, "zor %.*s: %.*s\n", int(name.size()), name.data(), int(message.size()),
                 message.data());
    return status;
}

} // namespace zor::tool

namespace {

// CLI11 says "--program: 1 required FILE missing"; the operator is better served by what the
// option wants, in words.
std::string Explain(const CLI::ParseError &e)
{
    static const std::regex missing(R"(^(\S+): 1 required (\S+) missing$)");
    static const std::map<std::string, std::string> words = {
        {"FILE", "a file"},
        {"PATH", "a device path"},
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

// Output lost on a full disk or a closed pipe must not end in status 0.
int CheckStandardOutput(const std::string &name, int status)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && !std::ferror(stdout))
        return status;
    const int err = errno ? errno : EIO;
    std::fprintf(stderr, "zor%s%s: cannot write to standard output: %s\n", name.empty() ? "" : " ",
                 name.c_str(), std::strerror(err));
    return status == 0 ? 1 : status;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zor::tool;
    CLI::App app("The command-line tool of ZorEdit: translate, simulate and send message programs "
                 "of the Zor LED panel.",
                 "zor");
    app.set_version_flag("--version", std::string(zor::kVersion), "Print the version and exit");
    app.require_subcommand(1);
    app.fallthrough(false);

    auto entries = Subcommands();
    std::sort(entries.begin(), entries.end(),
              [](const auto &a, const auto &b) { return a.Name < b.Name; });
    std::vector<std::pair<CLI::App *, TSubcommand::Run>> runs;
    for (const auto &e : entries) {
        CLI::App *sub = app.add_subcommand(e.Name, e.Description);
        runs.emplace_back(sub, e.Configure(*sub));
    }

    if (argc < 2) {
        std::cerr << app.help();
        return UsageStatus;
    }
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.front() == "help")
        args.front() = "--help";
    if (!args.front().starts_with('-') &&
        std::none_of(entries.begin(), entries.end(),
                     [&](const auto &e) { return e.Name == args.front(); })) {
        std::fprintf(stderr, "zor: unknown subcommand '%s'\n", args.front().c_str());
        std::cerr << app.help();
        return UsageStatus;
    }
    std::reverse(args.begin(), args.end()); // CLI11 takes the arguments last first

    try {
        app.parse(args);
    } catch (const CLI::ParseError &e) {
        if (e.get_exit_code() == 0)
            return CheckStandardOutput("", app.exit(e));
        std::string name;
        for (const auto &[sub, run] : runs)
            if (sub->parsed())
                name = sub->get_name();
        std::fprintf(stderr, "zor%s%s: %s\nRun 'zor%s%s --help' for its options.\n",
                     name.empty() ? "" : " ", name.c_str(), Explain(e).c_str(),
                     name.empty() ? "" : " ", name.c_str());
        return UsageStatus;
    }

    for (const auto &[sub, run] : runs) {
        if (!sub->parsed())
            continue;
        int status = 1;
        try {
            status = run();
        } catch (const std::exception &e) {
            std::fprintf(stderr, "zor %s: %s\n", sub->get_name().c_str(), e.what());
        }
        return CheckStandardOutput(sub->get_name(), status);
    }
    return UsageStatus;
}
