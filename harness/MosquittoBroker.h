// A real MQTT broker (mosquitto) for a test: on a free loopback port, with a configuration of its
// own written into the test's folder (anonymous clients, or a password file and an ACL when
// asked), no persistence, its log read as it is written. It is ready when its log says it
// runs, and it is stopped with the object. Plain POSIX.
#pragma once

#include "harness/ExecTool.h"

#include <arpa/inet.h>
#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>
#include <netinet/in.h>
#include <poll.h>
#include <pwd.h>
#include <string>
#include <sys/socket.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace zor::test {

struct TMosquittoOptions
{
    // Users and their passwords; none: anonymous clients are let in.
    std::map<std::string, std::string> Users;
    // The ACL file's text (mosquitto's acl_file); empty for none.
    std::string Acl;
    // TLS only, with a certificate for 127.0.0.1 from a CA made for the test (CaFile).
    bool Tls = false;
    // A configuration of the test's own in place of the one made from the options above (the
    // password file and certificates are still made, as Dir/passwords, Dir/server.crt and
    // Dir/server.key): its listeners, logins and rights; @PORT@ stands for the free port.
    std::string Config;
};

class TMosquittoBroker
{
public:
    using TOptions = TMosquittoOptions;

    static std::string Program()
    {
        for (const char *path : {"/usr/sbin/mosquitto", "/usr/bin/mosquitto"})
            if (::access(path, X_OK) == 0)
                return path;
        return {};
    }

    // Starts the broker with its files in dir. A port another process takes between its choice
    // and the broker's bind is given up for another one.
    TMosquittoBroker(const std::filesystem::path &dir, TOptions options = {})
        : Dir(dir), Options(std::move(options))
    {
        if (!Options.Users.empty())
            WritePasswords();
        if (Options.Tls && !MakeCertificates())
            return;
        for (int attempt = 0; attempt < 5 && !Ready; ++attempt)
            Ready = Start();
    }
    ~TMosquittoBroker() { Stop(); }
    TMosquittoBroker(const TMosquittoBroker &) = delete;
    TMosquittoBroker &operator=(const TMosquittoBroker &) = delete;

    // Whether it listens on Port.
    bool Running() const { return Ready; }
    int Port = 0;
    // With Tls: the CA that signed the broker's certificate.
    std::filesystem::path CaFile;

    // Ends the broker (SIGTERM) and waits for it.
    void Stop()
    {
        if (Pid > 0) {
            ::kill(Pid, SIGTERM);
            ::waitpid(Pid, nullptr, 0);
            Pid = -1;
        }
        if (Reader.joinable())
            Reader.join();
        Ready = false;
    }

    // Starts it again on the same port, as a broker restarted by its operator.
    bool Restart()
    {
        Stop();
        Ready = Launch(Port);
        return Ready;
    }

    // Waits until the broker's log holds text (after from, an offset into it); false when the
    // broker ends first or nothing comes within the guard of 20 seconds.
    bool WaitForLog(const std::string &text, std::size_t from = 0)
    {
        std::unique_lock lock(Mutex);
        return Changed.wait_for(lock, std::chrono::seconds(20), [&] {
            return Log.find(text, from) != std::string::npos || Ended;
        }) && Log.find(text, from) != std::string::npos;
    }
    std::string LogText()
    {
        std::lock_guard lock(Mutex);
        return Log;
    }

private:
    static int FreePort()
    {
        const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof a;
        ::bind(s, reinterpret_cast<sockaddr *>(&a), sizeof a);
        ::getsockname(s, reinterpret_cast<sockaddr *>(&a), &length);
        ::close(s);
        return ntohs(a.sin_port);
    }

    void WritePasswords()
    {
        // mosquitto_passwd makes the hashes; the file starts empty and takes each user.
        const auto file = Dir / "passwords";
        std::ofstream{file};
        for (const auto &[user, password] : Options.Users) {
            const pid_t pid = ExecTool("/usr/bin/mosquitto_passwd",
                                       {"-b", file.string(), user, password}, -1, -1);
            ::waitpid(pid, nullptr, 0);
        }
    }

    static int Run(std::vector<std::string> args)
    {
        const int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
        const pid_t pid = ExecTool("/usr/bin/openssl", std::move(args), null, null);
        ::close(null);
        int status = 0;
        ::waitpid(pid, &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    bool MakeCertificates()
    {
        const auto at = [this](const char *name) { return (Dir / name).string(); };
        CaFile = at("ca.crt");
        std::ofstream(at("san.ext")) << "subjectAltName=IP:127.0.0.1\n";
        const std::vector<std::string> key = {"-newkey", "ec", "-pkeyopt",
                                              "ec_paramgen_curve:prime256v1", "-nodes"};
        std::vector<std::string> ca = {"req",   "-x509",           "-days",   "1",
                                       "-subj", "/CN=zor test CA", "-keyout", at("ca.key"),
                                       "-out",  at("ca.crt")};
        ca.insert(ca.end(), key.begin(), key.end());
        std::vector<std::string> request = {
            "req", "-subj", "/CN=127.0.0.1", "-keyout", at("server.key"), "-out", at("server.csr")};
        request.insert(request.end(), key.begin(), key.end());
        return Run(ca) == 0 && Run(request) == 0 &&
               Run({"x509", "-req", "-days", "1", "-in", at("server.csr"), "-CA", at("ca.crt"),
                    "-CAkey", at("ca.key"), "-CAcreateserial", "-extfile", at("san.ext"), "-out",
                    at("server.crt")}) == 0;
    }

    // The configuration the options ask for, after the lines every broker of the tests has.
    void WriteOwnConfig(std::ofstream &c, int port)
    {
        c << "listener " << port
          << " 127.0.0.1\n"
          // Each request and answer is one small packet waited for: Nagle's delay would hold
          // each back for the peer's delayed acknowledgement.
          << "set_tcp_nodelay true\n";
        if (Options.Users.empty()) {
            c << "allow_anonymous true\n";
        } else {
            c << "allow_anonymous false\n"
              << "password_file " << (Dir / "passwords").string() << "\n";
        }
        if (Options.Tls)
            c << "cafile " << CaFile.string() << "\n"
              << "certfile " << (Dir / "server.crt").string() << "\n"
              << "keyfile " << (Dir / "server.key").string() << "\n";
        if (!Options.Acl.empty()) {
            std::ofstream(Dir / "acl") << Options.Acl;
            c << "acl_file " << (Dir / "acl").string() << "\n";
        }
    }

    bool Start() { return Launch(FreePort()); }

    bool Launch(int port)
    {
        Port = port;
        const auto config = Dir / "mosquitto.conf";
        {
            std::ofstream c(config);
            // Run as root, the broker would change to its own user, who may not read the files.
            if (const passwd *pw = ::getpwuid(::getuid()))
                c << "user " << pw->pw_name << "\n";
            c << "persistence false\n"
              // stderr: the broker buffers what it writes to stdout when that is a pipe.
              << "log_dest stderr\n"
              << "log_type all\n";
            if (!Options.Config.empty()) {
                std::string own = Options.Config;
                for (auto at = own.find("@PORT@"); at != std::string::npos; at = own.find("@PORT@"))
                    own.replace(at, 6, std::to_string(port));
                c << own;
            } else {
                WriteOwnConfig(c, port);
            }
        }
        int out[2];
        if (::pipe2(out, O_CLOEXEC) != 0)
            return false;
        {
            std::lock_guard lock(Mutex);
            Log.clear();
            Ended = false;
        }
        Pid = ExecTool(Program(), {"-c", config.string()}, out[1], out[1]);
        ::close(out[1]);
        Reader = std::thread([this, fd = out[0]] {
            char buffer[4096];
            ssize_t n;
            while ((n = ::read(fd, buffer, sizeof buffer)) > 0) {
                std::lock_guard lock(Mutex);
                Log.append(buffer, static_cast<std::size_t>(n));
                Changed.notify_all();
            }
            ::close(fd);
            std::lock_guard lock(Mutex);
            Ended = true;
            Changed.notify_all();
        });
        // "running" comes after every listener is open; a port already taken ends the broker.
        if (WaitForLog(" running"))
            return true;
        Stop();
        return false;
    }

    std::filesystem::path Dir;
    TOptions Options;
    pid_t Pid = -1;
    bool Ready = false;
    std::thread Reader;
    std::mutex Mutex;
    std::condition_variable Changed;
    std::string Log;
    bool Ended = false;
};

} // namespace zor::test
