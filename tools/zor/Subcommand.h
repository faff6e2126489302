// Registration of the zor tool's subcommands. A subcommand file defines a static TSubcommand;
// main() finds it by name.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zor::tool {

struct TSubcommand
{
    // Returns the process exit status. args excludes the program and subcommand names.
    using Run = std::function<int(const std::vector<std::string> &args)>;

    TSubcommand(std::string_view name, std::string_view usage, Run run);
};

struct TSubcommandEntry
{
    std::string Name;
    std::string Usage;
    TSubcommand::Run Function;
};

std::vector<TSubcommandEntry> &Subcommands();

} // namespace zor::tool
