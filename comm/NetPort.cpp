#include "comm/NetPort.h"

#include "comm/NetSocket.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace zor {

namespace {

// Telnet (RFC 854, 855) and its options.
constexpr std::uint8_t Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250, Se = 240;
constexpr std::uint8_t OptBinary = 0, OptSuppressGoAhead = 3, OptComPort = 44;
// COM-PORT-OPTION commands (RFC 2217); the server answers each with the command plus 100.
constexpr std::uint8_t SetBaudRate = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4;
constexpr std::uint8_t ServerOffset = 100;
constexpr std::uint8_t ParityNone = 1, StopBitsOne = 1;

using TSteady = std::chrono::steady_clock;

int MsLeft(TSteady::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TSteady::now()).count();
    return left > 0 ? static_cast<int>(left) : 0;
}

TSteady::time_point After(int ms)
{
    return TSteady::now() + std::chrono::milliseconds(ms);
}

// A name lookup's outcome, shared by the port and the thread that looks the name up: the system's
// lookup cannot be bounded or stopped, so a port that gives up leaves the thread to finish alone.
struct TLookup
{
    std::mutex Lock;
    std::condition_variable Done;
    bool Finished = false;
    bool Ok = false;
    std::vector<TSocketAddress> Found;
    std::string Error;
};

void RunLookup(TLookup &lookup, const TNetPort::TResolver &resolve, const std::string &host,
               const std::string &port)
{
    std::vector<TSocketAddress> found;
    std::string error;
    bool ok = false;
    try {
        ok = resolve(host, port, &found, &error);
    } catch (const std::exception &e) {
        error = e.what();
    }
    const std::lock_guard<std::mutex> hold(lookup.Lock);
    lookup.Ok = ok;
    lookup.Found = std::move(found);
    lookup.Error = std::move(error);
    lookup.Finished = true;
    lookup.Done.notify_all();
}

} // namespace

TNetPort::~TNetPort()
{
    Disconnect();
}

void TNetPort::Disconnect()
{
    if (Socket != NoSocket)
        CloseSocket(Socket);
    Socket = NoSocket;
    Parked = false;
}

bool TNetPort::Open(const std::string &device)
{
    if (IsOpen())
        return false;
    Problem.clear();
    Lost.clear();
    if (Parked && device == Device) {
        // The kept connection is taken again unless the server has ended it meanwhile.
        Parked = false;
        if (PurgeReceive())
            return true;
        Lost.clear();
    }
    Disconnect();
    Device = device;
    TNetAddress address;
    if (!ParseNetworkDevice(device, &address)) {
        Problem = "Cannot reach " + device +
                  ": write socket://HOST:PORT or rfc2217://HOST:PORT, PORT a number from 1 to "
                  "65535.";
        return false;
    }
    Scheme = address.Scheme;
    Server =
        (address.Host.find(':') != std::string::npos ? "[" + address.Host + "]" : address.Host) +
        ":" + address.Port;
    Out.clear();
    In.clear();
    InFirst = 0;
    State = TTelnet::Data;
    std::fill(std::begin(Ours), std::end(Ours), false);
    std::fill(std::begin(Theirs), std::end(Theirs), false);
    ComPort = 0;
    std::fill(std::begin(Acknowledged), std::end(Acknowledged), -1);
    if (!Connect(address, device))
        return false;
    if (Scheme == TNetScheme::Rfc2217) {
        // Eight-bit data both ways, no go-aheads, and the line settings through the server.
        Out.insert(Out.end(),
                   {Iac, Will, OptBinary, Iac, Do, OptBinary, Iac, Will, OptSuppressGoAhead, Iac,
                    Do, OptSuppressGoAhead, Iac, Will, OptComPort});
        Ours[OptBinary] = Ours[OptSuppressGoAhead] = Ours[OptComPort] = true;
        Theirs[OptBinary] = Theirs[OptSuppressGoAhead] = true;
        if (!SendQueued(ConnectTimeoutMs)) {
            Problem = "Cannot reach " + device + ": the server " + Server +
                      " closed the connection at once.";
            Close();
            return false;
        }
    }
    return true;
}

bool TNetPort::Connect(const TNetAddress &address, const std::string &device)
{
    const std::string cannot = "Cannot reach " + device + ": ";
    std::vector<TSocketAddress> found;
    if (!LookUp(address, cannot, &found))
        return false;
    const auto deadline = After(ConnectTimeoutMs);
    int refused = 0;
    TSocketError otherError;
    for (const TSocketAddress &a : found) {
        TSocketError error;
        const TSocket s = StartConnect(a, &error);
        if (s == NoSocket) {
            if (error.Refused())
                ++refused;
            else if (!error.TimedOut())
                otherError = error;
            if (StopRequested() || MsLeft(deadline) == 0)
                break;
            continue;
        }
        bool timedOut = false;
        if (error.Pending()) {
            timedOut = true;
            while (MsLeft(deadline) > 0 && !StopRequested()) {
                if (WaitSocket(s, true, std::min(MsLeft(deadline), StopSliceMs)) > 0) {
                    error = ConnectOutcome(s);
                    timedOut = false;
                    break;
                }
            }
        }
        if (timedOut || error.Failed()) {
            CloseSocket(s);
            if (error.Refused())
                ++refused;
            else if (!timedOut && !error.TimedOut())
                otherError = error;
            if (StopRequested() || MsLeft(deadline) == 0)
                break;
            continue;
        }
        Socket = s;
        break;
    }
    if (Socket != NoSocket)
        return true;
    if (StopRequested())
        Problem = cannot + "stopped while connecting.";
    else if (refused > 0)
        Problem = cannot + "the connection was refused by " + Server + ".";
    else if (otherError.Failed())
        Problem = cannot + otherError.Text() + ".";
    else
        Problem = cannot + "no answer to the connection within " +
                  std::to_string(ConnectTimeoutMs / 1000) + " s.";
    return false;
}

bool TNetPort::LookUp(const TNetAddress &address, const std::string &cannot,
                      std::vector<TSocketAddress> *found)
{
    const TResolver resolve = Resolve ? Resolve : TResolver(ResolveStream);
    const auto lookup = std::make_shared<TLookup>();
    try {
        std::thread([lookup, resolve, host = address.Host, port = address.Port] {
            RunLookup(*lookup, resolve, host, port);
        }).detach();
    } catch (const std::system_error &) {
        // No thread to spare (a process at its limits): looked up here, unbounded, as it must.
        RunLookup(*lookup, resolve, address.Host, address.Port);
    }
    const auto deadline = After(LookupTimeoutMs);
    std::unique_lock<std::mutex> hold(lookup->Lock);
    while (!lookup->Finished && MsLeft(deadline) > 0 && !StopRequested())
        lookup->Done.wait_for(hold,
                              std::chrono::milliseconds(std::min(MsLeft(deadline), StopSliceMs)));
    if (lookup->Finished && lookup->Ok) {
        *found = std::move(lookup->Found);
        return true;
    }
    if (lookup->Finished)
        Problem =
            cannot + "the name " + address.Host + " does not resolve (" + lookup->Error + ").";
    else if (StopRequested())
        Problem = cannot + "stopped while connecting.";
    else
        Problem = cannot + "the name " + address.Host + " did not resolve within " +
                  std::to_string(LookupTimeoutMs / 1000) + " s.";
    return false;
}

bool TNetPort::SetLine(std::int32_t baud)
{
    if (!IsOpen() || baud <= 0)
        return false;
    if (Scheme == TNetScheme::Raw)
        return true;
    const auto deadline = After(LineTimeoutMs);
    const auto lost = [this] {
        Problem = Lost + " before it acknowledged the line settings.";
        return false;
    };
    // Data before the line is set is noise (every frame purges it anyway); dropped as it comes, a
    // server that floods cannot fill the memory while we wait.
    const auto listen = [this, &deadline] {
        const bool alive = Receive(std::min(MsLeft(deadline), StopSliceMs));
        In.clear();
        InFirst = 0;
        return alive;
    };
    // The settings go only once the server has agreed to the option.
    while (ComPort == 0 && MsLeft(deadline) > 0 && !StopRequested())
        if (!listen())
            return lost();
    if (ComPort > 0) {
        const auto put = [this](std::uint8_t command, std::initializer_list<std::uint8_t> value) {
            Out.insert(Out.end(), {Iac, Sb, OptComPort, command});
            for (std::uint8_t b : value) {
                Out.push_back(b);
                if (b == Iac)
                    Out.push_back(Iac);
            }
            Out.insert(Out.end(), {Iac, Se});
            Acknowledged[command] = -1;
        };
        const auto u = static_cast<std::uint32_t>(baud);
        put(SetBaudRate, {static_cast<std::uint8_t>(u >> 24), static_cast<std::uint8_t>(u >> 16),
                          static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u)});
        put(SetDataSize, {8});
        put(SetParity, {ParityNone});
        put(SetStopSize, {StopBitsOne});
        if (!SendQueued(MsLeft(deadline)))
            return lost();
        const auto acknowledged = [this] {
            return Acknowledged[SetBaudRate] >= 0 && Acknowledged[SetDataSize] >= 0 &&
                   Acknowledged[SetParity] >= 0 && Acknowledged[SetStopSize] >= 0;
        };
        while (!acknowledged() && MsLeft(deadline) > 0 && !StopRequested())
            if (!listen())
                return lost();
        // A server answers with what it set; another value is a refusal.
        if (Acknowledged[SetBaudRate] == baud && Acknowledged[SetDataSize] == 8 &&
            Acknowledged[SetParity] == ParityNone && Acknowledged[SetStopSize] == StopBitsOne)
            return true;
    }
    if (StopRequested())
        return false;
    // Only a server that declined the option or set other values refused anything; one that
    // stayed silent (or spoke only noise) is told apart, as the fault is elsewhere.
    const auto differs = [this](std::uint8_t command, std::int64_t wanted) {
        return Acknowledged[command] >= 0 && Acknowledged[command] != wanted;
    };
    const bool refused = ComPort < 0 || differs(SetBaudRate, baud) || differs(SetDataSize, 8) ||
                         differs(SetParity, ParityNone) || differs(SetStopSize, StopBitsOne);
    const std::string line = " (" + std::to_string(baud) + " baud, 8N1).";
    Problem = refused ? "The server " + Server + " refused the line settings" + line
                      : "The server " + Server + " sent no answer to the line settings within " +
                            std::to_string(LineTimeoutMs / 1000) + " s" + line;
    return false;
}

bool TNetPort::SetTimeouts(const TPortTimeouts &timeouts)
{
    if (!IsOpen())
        return false;
    Timeouts = timeouts;
    return true;
}

void TNetPort::Write(std::uint8_t byte)
{
    if (!IsOpen())
        return;
    Out.push_back(byte);
    if (Scheme == TNetScheme::Rfc2217 && byte == Iac)
        Out.push_back(Iac);
}

bool TNetPort::SendQueued(int timeoutMs)
{
    const auto deadline = After(timeoutMs);
    std::size_t sent = 0;
    while (sent < Out.size()) {
        const long n = SendSome(Socket, Out.data() + sent, Out.size() - sent);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
            continue;
        }
        const TSocketError error = LastSocketError();
        if (n < 0 && error.Interrupted())
            continue;
        if (n < 0 && error.Pending() && MsLeft(deadline) > 0) {
            WaitSocket(Socket, true, std::min(MsLeft(deadline), StopSliceMs));
            continue;
        }
        if (n < 0 && error.Pending())
            break; // a server that takes nothing: the missing reply shows it
        Out.clear();
        MarkLost(error.ClosedByPeer()
                     ? "The server " + Server + " closed the connection"
                     : "The connection to " + Server + " failed (" + error.Text() + ")");
        return false;
    }
    Out.clear();
    return true;
}

bool TNetPort::Receive(int timeoutMs)
{
    if (!Out.empty() && !SendQueued(100))
        return false;
    const int ready = WaitSocket(Socket, false, std::max(timeoutMs, 0));
    if (ready < 0)
        return LastSocketError().Interrupted();
    if (ready == 0)
        return true;
    std::uint8_t buffer[4096];
    const long n = ReceiveSome(Socket, buffer, sizeof buffer);
    if (n > 0) {
        TakeIn(buffer, static_cast<std::size_t>(n));
        // Answers to the server's Telnet requests go at once.
        return Out.empty() || SendQueued(100);
    }
    const TSocketError error = n < 0 ? LastSocketError() : TSocketError{};
    if (n < 0 && (error.Interrupted() || error.Pending()))
        return true;
    MarkLost(n == 0 || error.ClosedByPeer()
                 ? "The server " + Server + " closed the connection"
                 : "The connection to " + Server + " failed (" + error.Text() + ")");
    return false;
}

void TNetPort::MarkLost(const std::string &what)
{
    if (Lost.empty())
        Lost = what;
    Disconnect();
}

void TNetPort::TakeIn(const std::uint8_t *bytes, std::size_t count)
{
    if (Scheme == TNetScheme::Raw) {
        In.insert(In.end(), bytes, bytes + count);
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        switch (State) {
        case TTelnet::Data:
            if (b == Iac)
                State = TTelnet::Iac;
            else
                In.push_back(b);
            break;
        case TTelnet::Iac:
            if (b == Iac) {
                In.push_back(Iac);
                State = TTelnet::Data;
            } else if (b >= Will && b <= Dont) {
                Command = b;
                State = TTelnet::Option;
            } else if (b == Sb) {
                Sub.clear();
                State = TTelnet::Sub;
            } else {
                State = TTelnet::Data; // NOP, GA, break and the like carry nothing for us
            }
            break;
        case TTelnet::Option:
            Negotiate(Command, b);
            State = TTelnet::Data;
            break;
        case TTelnet::Sub:
            if (b == Iac)
                State = TTelnet::SubIac;
            else if (Sub.size() < 64)
                Sub.push_back(b);
            break;
        case TTelnet::SubIac:
            if (b == Iac) {
                if (Sub.size() < 64)
                    Sub.push_back(Iac);
                State = TTelnet::Sub;
            } else {
                if (b == Se)
                    SubNegotiation();
                State = TTelnet::Data;
            }
            break;
        }
    }
}

void TNetPort::Negotiate(std::uint8_t command, std::uint8_t option)
{
    // Options are agreed once and answered only when their state changes, so that two sides
    // never answer each other's answers for ever (RFC 854's rule).
    const bool weDo = option == OptBinary || option == OptSuppressGoAhead || option == OptComPort;
    const bool theyMay = option == OptBinary || option == OptSuppressGoAhead;
    switch (command) {
    case Do:
        if (option == OptComPort)
            ComPort = 1;
        if (!weDo)
            Out.insert(Out.end(), {Iac, Wont, option});
        else if (!Ours[option]) {
            Ours[option] = true;
            Out.insert(Out.end(), {Iac, Will, option});
        }
        break;
    case Dont:
        if (option == OptComPort)
            ComPort = -1;
        if (Ours[option]) {
            Ours[option] = false;
            Out.insert(Out.end(), {Iac, Wont, option});
        }
        break;
    case Will:
        // An echo would send the frames back to us as replies: refused, as every option not
        // needed here.
        if (!theyMay)
            Out.insert(Out.end(), {Iac, Dont, option});
        else if (!Theirs[option]) {
            Theirs[option] = true;
            Out.insert(Out.end(), {Iac, Do, option});
        }
        break;
    case Wont:
        if (Theirs[option]) {
            Theirs[option] = false;
            Out.insert(Out.end(), {Iac, Dont, option});
        }
        break;
    default:
        break;
    }
}

void TNetPort::SubNegotiation()
{
    if (Sub.size() < 3 || Sub[0] != OptComPort || Sub[1] <= ServerOffset)
        return;
    const int command = Sub[1] - ServerOffset;
    if (command == SetBaudRate && Sub.size() >= 6)
        Acknowledged[SetBaudRate] =
            (std::int64_t{Sub[2]} << 24) | (Sub[3] << 16) | (Sub[4] << 8) | Sub[5];
    else if (command >= SetDataSize && command <= SetStopSize)
        Acknowledged[command] = Sub[2];
    // Line and modem state notices, and the answers to modem-line requests, are not waited for.
}

bool TNetPort::PurgeReceive()
{
    if (!IsOpen())
        return false;
    // What has come so far is taken in (and answered, for Telnet) before it is dropped.
    for (;;) {
        if (WaitSocket(Socket, false, 0) <= 0)
            break;
        if (!Receive(0))
            return false;
    }
    In.clear();
    InFirst = 0;
    return true;
}

bool TNetPort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    return ReadWithin(buffer, count, received,
                      Timeouts.ReadConstant + Timeouts.ReadPerByte * static_cast<int>(count));
}

bool TNetPort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                          int timeoutMs)
{
    *received = 0;
    if (!IsOpen())
        return false;
    const auto deadline = After(timeoutMs);
    if (!Out.empty() && !SendQueued(Timeouts.WriteConstant > 0 ? Timeouts.WriteConstant : 100))
        return false;
    for (;;) {
        const std::size_t n = std::min(count - *received, In.size() - InFirst);
        std::copy_n(In.begin() + static_cast<std::ptrdiff_t>(InFirst), n, buffer + *received);
        InFirst += n;
        *received += n;
        if (InFirst == In.size()) {
            In.clear();
            InFirst = 0;
        }
        if (*received == count || MsLeft(deadline) == 0)
            return true;
        if (!Receive(MsLeft(deadline)))
            return false;
    }
}

bool TNetPort::Flush()
{
    if (!IsOpen())
        return false;
    return Out.empty() || SendQueued(Timeouts.WriteConstant > 0 ? Timeouts.WriteConstant : 100);
}

bool TNetPort::Close()
{
    if (!IsOpen())
        return false;
    Parked = true;
    Out.clear();
    In.clear();
    InFirst = 0;
    return true;
}

} // namespace zor
