#include "base/Platform.h"
#include "tools/zor/Output.h"
#include "tools/zor/ZorCommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <string>

namespace {

// Output lost on a full disk or a closed pipe must not end in status 0.
int CheckStandardOutput(const std::string &name, int status)
{
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && !std::ferror(stdout) && !zor::tool::StandardOutputFailed())
        return status;
    const int err = errno ? errno : EIO;
    zor::tool::Print(stderr, "zor%s%s: cannot write to standard output: %s\n",
                     name.empty() ? "" : " ", name.c_str(), std::strerror(err));
    return status == 0 ? 1 : status;
}

} // namespace

int main(int argc, char **argv)
{
    using namespace zor::tool;
    using TAction = TZorCommandLineChoice::TAction;
    // Programs and GIFs may go to standard output: byte for byte.
    zor::UseBinaryStandardOutput();
    TZorCommandLine commandLine;
    const TZorCommandLineChoice choice = commandLine.Parse(zor::ProgramArguments(argc, argv));
    switch (choice.Action) {
    case TAction::Refuse:
        PrintText(stderr, choice.Error);
        return UsageStatus;
    case TAction::Print:
        PrintText(stdout, choice.Output);
        return CheckStandardOutput("", 0);
    case TAction::Run:
        break;
    }
    int status = 1;
    try {
        status = choice.Run();
    } catch (const std::exception &e) {
        Print(stderr, "zor %s: %s\n", choice.Subcommand.c_str(), e.what());
    }
    return CheckStandardOutput(choice.Subcommand, status);
}
