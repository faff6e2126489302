// Panels behind serial device servers on the network. A device named "socket://HOST:PORT" is a
// raw TCP connection to a server whose line settings are set on the server; one named
// "rfc2217://HOST:PORT" is a Telnet connection with the COM-PORT-OPTION (RFC 2217), through which
// the baud rate and 8N1 are set from here as on a local port. Everything else names a local
// device. The bytes of the panel's frames go through unchanged, in both forms. The Telnet codec
// is comm/TelnetCodec.h; the choice between this port and a local one is comm/DevicePort.h.
#pragma once

#include "comm/NetSocket.h"
#include "comm/SerialPort.h"
#include "comm/TelnetCodec.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace zor {

enum class TNetScheme { Raw, Rfc2217 };

struct TNetAddress
{
    TNetScheme Scheme = TNetScheme::Raw;
    std::string Host; // without the brackets of an IPv6 address
    std::string Port; // decimal, 1..65535
};

// True when device begins with one of the network forms' prefixes (whether or not the rest is
// well formed): such a name is never a path.
bool IsNetworkDevice(const std::string &device);

// Splits a network device name. False when it is not one of the two forms or HOST or PORT is
// missing or PORT is not a number in 1..65535.
bool ParseNetworkDevice(const std::string &device, TNetAddress *address);

// A serial line through a device server. Open resolves the name within LookupTimeoutMs and
// connects within ConnectTimeoutMs (giving up on either early when the watched stop is
// requested); for RFC 2217, SetLine
// sends the four line settings and waits up to LineTimeoutMs for the server to acknowledge each.
// Reads wait on the socket with the same time-outs as a local port; written bytes are sent
// together before the next read, so a frame leaves as one piece. Close keeps the connection for
// the next Open of the same device by this object (a transfer closes and reopens its port between
// the Open frame and the blocks, and a device server that serves one client at a time may refuse
// a new connection until it has noticed the end of the old one); it ends with the object.
// Every bound is measured on NowMs, so a test may give the port a clock of its own; the waits for
// the lookup, the connection and the line settings look at it and at the stop every StopSliceMs.
class TNetPort : public TSerialPort
{
public:
    static constexpr int LookupTimeoutMs = 3000;
    static constexpr int ConnectTimeoutMs = 3000;
    static constexpr int LineTimeoutMs = 3000;
    // How often a wait looks at the stop request.
    static constexpr int StopSliceMs = 50;

    // How a name is looked up; ResolveStream (comm/NetSocket.h) when empty. It runs on a thread
    // of its own that is left to finish alone when the lookup is given up on, so it must not
    // depend on this port or on anything its caller may end meanwhile.
    using TResolver =
        std::function<bool(const std::string &host, const std::string &port,
                           std::vector<TSocketAddress> *addresses, std::string *error)>;
    TResolver Resolve;

    TNetPort() = default;
    ~TNetPort() override;
    TNetPort(const TNetPort &) = delete;
    TNetPort &operator=(const TNetPort &) = delete;

    bool Open(const std::string &device) override;
    TMessage OpenProblem() const override { return Problem; }
    void WatchStop(const TTransferStop *stop) override { Stop = stop; }
    TMessage LostProblem() const override { return Lost; }
    bool IsOpen() const override { return Socket != -1 && !Parked; }
    // Raw: nothing to set, true. RFC 2217: false, with the reason in OpenProblem, when the server
    // declines the option or sets other values (it refused the line settings) or does not
    // acknowledge every setting within LineTimeoutMs (no answer). Data that comes before the line
    // is set is dropped.
    bool SetLine(std::int32_t baud) override;
    bool SetTimeouts(const TPortTimeouts &timeouts) override;
    void Write(std::uint8_t byte) override;
    bool PurgeReceive() override;
    bool Read(std::uint8_t *buffer, std::size_t count, std::size_t *received) override;
    bool ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                    int timeoutMs) override;
    bool Flush() override;
    bool Close() override;

private:
    bool Connect(const TNetAddress &address, const std::string &device);
    // Looks address up within LookupTimeoutMs. False, with Problem set (CannotReach device), when
    // the name does not resolve, not in time, or the stop was requested.
    bool LookUp(const TNetAddress &address, const std::string &device,
                std::vector<TSocketAddress> *found);
    // Sends what is queued for the server. False (and the line marked lost) when it cannot go.
    bool SendQueued(int timeoutMs);
    // Waits up to timeoutMs for bytes from the server and takes them in. False when the line is
    // lost; true on time-out too.
    bool Receive(int timeoutMs);
    void TakeIn(const std::uint8_t *bytes, std::size_t count);
    void MarkLost(const TMessage &what);
    // Ends the connection, a kept one too.
    void Disconnect();
    bool StopRequested() const { return Stop && Stop->Requested(); }
    // Deadlines on NowMs, the clock of the port's time-outs.
    std::int64_t After(int ms) const { return NowMs() + ms; }
    int MsLeft(std::int64_t deadline) const;

    std::intptr_t Socket = -1; // a TSocket (comm/NetSocket.h), -1 for none
    bool Parked = false;       // closed, the connection kept for the next Open of Device
    std::string Device;
    TNetScheme Scheme = TNetScheme::Raw;
    std::string Server; // HOST:PORT, for the messages
    TMessage Problem;
    TMessage Lost;
    const TTransferStop *Stop = nullptr;
    TPortTimeouts Timeouts;
    std::vector<std::uint8_t> Out; // to the server, escaped
    std::vector<std::uint8_t> In;  // from the server, data only
    std::size_t InFirst = 0;       // the first byte of In not yet read

    TTelnetCodec Telnet; // RFC 2217 only
    int ComPort = 0;     // 1 once the server takes the COM-PORT-OPTION, -1 when it refuses it
    // The settings the server reports as set, -1 until it has.
    std::int64_t Acknowledged[5] = {-1, -1, -1, -1, -1};
};

} // namespace zor
