#include "comm/posix/PortProblem.h"

#include "base/TranslateNoop.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace fs = std::filesystem;

namespace {

std::string ProcessName(pid_t pid)
{
    std::ifstream comm("/proc/" + std::to_string(pid) + "/comm");
    std::string name;
    std::getline(comm, name);
    return name;
}

bool Alive(pid_t pid)
{
    return pid > 0 && (::kill(pid, 0) == 0 || errno == EPERM);
}

// Lock files carry the process number as text (possibly padded), followed by other lines.
std::optional<pid_t> LockPid(const fs::path &file)
{
    std::ifstream in(file);
    std::string first;
    if (!std::getline(in, first))
        return std::nullopt;
    std::size_t i = 0;
    while (i < first.size() && std::isspace(static_cast<unsigned char>(first[i])))
        ++i;
    long pid = 0;
    bool digits = false;
    for (; i < first.size() && std::isdigit(static_cast<unsigned char>(first[i])); ++i) {
        pid = pid * 10 + (first[i] - '0');
        digits = true;
        if (pid > 1 << 30)
            return std::nullopt;
    }
    if (!digits)
        return std::nullopt;
    return static_cast<pid_t>(pid);
}

std::string GroupOf(const std::string &device)
{
    struct stat st
    {
    };
    if (::stat(device.c_str(), &st) != 0)
        return {};
    const group *g = ::getgrgid(st.st_gid);
    return g ? g->gr_name : std::string();
}

} // namespace

std::optional<TPortHolder> FindPortHolder(const std::string &device, long self)
{
    std::error_code ec;
    const fs::path real = fs::canonical(device, ec);
    if (ec)
        return std::nullopt;

    // Lock-file names differ between programs: the device's last name, or its path below /dev
    // with the slashes replaced.
    std::string relative = real.string();
    if (relative.starts_with("/dev/"))
        relative.erase(0, 5);
    std::string flat = relative;
    for (char &c : flat)
        if (c == '/')
            c = '_';
    const std::string names[] = {"LCK.." + real.filename().string(), "LCK.." + flat};
    for (const char *folder : {"/var/lock", "/run/lock", "/var/lock/lockdev", "/var/spool/locks",
                               "/var/spool/uucp", "/etc/locks", "/tmp", "/var/tmp"}) {
        for (const auto &name : names) {
            const auto pid = LockPid(fs::path(folder) / name);
            if (pid && *pid != self && Alive(*pid))
                return TPortHolder{*pid, ProcessName(*pid)};
        }
    }

    for (const auto &process : fs::directory_iterator("/proc", ec)) {
        const std::string number = process.path().filename().string();
        if (number.empty() || !std::isdigit(static_cast<unsigned char>(number[0])))
            continue;
        const pid_t pid = static_cast<pid_t>(std::stol(number));
        if (pid == self)
            continue;
        std::error_code fdError;
        for (const auto &fd : fs::directory_iterator(process.path() / "fd", fdError)) {
            std::error_code linkError;
            if (fs::read_symlink(fd.path(), linkError) == real)
                return TPortHolder{pid, ProcessName(pid)};
        }
    }
    return std::nullopt;
}

TMessage DescribeInUse(const std::string &device, const std::optional<TPortHolder> &holder)
{
    if (!holder)
        return TMessage::Tr(
            "PortProblem",
            ZOR_TRANSLATE_NOOP("PortProblem", "The port %1 is in use by another program."),
            {device});
    if (holder->Name.empty())
        return TMessage::Tr(
            "PortProblem",
            ZOR_TRANSLATE_NOOP("PortProblem",
                               "The port %1 is in use by another program (process %2)."),
            {device, std::to_string(holder->Pid)});
    return TMessage::Tr(
        "PortProblem",
        ZOR_TRANSLATE_NOOP("PortProblem",
                           "The port %1 is in use by another program (%2, process %3)."),
        {device, holder->Name, std::to_string(holder->Pid)});
}

TMessage DescribeNotSerial(const std::string &device)
{
    return TMessage::Tr("PortProblem",
                        ZOR_TRANSLATE_NOOP("PortProblem", "%1 is not a serial device."), {device});
}

TMessage DescribeOpenError(const std::string &device, int error)
{
    switch (error) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return TMessage::Tr("PortProblem",
                            ZOR_TRANSLATE_NOOP("PortProblem", "The device %1 does not exist."),
                            {device});
    case EACCES:
    case EPERM: {
        std::string group = GroupOf(device);
        if (group.empty() || group == "root")
            group = "dialout";
        return TMessage::Tr(
            "PortProblem",
            ZOR_TRANSLATE_NOOP("PortProblem", "Permission denied on %1: add your user to the "
                                              "device's group %2 (sudo usermod -aG %2 $USER), then "
                                              "log in again."),
            {device, group});
    }
    case EBUSY:
        return DescribeInUse(device, FindPortHolder(device, ::getpid()));
    default:
        return TMessage::Tr("PortProblem", ZOR_TRANSLATE_NOOP("PortProblem", "Cannot open %1: %2."),
                            {device, TMessage::SystemError(error)});
    }
}

} // namespace zor
