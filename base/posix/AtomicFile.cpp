#include "base/AtomicFile.h"
#include "base/AtomicFileParts.h"
#include "base/TranslateNoop.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/magic.h>
#include <poll.h>
#include <pthread.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

namespace zor {

namespace {

TMessage CannotWrite(const std::string &path)
{
    return TMessage::Tr("AtomicFile", ZOR_TRANSLATE_NOOP("AtomicFile", "Cannot write %1"), {path});
}

TMessage CannotReplace(const std::string &path)
{
    return TMessage::Tr("AtomicFile", ZOR_TRANSLATE_NOOP("AtomicFile", "Cannot replace %1"),
                        {path});
}

// The kernel gives up on a path after as many links; so does the writer.
constexpr int MaxLinkHops = 40;

constexpr const char *Digits = "0123456789";

bool ReadLink(const std::string &path, std::string *target)
{
    std::string buffer(256, '\0');
    for (;;) {
        const ssize_t n = readlink(path.c_str(), buffer.data(), buffer.size());
        if (n < 0)
            return false;
        if (static_cast<std::size_t>(n) < buffer.size()) {
            buffer.resize(static_cast<std::size_t>(n));
            *target = std::move(buffer);
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

// The links in /proc/PID/fd name open descriptors, not paths: what they read as ("pipe:[123]")
// cannot be followed by name, only by the kernel.
bool OnProcFs(const std::string &folder)
{
    struct statfs fs
    {
    };
    return statfs(folder.empty() ? "." : folder.c_str(), &fs) == 0 && fs.f_type == PROC_SUPER_MAGIC;
}

// The descriptor number when link names one of this process's own descriptors
// (/proc/self/fd/N, /proc/PID/task/TID/fd/N, reached also as /dev/stdout or /dev/fd/N); else -1.
int OwnDescriptor(const std::string &link)
{
    const std::string name = NameInFolder(link);
    if (name.empty() || name.size() > 9 || name.find_first_not_of(Digits) != std::string::npos)
        return -1;
    const std::string folderPart = FolderOfPath(link);
    char *real = realpath(folderPart.empty() ? "." : folderPart.c_str(), nullptr);
    if (!real)
        return -1;
    const std::string folder = real;
    std::free(real);
    const std::string own = "/proc/" + std::to_string(getpid());
    if (!folder.starts_with(own + "/"))
        return -1;
    const std::string rest = folder.substr(own.size());
    if (rest != "/fd") {
        constexpr std::string_view task = "/task/", fd = "/fd";
        if (!rest.starts_with(task) || !rest.ends_with(fd) ||
            rest.size() <= task.size() + fd.size())
            return -1;
        const std::string tid = rest.substr(task.size(), rest.size() - task.size() - fd.size());
        if (tid.find_first_not_of(Digits) != std::string::npos)
            return -1;
    }
    return std::atoi(name.c_str());
}

enum class TTargetKind {
    Missing,     // nothing there yet (or a folder on the way that fails when the file is made)
    Regular,     // a file: replaced
    Folder,      // refused
    Special,     // a device, FIFO or socket: written into
    ProcessLink, // a descriptor's link in /proc: written into through the kernel
    Unusable,    // a loop of links, or a link that cannot be read: Errno says why
};

struct TTarget
{
    std::string Path;
    TTargetKind Kind = TTargetKind::Missing;
    int Errno = 0;
};

// Follows links from path to the file they end at. A relative target is taken from the link's
// own folder as written, so that ".." after a linked folder means what the kernel means by it.
TTarget FollowLinks(const std::string &path)
{
    std::string at = path;
    for (int hop = 0;; ++hop) {
        struct stat st
        {
        };
        if (lstat(at.c_str(), &st) != 0)
            return {at, TTargetKind::Missing};
        if (S_ISREG(st.st_mode))
            return {at, TTargetKind::Regular};
        if (S_ISDIR(st.st_mode))
            return {at, TTargetKind::Folder, EISDIR};
        if (!S_ISLNK(st.st_mode))
            return {at, TTargetKind::Special};
        if (OnProcFs(FolderOfPath(at)))
            return {at, TTargetKind::ProcessLink};
        if (hop == MaxLinkHops)
            return {at, TTargetKind::Unusable, ELOOP};
        std::string target;
        if (!ReadLink(at, &target))
            return {at, TTargetKind::Unusable, errno};
        at = target.starts_with('/') ? target : FolderOfPath(at) + target;
    }
}

// Keeps SIGPIPE from ending the program while this thread writes into a pipe or FIFO whose reader
// may go away: the write fails with EPIPE instead, and the signal it raised is taken back.
class TNoPipeSignal
{
public:
    explicit TNoPipeSignal(bool active)
    {
        if (!active)
            return;
        sigemptyset(&Pipe);
        sigaddset(&Pipe, SIGPIPE);
        sigset_t pending;
        sigemptyset(&pending);
        sigpending(&pending);
        WasPending = sigismember(&pending, SIGPIPE) == 1;
        Active = pthread_sigmask(SIG_BLOCK, &Pipe, &Old) == 0;
    }
    ~TNoPipeSignal()
    {
        if (!Active)
            return;
        const int saved = errno;
        if (Raised && !WasPending) {
            const timespec now{};
            while (sigtimedwait(&Pipe, nullptr, &now) < 0 && errno == EINTR) {
            }
        }
        pthread_sigmask(SIG_SETMASK, &Old, nullptr);
        errno = saved;
    }
    TNoPipeSignal(const TNoPipeSignal &) = delete;
    TNoPipeSignal &operator=(const TNoPipeSignal &) = delete;

    void NoteBrokenPipe() { Raised = true; }

private:
    sigset_t Pipe{};
    sigset_t Old{};
    bool Active = false;
    bool WasPending = false;
    bool Raised = false;
};

// Whoever owned a replaced file still does when the administrator writes it; a caller that may
// not give it away keeps at least the group when it may. Failing both is no failure: the file is
// then the caller's, as any new file would be.
void KeepOwner(int fd, const struct stat &old)
{
    if (fchown(fd, old.st_uid, old.st_gid) == 0)
        return;
    [[maybe_unused]] const int group = fchown(fd, static_cast<uid_t>(-1), old.st_gid);
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string path, TFileReplace how) : Path(std::move(path))
{
    const TTarget target = FollowLinks(Path);
    Target = target.Path;
    switch (target.Kind) {
    case TTargetKind::Folder:
    case TTargetKind::Unusable:
        FailWrite(&Reason, CannotReplace(Path), target.Errno);
        return;
    case TTargetKind::Special:
        OpenInPlace(false);
        return;
    case TTargetKind::ProcessLink:
        OpenInPlace(true);
        return;
    case TTargetKind::Regular:
    case TTargetKind::Missing:
        if (how == TFileReplace::AsWritten) {
            InPlace = true;
            // Not blocking, should a FIFO have taken the name since it was looked at.
            Fd = open(Target.c_str(),
                      O_WRONLY | O_CREAT | O_TRUNC | O_NOCTTY | O_CLOEXEC | O_NONBLOCK, 0666);
            if (Fd < 0) {
                const int err = errno;
                FailWrite(&Reason, CannotWrite(Path), err);
                return;
            }
            fcntl(Fd, F_SETFL, fcntl(Fd, F_GETFL) & ~O_NONBLOCK);
            Reason.Created = true;
            return;
        }
        if (target.Kind == TTargetKind::Missing)
            break;
        // The rename at the end would replace a file its owner made read-only; a writable
        // folder is no permission to do that.
        if (access(Target.c_str(), W_OK) != 0) {
            const int err = errno;
            FailWrite(&Reason, CannotReplace(Path), err);
            return;
        }
        break;
    }

    const std::string dir = FolderOfPath(Target);
    Temp = dir + "." + NameInFolder(Target) + ".XXXXXX";
    Fd = mkstemp(Temp.data());
    if (Fd < 0) {
        const int err = errno;
        FailWrite(&Reason,
                  TMessage::Tr("AtomicFile",
                               ZOR_TRANSLATE_NOOP("AtomicFile", "Cannot create a file in %1"),
                               {dir.empty() ? "." : dir}),
                  err);
        Temp.clear();
        return;
    }
    Reason.Created = true;
}

bool TAtomicFileWriter::OpenInPlace(bool ownDescriptor)
{
    InPlace = true;
    const int own = ownDescriptor ? OwnDescriptor(Target) : -1;
    int fd = -1;
    if (own >= 0) {
        // The descriptor as it was set up (a shell's "> file" or "| reader"): same offset, same
        // flags, nothing reopened or cut.
        fd = fcntl(own, F_DUPFD_CLOEXEC, 0);
    } else {
        // Not blocking in open: a FIFO no program reads from would hold the caller for ever.
        fd = open(Target.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            const int flags = fcntl(fd, F_GETFL);
            if (flags >= 0)
                fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        }
    }
    if (fd < 0) {
        const int err = errno;
        TMessage why;
        struct stat st
        {
        };
        if (err == ENXIO && stat(Target.c_str(), &st) == 0) {
            if (S_ISFIFO(st.st_mode))
                why = TMessage::Tr(
                    "AtomicFile",
                    ZOR_TRANSLATE_NOOP("AtomicFile", "Nothing is reading from this FIFO"));
            else if (S_ISSOCK(st.st_mode))
                why = TMessage::Tr("AtomicFile",
                                   ZOR_TRANSLATE_NOOP("AtomicFile", "It is a socket, not a file"));
        }
        return FailWrite(&Reason, CannotWrite(Path), err, std::move(why));
    }
    Fd = fd;
    Reason.Created = true;
    return true;
}

void TAtomicFileWriter::Abandon()
{
    if (Fd >= 0) {
        close(Fd);
        Fd = -1;
    }
    if (!Temp.empty()) {
        unlink(Temp.c_str());
        Temp.clear();
    }
}

bool TAtomicFileWriter::Write(std::string_view data)
{
    if (Fd < 0)
        return false;
    TNoPipeSignal noPipeSignal(InPlace);
    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = write(Fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            // A descriptor handed over by the caller may be set not to block.
            if (errno == EAGAIN || errno == EWOULDBLOCK) {
                pollfd wait{Fd, POLLOUT, 0};
                poll(&wait, 1, -1);
                continue;
            }
            const int err = errno;
            if (err == EPIPE)
                noPipeSignal.NoteBrokenPipe();
            return Fail(CannotWrite(Path), err);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool TAtomicFileWriter::Commit()
{
    if (Fd < 0)
        return false;
    if (InPlace) {
        const int fd = Fd;
        Fd = -1;
        if (close(fd) != 0 && errno != EINTR) {
            const int err = errno;
            return Fail(CannotWrite(Path), err);
        }
        return true;
    }
    struct stat old
    {
    };
    mode_t mode = 0644;
    if (stat(Target.c_str(), &old) == 0) {
        mode = old.st_mode & 07777;
        KeepOwner(Fd, old);
    } else {
        // mkstemp creates 0600; a new file gets the usual mode the umask allows.
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    // After the owner: a change of owner clears the set-id bits.
    if (fchmod(Fd, mode) != 0 || fsync(Fd) != 0) {
        const int err = errno;
        return Fail(CannotWrite(Path), err);
    }
    const int fd = Fd;
    Fd = -1;
    if (close(fd) != 0) {
        const int err = errno;
        return Fail(CannotWrite(Path), err);
    }
    if (rename(Temp.c_str(), Target.c_str()) != 0) {
        const int err = errno;
        return Fail(CannotReplace(Path), err);
    }
    Temp.clear();
    return true;
}

} // namespace zor
