// The zor tool's command line: every registered subcommand with its options and checks on one
// CLI11 app, and what a given argument list asks for. Parsing runs nothing and writes nothing,
// so main() and the argument fuzzer share it.
#pragma once

#include "tools/zor/Subcommand.h"

#include <CLI/CLI.hpp>

#include <string>
#include <utility>
#include <vector>

namespace zor::tool {

// What a command line asks for.
struct TZorCommandLineChoice
{
    enum class TAction {
        Run,    // run the chosen subcommand (Run)
        Print,  // print Output on standard output and end with status 0 (--help, --version)
        Refuse, // print Error on standard error and end with UsageStatus
    };
    TAction Action = TAction::Refuse;
    // The subcommand named (also for its --help or a refused option); empty for the tool itself.
    std::string Subcommand;
    TSubcommand::Run Run;
    std::string Output;
    // Ends with a newline; says what is wrong and where to read the options.
    std::string Error;
    bool Help = false;
    bool Version = false;
};

class TZorCommandLine
{
public:
    // Declares the tool, its --version and every registered subcommand, sorted by name.
    TZorCommandLine();
    TZorCommandLine(const TZorCommandLine &) = delete;
    TZorCommandLine &operator=(const TZorCommandLine &) = delete;

    // Parses the arguments after the program name. Call once per TZorCommandLine: the options keep
    // what they parsed, for Run and for App().
    TZorCommandLineChoice Parse(std::vector<std::string> args);

    // The parsed app: its subcommands and their options' results.
    const CLI::App &App() const { return Tool; }

private:
    CLI::App Tool;
    std::vector<TSubcommandEntry> Entries;
    std::vector<std::pair<CLI::App *, TSubcommand::Run>> Runs;
};

} // namespace zor::tool
