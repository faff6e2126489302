#include "comm/NetSocket.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <windows.h>

#include <algorithm>

namespace zor {

namespace {

// Winsock wants starting once in a process before its first call; it stays started.
bool Started()
{
    static const bool started = [] {
        WSADATA data{};
        return ::WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    return started;
}

SOCKET Native(TSocket socket)
{
    return static_cast<SOCKET>(socket);
}

} // namespace

bool TSocketError::Pending() const
{
    return Code == WSAEWOULDBLOCK || Code == WSAEINPROGRESS || Code == WSAEALREADY;
}

bool TSocketError::Interrupted() const
{
    return Code == WSAEINTR;
}

bool TSocketError::Refused() const
{
    return Code == WSAECONNREFUSED;
}

bool TSocketError::TimedOut() const
{
    return Code == WSAETIMEDOUT;
}

bool TSocketError::ClosedByPeer() const
{
    return Code == WSAECONNRESET || Code == WSAECONNABORTED || Code == WSAESHUTDOWN;
}

std::string TSocketError::Text() const
{
    char *buffer = nullptr;
    const DWORD length = ::FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(Code), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<char *>(&buffer), 0, nullptr);
    std::string text = length > 0 && buffer ? std::string(buffer, length) : std::string();
    if (buffer)
        ::LocalFree(buffer);
    while (!text.empty() &&
           (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(Code) : text;
}

// Winsock's numbers are not errno's: the system's words, as they stand.
TMessage TSocketError::Words() const
{
    return TMessage::SystemError(Text());
}

TSocketError LastSocketError()
{
    return {::WSAGetLastError()};
}

bool ResolveStream(const std::string &host, const std::string &port,
                   std::vector<TSocketAddress> *addresses, std::string *error)
{
    if (!Started()) {
        *error = "the network is not available";
        return false;
    }
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo *found = nullptr;
    const int resolved = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (resolved != 0 || !found) {
        *error = TSocketError{resolved}.Text();
        return false;
    }
    addresses->clear();
    for (const addrinfo *a = found; a; a = a->ai_next) {
        const auto *bytes = reinterpret_cast<const std::uint8_t *>(a->ai_addr);
        addresses->push_back({a->ai_family, {bytes, bytes + a->ai_addrlen}});
    }
    ::freeaddrinfo(found);
    return true;
}

TSocket StartConnect(const TSocketAddress &address, TSocketError *error)
{
    if (!Started()) {
        *error = {WSANOTINITIALISED};
        return NoSocket;
    }
    const SOCKET s = ::WSASocketW(address.Family, SOCK_STREAM, IPPROTO_TCP, nullptr, 0,
                                  WSA_FLAG_NO_HANDLE_INHERIT);
    if (s == INVALID_SOCKET) {
        *error = LastSocketError();
        return NoSocket;
    }
    u_long nonBlocking = 1;
    const BOOL on = TRUE;
    if (::ioctlsocket(s, FIONBIO, &nonBlocking) != 0) {
        *error = LastSocketError();
        ::closesocket(s);
        return NoSocket;
    }
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char *>(&on), sizeof on);
    if (::connect(s, reinterpret_cast<const sockaddr *>(address.Bytes.data()),
                  static_cast<int>(address.Bytes.size())) != 0) {
        *error = LastSocketError();
        if (!error->Pending()) {
            ::closesocket(s);
            return NoSocket;
        }
    }
    return static_cast<TSocket>(s);
}

TSocketError ConnectOutcome(TSocket socket)
{
    int error = 0;
    int length = sizeof error;
    if (::getsockopt(Native(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char *>(&error),
                     &length) != 0)
        return LastSocketError();
    return {error};
}

void CloseSocket(TSocket socket)
{
    ::closesocket(Native(socket));
}

int WaitSocket(TSocket socket, bool forWrite, int timeoutMs)
{
    // select rather than WSAPoll, which does not report a refused connection on older systems;
    // a connection attempt that failed shows in the exception set.
    fd_set ready, failed;
    FD_ZERO(&ready);
    FD_ZERO(&failed);
    FD_SET(Native(socket), &ready);
    if (forWrite)
        FD_SET(Native(socket), &failed);
    const int ms = timeoutMs > 0 ? timeoutMs : 0;
    timeval wait{ms / 1000, (ms % 1000) * 1000};
    const int n = ::select(0, forWrite ? nullptr : &ready, forWrite ? &ready : nullptr,
                           forWrite ? &failed : nullptr, &wait);
    return n == SOCKET_ERROR ? -1 : n > 0 ? 1 : 0;
}

long SendSome(TSocket socket, const std::uint8_t *bytes, std::size_t count)
{
    const int n = ::send(Native(socket), reinterpret_cast<const char *>(bytes),
                         static_cast<int>(std::min<std::size_t>(count, 1 << 30)), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

long ReceiveSome(TSocket socket, std::uint8_t *buffer, std::size_t count)
{
    const int n = ::recv(Native(socket), reinterpret_cast<char *>(buffer),
                         static_cast<int>(std::min<std::size_t>(count, 1 << 30)), 0);
    return n == SOCKET_ERROR ? -1 : n;
}

} // namespace zor
