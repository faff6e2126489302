// `zor gateway` as a child process for a test, its output read through pipes: ready once it has
// said on stderr that every panel it serves is online. Plain POSIX.
#pragma once

#include "harness/ExecTool.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace zor::test {

// `zor gateway` as a child process: ready once it has said every panel is online.
class TGatewayProcess
{
public:
    using TEnvironment = std::vector<std::pair<std::string, std::string>>;

    TGatewayProcess(const std::string &tool, std::vector<std::string> args, std::size_t panels)
        : TGatewayProcess(tool, WithSubcommand(std::move(args)), panels, TEnvironment{})
    {
    }
    // A program that ends in `zor gateway` (the service's script) with args, and env set in its
    // environment.
    TGatewayProcess(const std::string &program, std::vector<std::string> args, std::size_t panels,
                    const TEnvironment &env)
    {
        int out[2], err[2];
        if (::pipe(out) != 0 || ::pipe(err) != 0)
            return;
        Pid = ExecTool(program, std::move(args), out[1], err[1], [&] {
            ::close(out[0]);
            ::close(err[0]);
            for (const auto &[name, value] : env)
                ::setenv(name.c_str(), value.c_str(), 1);
        });
        ::close(out[1]);
        ::close(err[1]);
        Out = ::fdopen(out[0], "r");
        Err = ::fdopen(err[0], "r");
        // Read as it comes, so that a wait for a line can be bounded by poll.
        std::setvbuf(Err, nullptr, _IONBF, 0);
        for (std::size_t online = 0; online < panels;) {
            const std::string line = ErrLine();
            if (line.empty())
                return;
            if (line.ends_with(": online\n"))
                ++online;
        }
        Ready = true;
    }
    ~TGatewayProcess() { Stop(); }

    // The next line it says on stderr; empty when it has ended (or said nothing for 20 seconds).
    std::string ErrLine()
    {
        if (!Err)
            return {};
        char line[1024];
        pollfd ready{::fileno(Err), POLLIN, 0};
        if (::poll(&ready, 1, 20000) != 1 || !std::fgets(line, sizeof line, Err))
            return {};
        ErrText += line;
        return line;
    }

    // Ends it with signal and returns its exit status (-1 when it did not exit by itself).
    int Stop(int signal = SIGTERM)
    {
        if (Pid > 0) {
            ::kill(Pid, signal);
            ::waitpid(Pid, &Status, 0);
            Pid = -1;
            Collect();
        }
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }
    // Waits for it to end by itself.
    int Wait()
    {
        if (Pid > 0) {
            ::waitpid(Pid, &Status, 0);
            Pid = -1;
            Collect();
        }
        return WIFEXITED(Status) ? WEXITSTATUS(Status) : -1;
    }

    bool Ready = false;
    std::string OutText, ErrText;

private:
    static std::vector<std::string> WithSubcommand(std::vector<std::string> args)
    {
        args.insert(args.begin(), "gateway");
        return args;
    }

    void Collect()
    {
        char buffer[4096];
        std::size_t n;
        if (Out) {
            while ((n = std::fread(buffer, 1, sizeof buffer, Out)) > 0)
                OutText.append(buffer, n);
            std::fclose(Out);
            Out = nullptr;
        }
        if (Err) {
            while ((n = std::fread(buffer, 1, sizeof buffer, Err)) > 0)
                ErrText.append(buffer, n);
            std::fclose(Err);
            Err = nullptr;
        }
    }

    pid_t Pid = -1;
    int Status = 0;
    std::FILE *Out = nullptr;
    std::FILE *Err = nullptr;
};

} // namespace zor::test
