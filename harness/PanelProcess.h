// Runs `zor panel` as a child process for tests and benchmarks: starts it, reads the device path
// from its first line, and stops it with SIGTERM, collecting what it printed.
#pragma once

#include "harness/ExecTool.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace zor::test {

class TPanelProcess
{
public:
    TPanelProcess(const std::string &tool, std::vector<std::string> args)
    {
        int out[2];
        if (pipe(out) != 0)
            return;
        args.insert(args.begin(), "panel");
        Pid = ExecTool(tool, std::move(args), out[1], -1, [&] {
            close(out[0]);
            close(out[1]);
        });
        close(out[1]);
        Out = fdopen(out[0], "r");
        char line[512];
        if (Out && std::fgets(line, sizeof line, Out)) {
            Device = line;
            if (!Device.empty() && Device.back() == '\n')
                Device.pop_back();
        }
    }

    ~TPanelProcess() { Stop(); }

    // The device it serves; empty when it did not start.
    const std::string &DevicePath() const { return Device; }

    // Ends it (unless it has ended by itself) and returns the rest of its output.
    std::string Stop()
    {
        if (Pid > 0) {
            int status = 0;
            const pid_t ended = waitpid(Pid, &status, WNOHANG);
            if (ended == Pid)
                Status = status;
            else if (ended == 0) {
                kill(Pid, SIGTERM);
                waitpid(Pid, &Status, 0);
            }
            Pid = -1;
        }
        if (Out) {
            char buffer[4096];
            std::size_t n;
            while ((n = std::fread(buffer, 1, sizeof buffer, Out)) > 0)
                Output.append(buffer, n);
            std::fclose(Out);
            Out = nullptr;
        }
        return Output;
    }

    // Reads its output up to the next line that begins with prefix, and returns that line without
    // its end; empty when the output ended first. The lines read are kept for Stop's answer.
    std::string WaitForLine(const std::string &prefix)
    {
        char line[4096];
        while (Out && std::fgets(line, sizeof line, Out)) {
            Output += line;
            std::string text = line;
            if (text.starts_with(prefix)) {
                if (text.ends_with('\n'))
                    text.pop_back();
                return text;
            }
        }
        return {};
    }

    // Ends it at once with signal (SIGKILL: as a panel that is unplugged), and waits until it has
    // gone, its pseudo-terminal with it.
    void Kill(int signal)
    {
        if (Pid > 0 && kill(Pid, signal) == 0) {
            waitpid(Pid, &Status, 0);
            Pid = -1;
        }
    }

    // Waits for it to end by itself (after --count transfers).
    std::string Wait()
    {
        if (Pid > 0)
            waitpid(Pid, &Status, 0);
        return Stop();
    }

    int ExitStatus() const { return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1; }

private:
    pid_t Pid = -1;
    std::FILE *Out = nullptr;
    std::string Device;
    std::string Output;
    int Status = 0;
};

} // namespace zor::test
