// The socket calls of the network port (comm/NetPort.h), on POSIX sockets (PosixNetSocket.cpp) or
// Winsock (Win32NetSocket.cpp), chosen by the build. Every socket made here is non-blocking.
#pragma once

#include "base/Message.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zor {

using TSocket = std::intptr_t;
inline constexpr TSocket NoSocket = -1;

// A failure as the system reported it (errno, or Winsock's own numbers).
struct TSocketError
{
    int Code = 0;

    bool Failed() const { return Code != 0; }
    // The call would have had to wait (a connection under way, nothing to read, no room to send).
    bool Pending() const;
    bool Interrupted() const;
    bool Refused() const;
    bool TimedOut() const;
    // The other side ended the connection (reset, or gone while we wrote).
    bool ClosedByPeer() const;
    // The system's words, without a final full stop.
    std::string Text() const;
    // The same, for a message (base/Message.h): an errno the editor can word in its language.
    TMessage Words() const;
};

// The failure of the last socket call of this thread.
TSocketError LastSocketError();

// One address a name resolved to, as the system's socket address.
struct TSocketAddress
{
    int Family = 0;
    std::vector<std::uint8_t> Bytes;
};

// The addresses of host and port (a number) for a TCP connection, of the kinds this machine has
// configured, in the resolver's order. False with the resolver's words in *error.
bool ResolveStream(const std::string &host, const std::string &port,
                   std::vector<TSocketAddress> *addresses, std::string *error);

// A TCP socket, not inherited by other programs, sending small writes at once, connecting to
// address. NoSocket with *error when the socket could not be made or the connection failed at
// once; otherwise the connection is made or under way (ConnectOutcome tells, once the socket is
// ready for writing).
TSocket StartConnect(const TSocketAddress &address, TSocketError *error);

// The end of a connection that was under way: no failure when it is made.
TSocketError ConnectOutcome(TSocket socket);

void CloseSocket(TSocket socket);

// Waits up to timeoutMs for the socket to have something to read (or, with forWrite, room to
// write or a connection attempt ended). 1 when it has, 0 on time-out, -1 on failure
// (LastSocketError tells).
int WaitSocket(TSocket socket, bool forWrite, int timeoutMs);

// What send and recv give: the bytes moved, 0 from ReceiveSome when the other side has ended the
// connection, -1 on failure (LastSocketError tells).
long SendSome(TSocket socket, const std::uint8_t *bytes, std::size_t count);
long ReceiveSome(TSocket socket, std::uint8_t *buffer, std::size_t count);

} // namespace zor
