#include "comm/NetPort.h"

#include "base/TranslateNoop.h"
#include "comm/NetSocket.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace zor {

namespace {

using TTelnet = TTelnetCodec;

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

TMessage CannotReach(const std::string &device, TMessage why)
{
    return TMessage::Tr("NetPort", ZOR_TRANSLATE_NOOP("NetPort", "Cannot reach %1: %2"),
                        {device, std::move(why)});
}

TMessage StoppedWhileConnecting()
{
    return TMessage::Tr("NetPort", ZOR_TRANSLATE_NOOP("NetPort", "stopped while connecting."));
}

// The start of a sentence, as LostProblem gives it.
TMessage ClosedBy(const std::string &server)
{
    return TMessage::Tr(
        "NetPort", ZOR_TRANSLATE_NOOP("NetPort", "The server %1 closed the connection"), {server});
}

TMessage ConnectionFailed(const std::string &server, const TSocketError &error)
{
    return TMessage::Tr("NetPort",
                        ZOR_TRANSLATE_NOOP("NetPort", "The connection to %1 failed (%2)"),
                        {server, error.Words()});
}

} // namespace

TNetPort::~TNetPort()
{
    Disconnect();
}

int TNetPort::MsLeft(std::int64_t deadline) const
{
    const std::int64_t left = deadline - NowMs();
    return left > 0 ? static_cast<int>(std::min<std::int64_t>(left, INT_MAX)) : 0;
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
    Problem = {};
    Lost = {};
    if (Parked && device == Device) {
        // The kept connection is taken again unless the server has ended it meanwhile.
        Parked = false;
        if (PurgeReceive())
            return true;
        Lost = {};
    }
    Disconnect();
    Device = device;
    TNetAddress address;
    if (!ParseNetworkDevice(device, &address)) {
        Problem = CannotReach(
            device,
            TMessage::Tr("NetPort", ZOR_TRANSLATE_NOOP("NetPort", "write socket://HOST:PORT or "
                                                                  "rfc2217://HOST:PORT, PORT a "
                                                                  "number from 1 to 65535.")));
        return false;
    }
    Scheme = address.Scheme;
    Server =
        (address.Host.find(':') != std::string::npos ? "[" + address.Host + "]" : address.Host) +
        ":" + address.Port;
    Out.clear();
    In.clear();
    InFirst = 0;
    ComPort = 0;
    std::fill(std::begin(Acknowledged), std::end(Acknowledged), -1);
    if (!Connect(address, device))
        return false;
    if (Scheme == TNetScheme::Rfc2217) {
        Telnet.Start(&Out);
        if (!SendQueued(ConnectTimeoutMs)) {
            Problem = CannotReach(
                device, TMessage::Tr("NetPort",
                                     ZOR_TRANSLATE_NOOP(
                                         "NetPort", "the server %1 closed the connection at once."),
                                     {Server}));
            Close();
            return false;
        }
    }
    return true;
}

bool TNetPort::Connect(const TNetAddress &address, const std::string &device)
{
    std::vector<TSocketAddress> found;
    if (!LookUp(address, device, &found))
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
        Problem = CannotReach(device, StoppedWhileConnecting());
    else if (refused > 0)
        Problem = CannotReach(
            device, TMessage::Tr("NetPort",
                                 ZOR_TRANSLATE_NOOP("NetPort", "the connection was refused by %1."),
                                 {Server}));
    else if (otherError.Failed())
        Problem = TMessage::Tr("NetPort", ZOR_TRANSLATE_NOOP("NetPort", "Cannot reach %1: %2."),
                               {device, otherError.Words()});
    else
        Problem = CannotReach(
            device,
            TMessage::Tr("NetPort",
                         ZOR_TRANSLATE_NOOP("NetPort", "no answer to the connection within %1 s."),
                         {std::to_string(ConnectTimeoutMs / 1000)}));
    return false;
}

bool TNetPort::LookUp(const TNetAddress &address, const std::string &device,
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
        Problem = CannotReach(
            device,
            TMessage::Tr("NetPort",
                         ZOR_TRANSLATE_NOOP("NetPort", "the name %1 does not resolve (%2)."),
                         {address.Host, TMessage::SystemError(lookup->Error)}));
    else if (StopRequested())
        Problem = CannotReach(device, StoppedWhileConnecting());
    else
        Problem = CannotReach(
            device,
            TMessage::Tr("NetPort",
                         ZOR_TRANSLATE_NOOP("NetPort", "the name %1 did not resolve within %2 s."),
                         {address.Host, std::to_string(LookupTimeoutMs / 1000)}));
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
        Problem = TMessage::Tr(
            "NetPort",
            ZOR_TRANSLATE_NOOP("NetPort", "%1 before it acknowledged the line settings."), {Lost});
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
        std::fill(std::begin(Acknowledged), std::end(Acknowledged), -1);
        TTelnet::RequestLine(baud, &Out);
        if (!SendQueued(MsLeft(deadline)))
            return lost();
        const auto acknowledged = [this] {
            return Acknowledged[TTelnet::SetBaudRate] >= 0 &&
                   Acknowledged[TTelnet::SetDataSize] >= 0 &&
                   Acknowledged[TTelnet::SetParity] >= 0 && Acknowledged[TTelnet::SetStopSize] >= 0;
        };
        while (!acknowledged() && MsLeft(deadline) > 0 && !StopRequested())
            if (!listen())
                return lost();
        // A server answers with what it set; another value is a refusal.
        if (Acknowledged[TTelnet::SetBaudRate] == baud &&
            Acknowledged[TTelnet::SetDataSize] == TTelnet::DataSize8 &&
            Acknowledged[TTelnet::SetParity] == TTelnet::ParityNone &&
            Acknowledged[TTelnet::SetStopSize] == TTelnet::StopBitsOne)
            return true;
    }
    if (StopRequested())
        return false;
    // Only a server that declined the option or set other values refused anything; one that
    // stayed silent (or spoke only noise) is told apart, as the fault is elsewhere.
    const auto differs = [this](std::uint8_t command, std::int64_t wanted) {
        return Acknowledged[command] >= 0 && Acknowledged[command] != wanted;
    };
    const bool refused = ComPort < 0 || differs(TTelnet::SetBaudRate, baud) ||
                         differs(TTelnet::SetDataSize, TTelnet::DataSize8) ||
                         differs(TTelnet::SetParity, TTelnet::ParityNone) ||
                         differs(TTelnet::SetStopSize, TTelnet::StopBitsOne);
    Problem =
        refused
            ? TMessage::Tr("NetPort",
                           ZOR_TRANSLATE_NOOP("NetPort", "The server %1 refused the line "
                                                         "settings (%2 baud, 8N1)."),
                           {Server, std::to_string(baud)})
            : TMessage::Tr("NetPort",
                           ZOR_TRANSLATE_NOOP("NetPort", "The server %1 sent no answer to the line "
                                                         "settings within %2 s (%3 baud, 8N1)."),
                           {Server, std::to_string(LineTimeoutMs / 1000), std::to_string(baud)});
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
    if (Scheme == TNetScheme::Rfc2217)
        TTelnet::Escape(byte, &Out);
    else
        Out.push_back(byte);
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
        MarkLost(error.ClosedByPeer() ? ClosedBy(Server) : ConnectionFailed(Server, error));
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
    MarkLost(n == 0 || error.ClosedByPeer() ? ClosedBy(Server) : ConnectionFailed(Server, error));
    return false;
}

void TNetPort::MarkLost(const TMessage &what)
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
    for (const TTelnetEvent &e : Telnet.Decode(bytes, count, &In, &Out)) {
        if (e.Kind == TTelnetEvent::ComPortAgreed)
            ComPort = 1;
        else if (e.Kind == TTelnetEvent::ComPortDeclined)
            ComPort = -1;
        else if (e.Setting < std::size(Acknowledged))
            Acknowledged[e.Setting] = e.Value;
    }
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
