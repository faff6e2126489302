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

TAtomicFileWriter::TAtomicFileWriter(std::string path) : Path(std::move(path))
{
    const auto slash = Path.rfind('/');
    const std::string dir = slash == std::string::npos ? "." : Path.substr(0, slash + 1);
    const std::string base = slash == std::string::npos ? Path : Path.substr(slash + 1);

    // The rename at the end would replace a file its owner made read-only; a writable folder is
    // no permission to do that.
    if (access(Path.c_str(), F_OK) == 0 && access(Path.c_str(), W_OK) != 0) {
        const int err = errno;
        ::zor::Fail(&Reason, "Cannot replace " + Path, err);
        return;
    }
    Temp = (slash == std::string::npos ? std::string{} : dir) + "." + base + ".XXXXXX";
    Fd = mkstemp(Temp.data());
    if (Fd < 0) {
        const int err = errno;
        ::zor::Fail(&Reason, "Cannot create a file in " + dir, err);
        Temp.clear();
        return;
    }
    Reason.Created = true;
}

TAtomicFileWriter::~TAtomicFileWriter()
{
    Abandon();
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

bool TAtomicFileWriter::Fail(const std::string &what, int err)
{
    ::zor::Fail(&Reason, what, err);
    Abandon();
    return false;
}

bool TAtomicFileWriter::Write(std::string_view data)
{
    if (Fd < 0)
        return false;
    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        ssize_t n = write(Fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            const int err = errno;
            return Fail("Cannot write " + Path, err);
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
    struct stat old
    {
    };
    mode_t mode = 0644;
    if (stat(Path.c_str(), &old) == 0)
        mode = old.st_mode & 07777;
    else {
        // mkstemp creates 0600; a new file gets the usual mode the umask allows.
        mode_t mask = umask(0);
        umask(mask);
        mode = 0666 & ~mask;
    }
    if (fchmod(Fd, mode) != 0 || fsync(Fd) != 0) {
        const int err = errno;
        return Fail("Cannot write " + Path, err);
    }
    const int fd = Fd;
    Fd = -1;
    if (close(fd) != 0) {
        const int err = errno;
        return Fail("Cannot write " + Path, err);
    }
    if (rename(Temp.c_str(), Path.c_str()) != 0) {
        const int err = errno;
        return Fail("Cannot replace " + Path, err);
    }
    Temp.clear();
    return true;
}

bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure)
{
    TAtomicFileWriter file(path);
    if (file.Write(data) && file.Commit())
        return true;
    if (failure)
        *failure = file.Failure();
    return false;
}

bool WriteFileAtomically(const std::string &path, std::string_view data, std::string *error)
{
    TWriteFailure failure;
    if (WriteFileAtomically(path, data, &failure))
        return true;
    if (error)
        *error = failure.Message;
    return false;
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
