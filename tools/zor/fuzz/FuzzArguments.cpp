// The zor tool's command line parsed from random arguments (the input split at NUL bytes and line
// ends). A parse either chooses a subcommand whose options are within their documented ranges
// and mean what they say (a number is read as the decimal number written, --allow-empty only
// when written), prints the help or
// the version only when asked for it, or refuses with a message; and it never runs anything nor
// writes a file (the working folder, an empty one of its own, stays empty).
#include "base/Version.h"
#include "tools/zor/ZorCommandLine.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace {

using zor::tool::TZorCommandLine;
using zor::tool::TZorCommandLineChoice;
using TAction = TZorCommandLineChoice::TAction;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

std::vector<std::string> Arguments(std::string_view input)
{
    std::vector<std::string> args;
    std::size_t start = 0;
    while (start < input.size()) {
        std::size_t end = input.find_first_of(std::string_view("\0\n", 2), start);
        if (end == std::string_view::npos)
            end = input.size();
        args.emplace_back(input.substr(start, end - start));
        start = end + 1;
    }
    return args;
}

// The value of a number option, given as decimal digits (a sign where it may be negative), and
// the value the option holds is that number.
std::int64_t Number(const CLI::App &sub, const std::string &name)
{
    const CLI::Option *option = sub.get_option(name);
    const std::vector<std::string> &results = option->results();
    Check(results.size() == 1);
    const std::string &text = results.front();
    std::int64_t written = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), written);
    Check(ec == std::errc() && end == text.data() + text.size());
    Check(option->as<std::int64_t>() == written);
    return written;
}

// Calls check with the option's number when the option was given.
template <typename F> void IfGiven(const CLI::App &sub, const std::string &name, F check)
{
    if (sub.get_option(name)->count() > 0)
        check(Number(sub, name));
}

bool Given(const CLI::App &sub, const std::string &name)
{
    return sub.get_option(name)->count() > 0;
}

void CheckOptions(const CLI::App &sub, const std::vector<std::string> &args)
{
    const std::string name = sub.get_name();
    if (name == "simulate") {
        IfGiven(sub, "--frames", [](std::int64_t n) { Check(n >= 1 && n <= 90000); });
        IfGiven(sub, "--scale", [](std::int64_t n) { Check(n >= 1 && n <= 8); });
        if (Given(sub, "--clock")) {
            const std::string clock = sub.get_option("--clock")->as<std::string>();
            Check(clock.size() == 19 && clock[4] == '-' && clock[7] == '-' && clock[10] == 'T');
        }
        Check(!(Given(sub, "document") && Given(sub, "--program")));
    } else if (name == "panel") {
        IfGiven(sub, "--baud", [](std::int64_t n) { Check(n > 0); });
        IfGiven(sub, "--free-blocks", [](std::int64_t n) { Check(n >= 0 && n <= 0xFFFF); });
        IfGiven(sub, "--count", [](std::int64_t n) { Check(n >= 0); });
    } else if (name == "send" || name == "numeric") {
        IfGiven(sub, "--baud", [](std::int64_t n) { Check(n > 0); });
        IfGiven(sub, "--port", [](std::int64_t) {});
        // The classic port number and named panels are two ways to choose; never both, and
        // every panel is never mixed with some.
        Check(!(Given(sub, "--port") && (Given(sub, "--panel") || Given(sub, "--all-panels"))));
        Check(!(Given(sub, "--all-panels") && Given(sub, "--panel")));
        if (Given(sub, "--all-panels"))
            Check(std::any_of(args.begin(), args.end(),
                              [](const std::string &a) { return a.starts_with("--all-panels"); }));
        if (name == "send") {
            Check(!(Given(sub, "document") && Given(sub, "--program")));
            // Clearing the panel is never the accident of a parse.
            if (Given(sub, "--allow-empty"))
                Check(std::any_of(args.begin(), args.end(), [](const std::string &a) {
                    return a.starts_with("--allow-empty");
                }));
        } else {
            const std::size_t counters = sub.get_option("counters")->results().size();
            Check(counters == 0 || counters == 2);
            Check(!(counters > 0 && Given(sub, "--since")));
            if (Given(sub, "--accidents") || Given(sub, "--today"))
                Check(Given(sub, "--since"));
        }
    } else if (name == "translate") {
        Check(Given(sub, "document"));
    } else {
        Check(name == "ports" || name == "panels");
    }
}

bool Asked(const std::vector<std::string> &args, std::string_view flag)
{
    return std::any_of(args.begin(), args.end(), [&](const std::string &a) { return a == flag; });
}

// -h alone or first of grouped short flags (-hx), --help, or the word help in front.
bool AskedForHelp(const std::vector<std::string> &args)
{
    return Asked(args, "--help") || args.front() == "help" ||
           std::any_of(args.begin(), args.end(),
                       [](const std::string &a) { return a.starts_with("-h"); });
}

std::filesystem::path Scratch;
int Home = -1;

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    char folder[] = "/tmp/fuzz_zor_arguments.XXXXXX";
    Home = open(".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (!mkdtemp(folder) || Home < 0)
        std::abort();
    Scratch = folder;
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(Scratch, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::vector<std::string> args =
        Arguments(std::string_view(reinterpret_cast<const char *>(data), size));
    // Relative file names in the arguments land in the scratch folder, where a file made by
    // parsing shows; the fuzzer's own files (corpus, findings) stay where it was started.
    Check(chdir(Scratch.c_str()) == 0);
    TZorCommandLine commandLine;
    const TZorCommandLineChoice choice = commandLine.Parse(args);
    Check(fchdir(Home) == 0);
    Check(std::filesystem::is_empty(Scratch));

    switch (choice.Action) {
    case TAction::Refuse:
        Check(!choice.Error.empty() && choice.Error.back() == '\n');
        Check(!choice.Run && choice.Output.empty() && !choice.Help && !choice.Version);
        break;
    case TAction::Print:
        Check(choice.Help != choice.Version && !choice.Run && choice.Error.empty());
        if (choice.Version) {
            Check(Asked(args, "--version"));
            Check(choice.Output == std::string(zor::kVersion) + "\n");
        } else {
            Check(AskedForHelp(args));
            Check(choice.Output.find("Usage: zor") != std::string::npos);
        }
        break;
    case TAction::Run: {
        Check(choice.Run && choice.Error.empty() && choice.Output.empty());
        Check(!args.empty() && args.front() == choice.Subcommand);
        const CLI::App *sub = commandLine.App().get_subcommand(choice.Subcommand);
        Check(sub->parsed());
        CheckOptions(*sub, args);
        break;
    }
    }
    return 0;
}
