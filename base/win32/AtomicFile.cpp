#include "base/AtomicFile.h"
#include "base/AtomicFileParts.h"

#include "base/Platform.h"
#include "base/win32/Win32.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <random>

namespace zor {

using namespace win32;

namespace {

// How often a temporary file's name is drawn again when one of that name exists.
constexpr int TempNameAttempts = 100;

bool FailWin32(TWriteFailure *failure, const std::string &what, DWORD error)
{
    return FailWrite(failure, what, ErrnoFromWin32(error), Win32Reason(error));
}

enum class TTargetKind {
    Missing,      // nothing there yet
    Regular,      // a file on a disk: replaced
    Folder,       // refused
    Special,      // a device (NUL, CON, a COM port) or a pipe: written into
    DanglingLink, // a symbolic link to nothing: written through, which makes its target
    Unusable,     // cannot be looked at: Error says why
};

struct TTarget
{
    std::string Path;
    TTargetKind Kind = TTargetKind::Missing;
    DWORD Error = 0;
};

// What is at path, with links followed to the file they end at (the system follows them, chains
// and relative targets included, when it opens the name).
TTarget Examine(const std::string &path)
{
    const std::wstring name = Wide(path);
    const THandle file(CreateFileW(name.c_str(), 0,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    const DWORD own = GetFileAttributesW(name.c_str());
    if (!file.Valid()) {
        const DWORD error = GetLastError();
        if (own != INVALID_FILE_ATTRIBUTES && (own & FILE_ATTRIBUTE_REPARSE_POINT))
            return {path,
                    error == ERROR_CANT_RESOLVE_FILENAME ? TTargetKind::Unusable
                                                         : TTargetKind::DanglingLink,
                    error};
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            return {path, TTargetKind::Missing};
        if (own != INVALID_FILE_ATTRIBUTES)
            return {path,
                    (own & FILE_ATTRIBUTE_DIRECTORY) ? TTargetKind::Folder : TTargetKind::Regular};
        return {path, TTargetKind::Unusable, error};
    }
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return {path, TTargetKind::Special};
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileInformationByHandle(file.Get(), &info) &&
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return {path, TTargetKind::Folder, ERROR_DIRECTORY};
    if (own == INVALID_FILE_ATTRIBUTES || !(own & FILE_ATTRIBUTE_REPARSE_POINT))
        return {path, TTargetKind::Regular};
    // A link: the file it ends at is replaced, the link stays.
    std::wstring final(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetFinalPathNameByHandleW(file.Get(), final.data(), static_cast<DWORD>(final.size()),
                                      FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0)
            return {path, TTargetKind::Unusable, GetLastError()};
        if (n < final.size()) {
            final.resize(n);
            return {Utf8(final), TTargetKind::Regular};
        }
        final.resize(n);
    }
}

HANDLE HandleOf(int fd)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(fd));
}

// A descriptor for the handle, which it then owns; -1 (and the handle closed) when none is left.
int Adopt(HANDLE handle)
{
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_BINARY);
    if (fd < 0)
        CloseHandle(handle);
    return fd;
}

} // namespace

TAtomicFileWriter::TAtomicFileWriter(std::string path, TFileReplace how) : Path(std::move(path))
{
    const TTarget target = Examine(Path);
    Target = target.Path;
    switch (target.Kind) {
    case TTargetKind::Folder:
        FailWrite(&Reason, "Cannot replace " + Path, EISDIR);
        return;
    case TTargetKind::Unusable:
        FailWin32(&Reason, "Cannot replace " + Path, target.Error);
        return;
    case TTargetKind::Special:
    case TTargetKind::DanglingLink:
        OpenInPlace(false);
        return;
    case TTargetKind::Regular:
    case TTargetKind::Missing:
        if (how == TFileReplace::AsWritten) {
            InPlace = true;
            // Others may read the log while it grows.
            const HANDLE file = CreateFileW(Wide(Target).c_str(), GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file == INVALID_HANDLE_VALUE) {
                FailWin32(&Reason, "Cannot write " + Path, GetLastError());
                return;
            }
            Fd = Adopt(file);
            if (Fd < 0) {
                FailWrite(&Reason, "Cannot write " + Path, EMFILE);
                return;
            }
            Reason.Created = true;
            return;
        }
        // Renaming over a file its owner made read-only would replace it all the same.
        if (target.Kind == TTargetKind::Regular && IsReadOnlyFile(Target)) {
            FailWrite(&Reason, "Cannot replace " + Path, EACCES);
            return;
        }
        break;
    }

    const std::string dir = FolderOfPath(Target);
    std::random_device seed;
    std::mt19937 random(seed());
    DWORD error = ERROR_FILE_EXISTS;
    for (int attempt = 0; attempt < TempNameAttempts && error == ERROR_FILE_EXISTS; ++attempt) {
        char suffix[16];
        std::snprintf(suffix, sizeof suffix, ".%08x", static_cast<unsigned>(random()));
        const std::string temp = dir + "." + NameInFolder(Target) + suffix;
        const HANDLE file = CreateFileW(Wide(temp).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = GetLastError();
            continue;
        }
        Temp = temp;
        Fd = Adopt(file);
        if (Fd < 0) {
            DeleteFileW(Wide(Temp).c_str());
            Temp.clear();
            FailWrite(&Reason, "Cannot create a file in " + (dir.empty() ? "." : dir), EMFILE);
            return;
        }
        Reason.Created = true;
        return;
    }
    FailWin32(&Reason, "Cannot create a file in " + (dir.empty() ? "." : dir), error);
}

bool TAtomicFileWriter::OpenInPlace(bool)
{
    InPlace = true;
    // Through a link to nothing this creates the link's target, as on POSIX; a device or pipe
    // must exist and is never cut.
    const HANDLE file =
        CreateFileW(Wide(Target).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return FailWin32(&Reason, "Cannot write " + Path, GetLastError());
    Fd = Adopt(file);
    if (Fd < 0)
        return FailWrite(&Reason, "Cannot write " + Path, EMFILE);
    Reason.Created = true;
    return true;
}

void TAtomicFileWriter::Abandon()
{
    if (Fd >= 0) {
        _close(Fd);
        Fd = -1;
    }
    if (!Temp.empty()) {
        DeleteFileW(Wide(Temp).c_str());
        Temp.clear();
    }
}

bool TAtomicFileWriter::Write(std::string_view data)
{
    if (Fd < 0)
        return false;
    const char *p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const DWORD piece = static_cast<DWORD>(std::min<std::size_t>(left, 1u << 30));
        DWORD n = 0;
        if (!WriteFile(HandleOf(Fd), p, piece, &n, nullptr)) {
            FailWin32(&Reason, "Cannot write " + Path, GetLastError());
            Abandon();
            return false;
        }
        p += n;
        left -= n;
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
        if (_close(fd) != 0)
            return Fail("Cannot write " + Path, errno);
        return true;
    }
    if (!FlushFileBuffers(HandleOf(Fd))) {
        FailWin32(&Reason, "Cannot write " + Path, GetLastError());
        Abandon();
        return false;
    }
    const int fd = Fd;
    Fd = -1;
    if (_close(fd) != 0)
        return Fail("Cannot write " + Path, errno);
    const std::wstring target = Wide(Target), temp = Wide(Temp);
    // One rename that replaces the old file, as on POSIX: never a moment without either file
    // whole. (ReplaceFileW would keep the old file's access list too, but it moves the old file
    // aside first, two steps, and under Wine leaves its backup behind when the second fails.)
    // The old file's marks that say how it is to be shown go with its name.
    const DWORD old = GetFileAttributesW(target.c_str());
    constexpr DWORD kept =
        FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    if (old != INVALID_FILE_ATTRIBUTES && (old & kept) != 0)
        SetFileAttributesW(temp.c_str(), (old & kept) | FILE_ATTRIBUTE_ARCHIVE);
    if (!MoveFileExW(temp.c_str(), target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        FailWin32(&Reason, "Cannot replace " + Path, GetLastError());
        Abandon();
        return false;
    }
    Temp.clear();
    return true;
}

} // namespace zor
