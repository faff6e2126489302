// Starting one of the project's programs from a test: fork, the child's standard output and error
// where the test wants them, exec. Plain POSIX, for tests and benchmarks alike.
#pragma once

#include <functional>
#include <string>
#include <sys/types.h>
#include <unistd.h>
#include <vector>

namespace zor::test {

// Starts tool with args (argv[0] is the tool itself) in a child process whose standard output
// and error are out and err (-1 leaves one as this process has it); inChild runs in the child
// just before the exec. The caller keeps and closes its own out and err. Returns the child's
// process id, or -1 when no child could be made; a child that cannot exec ends with status 127.
inline pid_t ExecTool(const std::string &tool, std::vector<std::string> args, int out, int err,
                      const std::function<void()> &inChild = {})
{
    args.insert(args.begin(), tool);
    const pid_t pid = fork();
    if (pid != 0)
        return pid;
    if ((out >= 0 && dup2(out, STDOUT_FILENO) < 0) || (err >= 0 && dup2(err, STDERR_FILENO) < 0))
        _exit(126);
    if (inChild)
        inChild();
    std::vector<char *> argv;
    for (auto &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    execv(tool.c_str(), argv.data());
    _exit(127);
}

} // namespace zor::test
