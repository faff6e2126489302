// Running a check in a child process under conditions a test cannot set for itself: as a user
// without rights, or on a file system that is full.
#pragma once

#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <string>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zor::test {

// Exit status of a child that could not set up its conditions: the test is skipped.
inline constexpr int CannotArrange = 77;

// Runs check in a child and returns its exit status (the check's result), or CannotArrange.
inline int InChild(const std::function<int()> &arrange, const std::function<int()> &check)
{
    const pid_t pid = fork();
    if (pid == 0) {
        const int ready = arrange();
        _exit(ready != 0 ? CannotArrange : check());
    }
    int status = 0;
    waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A user without rights to files it does not own: nobody when the tests run as root.
inline int BecomeUnprivileged()
{
    if (geteuid() != 0)
        return 0;
    return setgid(65534) == 0 && setuid(65534) == 0 ? 0 : 1;
}

inline bool WriteText(const char *path, const std::string &text)
{
    const int fd = open(path, O_WRONLY);
    if (fd < 0)
        return false;
    const bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    return ok;
}

// Mounts a tiny file system of its own over folder, in a mount namespace of this process alone
// (a user namespace too when not root).
inline int MountTinyFileSystem(const std::string &folder)
{
    if (geteuid() == 0) {
        if (unshare(CLONE_NEWNS) != 0)
            return 1;
    } else {
        const uid_t uid = getuid();
        const gid_t gid = getgid();
        if (unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0)
            return 1;
        WriteText("/proc/self/setgroups", "deny");
        if (!WriteText("/proc/self/uid_map", "0 " + std::to_string(uid) + " 1") ||
            !WriteText("/proc/self/gid_map", "0 " + std::to_string(gid) + " 1"))
            return 1;
    }
    if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
        return 1;
    return mount("tmpfs", folder.c_str(), "tmpfs", 0, "size=16k") == 0 ? 0 : 1;
}

} // namespace zor::test
