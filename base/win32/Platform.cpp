#include "base/Platform.h"

#include "base/Utf16Stream.h"
#include "base/win32/Win32.h"

#include <winsock2.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <mutex>
#include <shellapi.h>

namespace zor {

using namespace win32;

std::size_t LastPathSeparator(std::string_view path)
{
    return path.find_last_of("/\\");
}

std::string JoinPath(std::string_view folder, std::string_view name)
{
    std::string path(folder);
    if (!path.empty() && path.back() != '/' && path.back() != '\\')
        path += '\\';
    return path.append(name);
}

std::tm LocalTime(std::time_t moment)
{
    std::tm local{};
    localtime_s(&local, &moment);
    return local;
}

double ProcessCpuSeconds()
{
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    // In units of 100 ns.
    const auto ticks = [](const FILETIME &t) {
        return (static_cast<unsigned long long>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return static_cast<double>(ticks(kernel) + ticks(user)) * 1e-7;
}

std::size_t RaiseOpenFileLimit()
{
    // The system's handles have no per-process limit of this kind.
    return 0;
}

std::string ExecutablePath()
{
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0)
            return {};
        if (n < buffer.size()) {
            buffer.resize(n);
            return Utf8(buffer);
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::string UserConfigFolder()
{
    const wchar_t *appData = _wgetenv(L"APPDATA");
    return appData && appData[0] ? Utf8(appData) : std::string();
}

bool MayWriteBesideProgram(const std::string &folder)
{
    // Only trying tells: a folder's access list, not its read-only attribute (which folders
    // ignore), decides whether a file can be made in it.
    std::string probe = folder.empty() ? std::string(".\\") : folder;
    if (probe.back() != '\\' && probe.back() != '/')
        probe += '\\';
    probe += "~zoredit-probe-" + std::to_string(GetCurrentProcessId()) + ".tmp";
    const THandle file(CreateFileW(Wide(probe).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                   FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.Valid();
}

std::vector<std::string> UserStateFolders()
{
    const wchar_t *local = _wgetenv(L"LOCALAPPDATA");
    if (local && local[0])
        return {Utf8(local)};
    return {};
}

std::string UserTemporaryFolder(std::string_view name)
{
    wchar_t buffer[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, buffer);
    if (length == 0 || length > MAX_PATH)
        return {};
    return JoinPath(Utf8(std::wstring_view(buffer, length)), name);
}

bool IsPrivateFolder(const std::string &folder)
{
    const DWORD attributes = GetFileAttributesW(Wide(folder).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExists(const std::string &path)
{
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

TPathKind PathKindOf(const std::string &path)
{
    // A device or a pipe (\\.\COM1, \\.\pipe\name) is no file: asking for its attributes
    // would not tell, and opening it to ask could take it from its user.
    if (path.rfind("\\\\.\\", 0) == 0 || path.rfind("//./", 0) == 0)
        return TPathKind::Stream;
    const DWORD attributes = GetFileAttributesW(Wide(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return TPathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? TPathKind::Other : TPathKind::RegularFile;
}

bool IsReadOnlyFile(const std::string &path)
{
    const std::wstring name = Wide(path);
    const DWORD attributes = GetFileAttributesW(name.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (attributes & FILE_ATTRIBUTE_READONLY)
        return true;
    const THandle file(CreateFileW(name.c_str(), GENERIC_WRITE,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, 0, nullptr));
    return !file.Valid() && GetLastError() == ERROR_ACCESS_DENIED;
}

std::vector<std::string> ProgramArguments(int, char **)
{
    std::vector<std::string> arguments;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!wide)
        return arguments;
    for (int i = 1; i < count; ++i)
        arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

void UseBinaryStandardOutput()
{
    _setmode(_fileno(stdout), _O_BINARY);
}

bool WriteStandardText(TStandardStream stream, std::string_view text)
{
    static_assert(sizeof(wchar_t) == sizeof(char16_t));
    const bool output = stream == TStandardStream::Output;
    std::FILE *file = output ? stdout : stderr;
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(file)));
    DWORD mode = 0;
    if (handle == INVALID_HANDLE_VALUE || !GetConsoleMode(handle, &mode))
        return std::fwrite(text.data(), 1, text.size(), file) == text.size();

    // Threads that share a console stream share the character it may hold half-written.
    static std::mutex lock;
    static TUtf8ToUtf16Stream pieces[2];
    const std::lock_guard guard(lock);
    if (std::fflush(file) != 0)
        return false;
    std::u16string wide;
    pieces[output ? 0 : 1].Feed(text, wide);
    const auto *at = reinterpret_cast<const wchar_t *>(wide.data());
    std::size_t left = wide.size();
    while (left > 0) {
        // The console takes a limited amount at once; a pair of surrogates stays together.
        DWORD count = static_cast<DWORD>(std::min<std::size_t>(left, 8192));
        if (count < left && at[count - 1] >= 0xD800 && at[count - 1] <= 0xDBFF)
            --count;
        DWORD written = 0;
        if (!WriteConsoleW(handle, at, count, &written, nullptr) || written == 0)
            return false;
        at += written;
        left -= written;
    }
    return true;
}

TThreadId CurrentThreadId()
{
    return GetCurrentThreadId();
}

int ThreadPriority(TThreadId thread)
{
    const THandle handle(
        OpenThread(THREAD_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(thread)));
    if (!handle.Valid())
        return 0;
    const int priority = GetThreadPriority(handle.Get());
    return priority == THREAD_PRIORITY_ERROR_RETURN ? 0 : priority;
}

TRaisedThreadPriority::TRaisedThreadPriority()
{
    const int priority = GetThreadPriority(GetCurrentThread());
    if (priority == THREAD_PRIORITY_ERROR_RETURN || priority >= THREAD_PRIORITY_HIGHEST)
        return;
    Previous = priority;
    IsRaised = SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST) != 0;
}

TRaisedThreadPriority::~TRaisedThreadPriority()
{
    if (IsRaised)
        SetThreadPriority(GetCurrentThread(), Previous);
}

namespace {

std::atomic<void (*)(int)> OnInterrupt{nullptr};

BOOL WINAPI OnConsoleEvent(DWORD event)
{
    void (*handler)(int) = OnInterrupt.load();
    if (!handler)
        return FALSE;
    switch (event) {
    case CTRL_C_EVENT:
        handler(SIGINT);
        return TRUE;
    case CTRL_BREAK_EVENT:
        handler(SIGTERM);
        return TRUE;
    case CTRL_CLOSE_EVENT:
    case CTRL_LOGOFF_EVENT:
    case CTRL_SHUTDOWN_EVENT:
        handler(SIGTERM);
        // Returning lets the system end the process at once, before the program has done what
        // the interrupt asks (a user's work written, a transfer stopped); the program ends
        // itself, or the system does when its grace period (5 s for a closed console) is over.
        Sleep(INFINITE);
        return TRUE;
    default:
        return FALSE;
    }
}

} // namespace

void RouteInterrupts(void (*onInterrupt)(int signal), TInterruptRouting)
{
    OnInterrupt.store(onInterrupt);
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void StopRoutingInterrupts()
{
    SetConsoleCtrlHandler(OnConsoleEvent, FALSE);
    OnInterrupt.store(nullptr);
}

// The console's callback runs on a thread of its own, but an event loop watches sockets
// (QSocketNotifier), not events: a connected pair of loopback sockets carries the signal numbers.
// Socket handles are kernel handles, whose values fit an int.
TInterruptWakeUp::TInterruptWakeUp()
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return;
    const SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKET writer = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    SOCKET reader = INVALID_SOCKET;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    sockaddr_in writerAddress{}, peer{};
    int writerLength = sizeof writerAddress, peerLength = sizeof peer;
    if (listener != INVALID_SOCKET && writer != INVALID_SOCKET &&
        bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        listen(listener, 1) == 0 &&
        getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length) == 0 &&
        connect(writer, reinterpret_cast<sockaddr *>(&address), sizeof address) == 0 &&
        getsockname(writer, reinterpret_cast<sockaddr *>(&writerAddress), &writerLength) == 0)
        reader = accept(listener, reinterpret_cast<sockaddr *>(&peer), &peerLength);
    if (listener != INVALID_SOCKET)
        closesocket(listener);
    // Anyone on this machine may connect to a listening socket: only our own end will do.
    u_long nonBlocking = 1;
    if (reader == INVALID_SOCKET || peer.sin_port != writerAddress.sin_port ||
        peer.sin_addr.s_addr != writerAddress.sin_addr.s_addr ||
        ioctlsocket(reader, FIONBIO, &nonBlocking) != 0) {
        if (reader != INVALID_SOCKET)
            closesocket(reader);
        if (writer != INVALID_SOCKET)
            closesocket(writer);
        WSACleanup();
        return;
    }
    ReadEnd = static_cast<int>(reader);
    WriteEnd = static_cast<int>(writer);
}

TInterruptWakeUp::~TInterruptWakeUp()
{
    if (!Valid())
        return;
    closesocket(static_cast<SOCKET>(ReadEnd));
    closesocket(static_cast<SOCKET>(WriteEnd));
    WSACleanup();
}

void TInterruptWakeUp::Raise(int signal) const noexcept
{
    if (WriteEnd < 0)
        return;
    const int saved = errno;
    const DWORD savedError = GetLastError();
    const char number = static_cast<char>(signal);
    send(static_cast<SOCKET>(WriteEnd), &number, 1, 0);
    SetLastError(savedError);
    errno = saved;
}

int TInterruptWakeUp::Take() const
{
    char number = 0;
    if (ReadEnd < 0 || recv(static_cast<SOCKET>(ReadEnd), &number, 1, 0) != 1)
        return -1;
    return static_cast<unsigned char>(number);
}

void EndBySignal(int signal)
{
    std::_Exit(128 + signal);
}

} // namespace zor
