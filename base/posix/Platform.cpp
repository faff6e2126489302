#include "base/Platform.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

std::size_t LastPathSeparator(std::string_view path)
{
    return path.rfind('/');
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/')
        path += '/';
    return path.append(name);
}

std::tm LocalTime(std::time_t moment)
{
    std::tm local{};
    localtime_r(&moment, &local);
    return local;
}

double ProcessCpuSeconds()
{
    timespec ts{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
    return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

std::size_t RaiseOpenFileLimit()
{
    rlimit limit{};
    if (getrlimit(RLIMIT_NOFILE, &limit) != 0)
        return 0;
    if (limit.rlim_cur != limit.rlim_max) {
        rlimit raised = limit;
        raised.rlim_cur = limit.rlim_max;
        // An unlimited hard limit may still be refused as a soft one (Linux caps it at nr_open,
        // macOS at OPEN_MAX): then the soft limit stays as it was.
        if (setrlimit(RLIMIT_NOFILE, &raised) == 0)
            limit = raised;
    }
    return limit.rlim_cur == RLIM_INFINITY ? 0 : static_cast<std::size_t>(limit.rlim_cur);
}

std::string ExecutablePath()
{
    std::error_code ec;
    const auto exe = std::filesystem::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string UserConfigFolder()
{
    if (const char *config = std::getenv("XDG_CONFIG_HOME"); config && config[0] == '/')
        return config;
    if (const char *user = std::getenv("HOME"); user && user[0] == '/')
        return std::string(user) + "/.config";
    return {};
}

bool MayWriteBesideProgram(const std::string &folder)
{
    // /usr holds read-only data by the file-system layout's rules, even where root could write it:
    // an installed program run as root must not leave an unowned file beside itself.
    if (folder.rfind("/usr/", 0) == 0)
        return false;
    return ::access(folder.empty() ? "." : folder.c_str(), W_OK) == 0;
}

std::vector<std::string> UserStateFolders()
{
    std::vector<std::string> folders;
    if (const char *state = std::getenv("XDG_STATE_HOME"); state && state[0] == '/')
        folders.emplace_back(state);
    if (const char *home = std::getenv("HOME"); home && home[0] == '/') {
        std::string fallback = std::string(home) + "/.local/state";
        if (folders.empty() || folders.front() != fallback)
            folders.push_back(std::move(fallback));
    }
    return folders;
}

std::string UserTemporaryFolder(std::string_view name)
{
    const char *temp = std::getenv("TMPDIR");
    return JoinPath(temp && temp[0] == '/' ? temp : "/tmp",
                    std::string(name) + '-' + std::to_string(::getuid()));
}

bool IsPrivateFolder(const std::string &folder)
{
    struct stat st
    {
    };
    return ::stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & S_IWOTH) == 0;
}

bool PathExists(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0;
}

TPathKind PathKindOf(const std::string &path)
{
    struct stat st
    {
    };
    if (::stat(path.c_str(), &st) != 0)
        return TPathKind::Missing;
    if (S_ISREG(st.st_mode))
        return TPathKind::RegularFile;
    if (S_ISFIFO(st.st_mode) || S_ISCHR(st.st_mode))
        return TPathKind::Stream;
    return TPathKind::Other;
}

bool IsReadOnlyFile(const std::string &path)
{
    struct stat st
    {
    };
    return ::stat(path.c_str(), &st) == 0 &&
           ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(path.c_str(), W_OK) != 0);
}

std::vector<std::string> ProgramArguments(int argc, char **argv)
{
    return {argv + (argc > 0 ? 1 : 0), argv + argc};
}

void UseBinaryStandardOutput() {}

bool WriteStandardText(TStandardStream stream, std::string_view text)
{
    std::FILE *file = stream == TStandardStream::Output ? stdout : stderr;
    return std::fwrite(text.data(), 1, text.size(), file) == text.size();
}

TThreadId CurrentThreadId()
{
    return static_cast<TThreadId>(::gettid());
}

int ThreadPriority(TThreadId thread)
{
    // -1 is a nice value as well as the failure: only errno tells them apart.
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, static_cast<id_t>(thread));
    return errno == 0 ? -nice : 0;
}

namespace {

// Frames are due every 20 ms; the user's own work at the default 0 does not delay them then.
constexpr int RaisedNice = -10;

} // namespace

TRaisedThreadPriority::TRaisedThreadPriority()
{
    const auto self = static_cast<id_t>(::gettid());
    errno = 0;
    const int nice = ::getpriority(PRIO_PROCESS, self);
    if (errno != 0 || nice <= RaisedNice)
        return;
    Previous = nice;
    IsRaised = ::setpriority(PRIO_PROCESS, self, RaisedNice) == 0;
}

TRaisedThreadPriority::~TRaisedThreadPriority()
{
    if (IsRaised)
        ::setpriority(PRIO_PROCESS, static_cast<id_t>(::gettid()), Previous);
}

namespace {

struct sigaction PreviousInt, PreviousTerm, PreviousHup;
bool HupRouted = false;

} // namespace

void RouteInterrupts(void (*onInterrupt)(int signal), TInterruptRouting routing)
{
    struct sigaction sa
    {
    };
    sa.sa_handler = onInterrupt;
    sigemptyset(&sa.sa_mask);
    // Without SA_RESTART a wait on the port is woken and looks at the stop at once.
    sa.sa_flags = routing.RestartWaits ? SA_RESTART : 0;
    sigaction(SIGINT, &sa, &PreviousInt);
    sigaction(SIGTERM, &sa, &PreviousTerm);
    HupRouted = routing.TerminalGone;
    if (HupRouted)
        sigaction(SIGHUP, &sa, &PreviousHup);
}

void StopRoutingInterrupts()
{
    sigaction(SIGINT, &PreviousInt, nullptr);
    sigaction(SIGTERM, &PreviousTerm, nullptr);
    if (HupRouted)
        sigaction(SIGHUP, &PreviousHup, nullptr);
    HupRouted = false;
}

TInterruptWakeUp::TInterruptWakeUp()
{
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    ReadEnd = fds[0];
    WriteEnd = fds[1];
}

TInterruptWakeUp::~TInterruptWakeUp()
{
    if (ReadEnd < 0)
        return;
    ::close(ReadEnd);
    ::close(WriteEnd);
}

void TInterruptWakeUp::Raise(int signal) const noexcept
{
    const int savedErrno = errno;
    const auto byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(WriteEnd, &byte, 1);
    errno = savedErrno;
}

int TInterruptWakeUp::Take() const
{
    unsigned char byte = 0;
    return ReadEnd >= 0 && ::read(ReadEnd, &byte, 1) == 1 ? byte : -1;
}

void EndBySignal(int signal)
{
    // Only calls that are safe in a signal handler.
    struct sigaction sa
    {
    };
    sa.sa_handler = SIG_DFL;
    sigemptyset(&sa.sa_mask);
    sigaction(signal, &sa, nullptr);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    ::raise(signal);
    ::_exit(128 + signal);
}

} // namespace zor
