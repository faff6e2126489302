#include "base/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <unistd.h>

namespace zor {

namespace {

bool Fail(TWriteFailure *failure, const std::string &what, int err)
{
    failure->Errno = err;
    failure->Message = what + ": " + std::strerror(err);
    return false;
}

} // namespace

bool WriteFileAtomically(const std::string &path, std::string_view data, std::string *error)
{
    TWriteFailure failure;
    if (WriteFileAtomically(path, data, &failure))
        return true;
    if (error)
        *error = failure.Message;
    return false;
}

bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure)
{
    TWriteFailure ignored;
    TWriteFailure *error = failure ? failure : &ignored;
    *error = {};
    const auto slash = path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = (slash == std::string::npos ? std::string{} : dir) + "." + base + ".XXXXXX";

    // The rename below would replace a file its owner made read-only; a writable folder is no
    // permission to do that.
    if (access(path.c_str(), F_OK) == 0 && access(path.c_str(), W_OK) != 0) {
        const int err = errno;
        return Fail(error, "Cannot replace " + path, err);
    }

    int fd = mkstemp(temp.data());
    if (fd < 0) {
        const int err = errno;
        return Fail(error, "Cannot create a file in " + dir, err);
    }
    error->Created = true;

    struct stat old
    {
    };
    mode_t mode = 0644;
    if (stat(path.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        // mkstemp creates 0600; a new file gets the usual mode the umask allows.
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }

    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int err = errno;
            close(fd);
            unlink(temp.c_str());
            return Fail(error, "Cannot write " + path, err);
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (fchmod(fd, mode) != 0 || fsync(fd) != 0) {
        int err = errno;
        close(fd);
        unlink(temp.c_str());
        return Fail(error, "Cannot write " + path, err);
    }
    if (close(fd) != 0) {
        int err = errno;
        unlink(temp.c_str());
        return Fail(error, "Cannot write " + path, err);
    }
    if (rename(temp.c_str(), path.c_str()) != 0) {
        int err = errno;
        unlink(temp.c_str());
        return Fail(error, "Cannot replace " + path, err);
    }
    return true;
}

bool ReadWholeFile(const std::string &path, std::string *data)
{
    data->clear();
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream buffer;
    buffer << in.rdbuf();
    if (in.bad())
        return false;
    *data = std::move(buffer).str();
    return true;
}

} // namespace zor
