// Between the cores' UTF-8 strings and errno values and the Win32 API's wide strings and error
// codes; for base/win32 alone.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>
#include <string_view>

namespace zor::win32 {

// UTF-8 to UTF-16 and back; bytes that are no UTF-8 become U+FFFD.
std::wstring Wide(std::string_view utf8);
std::string Utf8(std::wstring_view wide);

// The errno value closest to a Win32 error code (ERROR_FILE_NOT_FOUND is ENOENT,
// ERROR_ACCESS_DENIED EACCES, ERROR_DISK_FULL ENOSPC, ...); EIO for codes with no counterpart.
int ErrnoFromWin32(DWORD error);

// What went wrong, for the operator: strerror's words for the errno counterpart where there is
// one, else the system's own message for the code.
std::string Win32Reason(DWORD error);

// Closes a handle at the end of a scope.
class THandle
{
public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : H(h) {}
    ~THandle()
    {
        if (Valid())
            CloseHandle(H);
    }
    THandle(const THandle &) = delete;
    THandle &operator=(const THandle &) = delete;
    bool Valid() const { return H != INVALID_HANDLE_VALUE && H != nullptr; }
    HANDLE Get() const { return H; }

private:
    HANDLE H;
};

} // namespace zor::win32
