#include "base/BoundedRead.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace {

class TFd
{
public:
    explicit TFd(int fd) : Fd(fd) {}
    ~TFd()
    {
        if (Fd >= 0)
            close(Fd);
    }
    TFd(const TFd &) = delete;
    TFd &operator=(const TFd &) = delete;
    int Get() const { return Fd; }

private:
    int Fd;
};

} // namespace

TFileRead ReadFileBounded(const std::string &path, std::size_t maxBytes, std::string *data)
{
    data->clear();
    // O_NONBLOCK keeps a FIFO from holding the caller until some writer appears; it is refused
    // below anyway.
    TFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY));
    if (fd.Get() < 0)
        return {TFileReadStatus::CannotOpen, errno};
    struct stat st
    {
    };
    if (fstat(fd.Get(), &st) != 0)
        return {TFileReadStatus::CannotOpen, errno};
    if (S_ISDIR(st.st_mode))
        return {TFileReadStatus::NotRegular, EISDIR};
    if (!S_ISREG(st.st_mode))
        return {TFileReadStatus::NotRegular, 0};
    if (st.st_size < 0 || static_cast<unsigned long long>(st.st_size) > maxBytes)
        return {TFileReadStatus::TooLarge, EFBIG};
    const int flags = fcntl(fd.Get(), F_GETFL);
    if (flags >= 0)
        fcntl(fd.Get(), F_SETFL, flags & ~O_NONBLOCK);

    // The size is read again from the file itself: a file that shrinks while it is read is
    // cut short, and files that report no size (the kernel's own) are still read, within bounds.
    const auto size = static_cast<std::size_t>(st.st_size);
    std::string bytes;
    std::size_t done = 0;
    try {
        bytes.resize(size + 1);
        for (;;) {
            if (done == bytes.size()) {
                if (done > maxBytes)
                    return {TFileReadStatus::TooLarge, EFBIG};
                bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(4096, done * 2)));
            }
            const ssize_t n = read(fd.Get(), bytes.data() + done, bytes.size() - done);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                return {TFileReadStatus::ReadFailed, errno};
            }
            if (n == 0)
                break;
            done += static_cast<std::size_t>(n);
        }
    } catch (const std::bad_alloc &) {
        return {TFileReadStatus::ReadFailed, ENOMEM};
    }
    if (done < size)
        return {TFileReadStatus::ReadFailed, 0};
    if (done > maxBytes)
        return {TFileReadStatus::TooLarge, EFBIG};
    bytes.resize(done);
    *data = std::move(bytes);
    return {};
}

} // namespace zor
