#include "comm/NetSocket.h"

#include <cerrno>
#include <cstring>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace zor {

bool TSocketError::Pending() const
{
    return Code == EAGAIN || Code == EWOULDBLOCK || Code == EINPROGRESS;
}

bool TSocketError::Interrupted() const
{
    return Code == EINTR;
}

bool TSocketError::Refused() const
{
    return Code == ECONNREFUSED;
}

bool TSocketError::TimedOut() const
{
    return Code == ETIMEDOUT;
}

bool TSocketError::ClosedByPeer() const
{
    return Code == ECONNRESET || Code == EPIPE;
}

std::string TSocketError::Text() const
{
    return std::strerror(Code);
}

TMessage TSocketError::Words() const
{
    return TMessage::SystemError(Code);
}

TSocketError LastSocketError()
{
    return {errno};
}

bool ResolveStream(const std::string &host, const std::string &port,
                   std::vector<TSocketAddress> *addresses, std::string *error)
{
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_ADDRCONFIG;
    addrinfo *found = nullptr;
    const int resolved = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found);
    if (resolved != 0 || !found) {
        *error = ::gai_strerror(resolved);
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
    const int s = ::socket(address.Family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (s < 0) {
        *error = LastSocketError();
        return NoSocket;
    }
    const int on = 1;
    ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (::connect(s, reinterpret_cast<const sockaddr *>(address.Bytes.data()),
                  static_cast<socklen_t>(address.Bytes.size())) != 0) {
        *error = LastSocketError();
        if (!error->Pending()) {
            ::close(s);
            return NoSocket;
        }
    }
    return s;
}

TSocketError ConnectOutcome(TSocket socket)
{
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(static_cast<int>(socket), SOL_SOCKET, SO_ERROR, &error, &length) != 0)
        return LastSocketError();
    return {error};
}

void CloseSocket(TSocket socket)
{
    ::close(static_cast<int>(socket));
}

int WaitSocket(TSocket socket, bool forWrite, int timeoutMs)
{
    pollfd p{static_cast<int>(socket), static_cast<short>(forWrite ? POLLOUT : POLLIN), 0};
    const int ready = ::poll(&p, 1, timeoutMs > 0 ? timeoutMs : 0);
    return ready < 0 ? -1 : ready > 0 ? 1 : 0;
}

long SendSome(TSocket socket, const std::uint8_t *bytes, std::size_t count)
{
    // A server gone away must not end the program with SIGPIPE.
    return static_cast<long>(::send(static_cast<int>(socket), bytes, count, MSG_NOSIGNAL));
}

long ReceiveSome(TSocket socket, std::uint8_t *buffer, std::size_t count)
{
    return static_cast<long>(::recv(static_cast<int>(socket), buffer, count, 0));
}

} // namespace zor
