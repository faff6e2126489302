#include "tools/zor/Subcommand.h"

#include <algorithm>
#include <cstdio>
#include <exception>

namespace zor::tool {

std::vector<TSubcommandEntry> &Subcommands()
{
    static std::vector<TSubcommandEntry> list;
    return list;
}

TSubcommand::TSubcommand(std::string_view name, std::string_view usage, Run run)
{
    Subcommands().push_back({std::string(name), std::string(usage), std::move(run)});
}

} // namespace zor::tool

namespace {

int Usage(std::FILE *to)
{
    auto list = zor::tool::Subcommands();
    std::sort(list.begin(), list.end(),
              [](const auto &a, const auto &b) { return a.Name < b.Name; });
    std::fprintf(to, "usage: zor <command> [arguments]\n\ncommands:\n");
    for (const auto &c : list)
        std::fprintf(to, "  %s\n", c.Usage.c_str());
    return to == stdout ? 0 : 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2)
        return Usage(stderr);
    const std::string name = argv[1];
    if (name == "--help" || name == "-h" || name == "help")
        return Usage(stdout);
    for (const auto &c : zor::tool::Subcommands()) {
        if (c.Name == name) {
            try {
                return c.Function(std::vector<std::string>(argv + 2, argv + argc));
            } catch (const std::exception &e) {
                std::fprintf(stderr, "zor %s: %s\n", name.c_str(), e.what());
                return 1;
            }
        }
    }
    std::fprintf(stderr, "zor: unknown command '%s'\n", name.c_str());
    return Usage(stderr);
}
