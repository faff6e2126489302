// Registration of the zor tool's subcommands. A subcommand file defines a static TSubcommand
// whose setup declares its options on its own CLI11 app; TZorCommandLine (ZorCommandLine.h) parses
// the command line and main() runs the one chosen.
#pragma once

#include <CLI/CLI.hpp>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::tool {

// Exit status of a command line the tool does not accept (unknown option, missing value, ...).
inline constexpr int UsageStatus = 2;

struct TSubcommand
{
    // Runs the subcommand once its options are parsed; returns the process exit status.
    using Run = std::function<int()>;
    // Declares the options on app (binding them to state the returned Run owns).
    using Setup = std::function<Run(CLI::App &app)>;

    TSubcommand(std::string_view name, std::string_view description, Setup setup);
};

struct TSubcommandEntry
{
    std::string Name;
    std::string Description;
    TSubcommand::Setup Configure;
};

std::vector<TSubcommandEntry> &Subcommands();

// For every whole-number option, as ->transform(Decimal()): the number is the decimal digits
// written (an optional '-' in front), so 010 is ten; CLI11 alone reads it as octal 8 and takes
// 0x10 as 16. Anything else, or a number beyond 64 bits, is refused with need ("needs a whole
// number" unless the option says better).
CLI::Validator Decimal(std::string need = "needs a whole number");

// Prints "zor NAME: message" on stderr and returns status, for failures found after parsing.
int Fail(std::string_view name, std::string_view message, int status);

} // namespace zor::tool
