#include "base/BoundedRead.h"

#include "base/win32/Win32.h"

#include <algorithm>
#include <cerrno>
#include <new>

namespace zor {

using namespace win32;

TFileRead ReadFileBounded(const std::string &path, std::size_t maxBytes, std::string *data)
{
    data->clear();
    // Backup semantics open a folder too, so that it is refused as one rather than as a name
    // that cannot be opened. Only an existing name is opened; a pipe without a server fails at
    // once instead of being waited for.
    const THandle file(CreateFileW(Wide(path).c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid())
        return {TFileReadStatus::CannotOpen, ErrnoFromWin32(GetLastError())};
    // A console, NUL, a COM port or a pipe: nothing that holds a document.
    if (GetFileType(file.Get()) != FILE_TYPE_DISK)
        return {TFileReadStatus::NotRegular, 0};
    BY_HANDLE_FILE_INFORMATION info{};
    if (!GetFileInformationByHandle(file.Get(), &info))
        return {TFileReadStatus::CannotOpen, ErrnoFromWin32(GetLastError())};
    if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        return {TFileReadStatus::NotRegular, EISDIR};
    const unsigned long long size =
        (static_cast<unsigned long long>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    if (size > maxBytes)
        return {TFileReadStatus::TooLarge, EFBIG};

    // Read until the end rather than to the size: a file that shrinks while it is read is cut
    // short, one that grows is still bounded.
    std::string bytes;
    std::size_t done = 0;
    try {
        bytes.resize(static_cast<std::size_t>(size) + 1);
        for (;;) {
            if (done == bytes.size()) {
                if (done > maxBytes)
                    return {TFileReadStatus::TooLarge, EFBIG};
                bytes.resize(std::min(maxBytes + 1, std::max<std::size_t>(4096, done * 2)));
            }
            const DWORD want =
                static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
            DWORD n = 0;
            if (!ReadFile(file.Get(), bytes.data() + done, want, &n, nullptr))
                return {TFileReadStatus::ReadFailed, ErrnoFromWin32(GetLastError())};
            if (n == 0)
                break;
            done += n;
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
