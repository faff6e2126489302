// zor panel: a panel emulator on a pseudo-terminal (or a given device, or a TCP port as a device
// server would offer), for tests and for trying the editor without hardware.
#include "base/AtomicFile.h"
#include "comm/PanelEmulator.h"
#include "tools/zor/Output.h"
#include "tools/zor/Subcommand.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <memory>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace zor::tool {

namespace {

volatile std::sig_atomic_t StopRequested = 0;

void OnPanelSignal(int)
{
    StopRequested = 1;
}

// Which frame a fault applies to, and how often.
constexpr const char *FaultHelp =
    "FRAME is open, close, numeric, block, blockK or any, optionally followed by :N, how many\n"
    "times (refuse: always without N, the others once). Faults may be repeated.";

struct TOptions
{
    std::string Device;
    std::string Listen; // [HOST:]PORT
    int Baud = 0;
    int FreeBlocks = 200;
    std::string Out;
    int Count = 0;
    bool ShowBaud = false;
    TPanelLateness Lateness;
    std::vector<TPanelFault> Faults;
};

// Declares the options; the faults are parsed as they are read, in the order given.
void AddOptions(CLI::App &app, TOptions &o)
{
    app.add_option("--device", o.Device, "Serve this device instead of a new pseudo-terminal")
        ->type_name("PATH");
    app.add_option("--listen", o.Listen,
                   "Serve raw TCP connections on PORT (of 127.0.0.1 unless HOST is given; 0 picks "
                   "a free port), one at a time, instead of a pseudo-terminal; prints "
                   "socket://HOST:PORT")
        ->type_name("[HOST:]PORT")
        ->excludes("--device");
    app.add_option("--baud", o.Baud, "Line rate to set on the terminal")
        ->type_name("B")
        ->transform(Decimal())
        ->check(CLI::Range(1, INT_MAX));
    app.add_option("--free-blocks", o.FreeBlocks, "Free 64-byte blocks the panel reports")
        ->type_name("N")
        ->transform(Decimal())
        ->check(CLI::Range(0, 0xFFFF));
    app.add_option("--out", o.Out, "Write each received program to FILE")->type_name("FILE");
    app.add_option("--count", o.Count, "End after N transfers (0: run until stopped)")
        ->type_name("N")
        ->transform(Decimal())
        ->check(CLI::Range(0, INT_MAX));
    app.add_flag("--show-baud", o.ShowBaud,
                 "Before each program or numeric message, print the rate the sender had set on "
                 "the line (\"line B baud\"; a terminal only)");
    app.add_option_function<std::string>(
           "--late",
           [&o](const std::string &v) {
               if (!ParsePanelLateness(v, &o.Lateness))
                   throw CLI::ValidationError("bad lateness '" + v + "'");
           },
           "Answer frames MS (or MIN-MAX, a random time between) milliseconds late")
        ->type_name("MS|MIN-MAX");
    app.add_option_function<std::string>(
           "--late-frames",
           [&o](const std::string &v) {
               TPanelFault fault;
               if (!ParsePanelFault(v, TPanelFaultKind::Silent, -1, &fault))
                   throw CLI::ValidationError("bad frame '" + v + "'");
               o.Lateness.Frames = fault.Frames;
               o.Lateness.Count = fault.Count;
           },
           "With --late: only these frames are answered late (default: every frame)")
        ->type_name("FRAME[:N]");
    const struct
    {
        const char *Name;
        TPanelFaultKind Kind;
        int DefaultCount;
        const char *Help;
    } faults[] = {
        {"--refuse", TPanelFaultKind::Refuse, -1, "Refuse FRAME (status 0xFE)"},
        {"--silent", TPanelFaultKind::Silent, 1, "Leave FRAME unanswered"},
        {"--bad-crc", TPanelFaultKind::BadCrc, 1, "Answer FRAME with a wrong CRC"},
        {"--unknown-status", TPanelFaultKind::UnknownStatus, 1,
         "Answer FRAME with a status of no meaning"},
    };
    for (const auto &f : faults) {
        app.add_option_function<std::vector<std::string>>(
               f.Name,
               [&o, kind = f.Kind, count = f.DefaultCount](const std::vector<std::string> &values) {
                   for (const auto &v : values) {
                       TPanelFault fault;
                       if (!ParsePanelFault(v, kind, count, &fault))
                           throw CLI::ValidationError("bad frame '" + v + "'");
                       o.Faults.push_back(fault);
                   }
               },
               f.Help)
            ->type_name("FRAME[:N]");
    }
    app.footer(FaultHelp);
}

// The standard rates, the only ones set here; other rates are left to the port's owner.
constexpr struct
{
    int Rate;
    speed_t Speed;
} StandardRates[] = {{1200, B1200},   {2400, B2400},   {4800, B4800},   {9600, B9600},
                     {19200, B19200}, {38400, B38400}, {57600, B57600}, {115200, B115200}};

bool MakeRaw(int fd, int baud)
{
    termios t{};
    if (tcgetattr(fd, &t) != 0)
        return false;
    cfmakeraw(&t);
    t.c_cflag |= CLOCAL | CREAD;
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    if (baud > 0)
        for (const auto &r : StandardRates)
            if (r.Rate == baud)
                cfsetspeed(&t, r.Speed);
    return tcsetattr(fd, TCSANOW, &t) == 0;
}

// Binds and listens on listen ([HOST:]PORT, loopback by default). Returns the socket, or -1 with
// the reason printed; *name is set to the device name a client uses.
int ListenOn(const std::string &listen, std::string *name)
{
    const auto colon = listen.rfind(':');
    std::string host = colon == std::string::npos ? "127.0.0.1" : listen.substr(0, colon);
    const std::string port = colon == std::string::npos ? listen : listen.substr(colon + 1);
    if (host.size() > 2 && host.front() == '[' && host.back() == ']')
        host = host.substr(1, host.size() - 2);
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_PASSIVE | AI_NUMERICSERV;
    addrinfo *found = nullptr;
    if (const int error = ::getaddrinfo(host.c_str(), port.c_str(), &hints, &found)) {
        Print(stderr, "zor panel: cannot listen on %s: %s\n", listen.c_str(),
              ::gai_strerror(error));
        return -1;
    }
    int s = ::socket(found->ai_family, found->ai_socktype | SOCK_CLOEXEC, found->ai_protocol);
    const int on = 1;
    if (s >= 0)
        ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    if (s < 0 || ::bind(s, found->ai_addr, found->ai_addrlen) != 0 || ::listen(s, 1) != 0) {
        Print(stderr, "zor panel: cannot listen on %s: %s\n", listen.c_str(), std::strerror(errno));
        if (s >= 0)
            ::close(s);
        ::freeaddrinfo(found);
        return -1;
    }
    ::freeaddrinfo(found);
    sockaddr_storage bound{};
    socklen_t length = sizeof bound;
    char numeric[NI_MAXHOST], service[NI_MAXSERV];
    ::getsockname(s, reinterpret_cast<sockaddr *>(&bound), &length);
    ::getnameinfo(reinterpret_cast<sockaddr *>(&bound), length, numeric, sizeof numeric, service,
                  sizeof service, NI_NUMERICHOST | NI_NUMERICSERV);
    const std::string shown =
        bound.ss_family == AF_INET6 ? "[" + std::string(numeric) + "]" : std::string(numeric);
    *name = "socket://" + shown + ":" + service;
    return s;
}

bool WriteAll(int fd, const std::uint8_t *data, std::size_t count)
{
    while (count > 0) {
        const ssize_t n = ::write(fd, data, count);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0 && errno == EAGAIN) {
            pollfd p{fd, POLLOUT, 0};
            ::poll(&p, 1, 100);
            continue;
        }
        if (n <= 0)
            return false;
        data += n;
        count -= static_cast<std::size_t>(n);
    }
    return true;
}

// The line rate the terminal line has now, as its other side set it; 0 when it is no standard rate
// or line is no terminal.
int LineBaud(int line)
{
    termios t{};
    if (line < 0 || tcgetattr(line, &t) != 0)
        return 0;
    for (const auto &r : StandardRates)
        if (r.Speed == cfgetospeed(&t))
            return r.Rate;
    return 0;
}

// baud: the line's rate when the events' bytes came in, for --show-baud.
void Report(const std::vector<TPanelEvent> &events, const TOptions &o, int baud)
{
    for (const auto &e : events) {
        if (o.ShowBaud && e.Kind != TPanelEvent::Note)
            Print(stdout, "line %d baud\n", baud);
        switch (e.Kind) {
        case TPanelEvent::Program:
            if (!o.Out.empty()) {
                // Replaced whole, as the programs' other outputs are: a test reading the file
                // never sees half a program, and a FIFO nobody reads does not stop the panel.
                std::string error;
                if (WriteFileAtomically(o.Out, e.Data, &error))
                    Print(stdout, "program %zu bytes written to %s\n", e.Data.size(),
                          o.Out.c_str());
                else
                    Print(stderr, "zor panel: %s\n", error.c_str());
            } else {
                Print(stdout, "program %zu bytes:", e.Data.size());
                for (unsigned char c : e.Data)
                    Print(stdout, " %02X", c);
                Print(stdout, "\n");
            }
            break;
        case TPanelEvent::Numeric:
            Print(stdout, "numeric days \"%s\" accidents \"%s\"\n", e.Data.substr(0, 3).c_str(),
                  e.Data.substr(3).c_str());
            break;
        case TPanelEvent::Note:
            Print(stderr, "zor panel: %s\n", e.Data.c_str());
            break;
        }
    }
    std::fflush(stdout);
}

// The line the emulator serves, closed when it goes.
struct TLine
{
    int Io = -1;       // the descriptor the panel reads and writes
    int Held = -1;     // the terminal side held open, so that the line never hangs up between opens
    int Listener = -1; // with --listen: the listening socket; Io is then the connection, if any
    std::string Path;  // what a sender opens, printed as the first line

    TLine() = default;
    TLine(const TLine &) = delete;
    TLine &operator=(const TLine &) = delete;
    ~TLine()
    {
        for (int fd : {Held, Io, Listener})
            if (fd >= 0)
                ::close(fd);
    }
};

// Opens the line o asks for: a listening socket, a new pseudo-terminal or the given device.
// Returns false with the reason printed.
bool OpenLine(const TOptions &o, TLine &line)
{
    if (!o.Listen.empty()) {
        line.Listener = ListenOn(o.Listen, &line.Path);
        if (line.Listener < 0)
            return false;
        // A client that goes away mid-answer is a disconnection, not the emulator's end.
        std::signal(SIGPIPE, SIG_IGN);
        return true;
    }
    if (o.Device.empty()) {
        line.Io = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (line.Io < 0 || grantpt(line.Io) != 0 || unlockpt(line.Io) != 0 || !ptsname(line.Io)) {
            Print(stderr, "zor panel: cannot create a pseudo-terminal: %s\n", std::strerror(errno));
            return false;
        }
        line.Path = ptsname(line.Io);
        line.Held = ::open(line.Path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (line.Held < 0 || !MakeRaw(line.Held, o.Baud)) {
            Print(stderr, "zor panel: cannot set up %s: %s\n", line.Path.c_str(),
                  std::strerror(errno));
            return false;
        }
        return true;
    }
    line.Path = o.Device;
    line.Io = ::open(line.Path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (line.Io < 0 || (isatty(line.Io) && !MakeRaw(line.Io, o.Baud))) {
        Print(stderr, "zor panel: cannot open %s: %s\n", line.Path.c_str(), std::strerror(errno));
        return false;
    }
    return true;
}

// Catches SIGINT, SIGTERM and SIGHUP and keeps them blocked except while waiting in ppoll, so a
// stop is never lost between the check and the wait. Returns the mask to wait with.
sigset_t CatchStopSignals()
{
    struct sigaction sa
    {
    };
    sa.sa_handler = OnPanelSignal;
    sigemptyset(&sa.sa_mask);
    sigaction(SIGINT, &sa, nullptr);
    sigaction(SIGTERM, &sa, nullptr);
    sigaction(SIGHUP, &sa, nullptr);
    sigset_t blocked, original;
    sigemptyset(&blocked);
    sigaddset(&blocked, SIGINT);
    sigaddset(&blocked, SIGTERM);
    sigaddset(&blocked, SIGHUP);
    sigprocmask(SIG_BLOCK, &blocked, &original);
    return original;
}

// Serves one line until a stop, the end of the line or --count transfers.
class TServer
{
public:
    TServer(const TOptions &o, TLine &line, const sigset_t &waitMask)
        : O(o), Line(line), WaitMask(waitMask),
          Panel(static_cast<std::uint16_t>(o.FreeBlocks), o.Faults, o.Lateness)
    {
    }

    // The exit status: 0 at a stop or the line's end, 1 when the line failed.
    int Run();

private:
    using TClock = std::chrono::steady_clock;

    bool Done() const
    {
        return StopRequested || (O.Count != 0 && Panel.Transfers() >= O.Count && Queue.empty());
    }
    void SendDueReplies();
    std::chrono::milliseconds TimeToWait() const;
    void Accept();
    // Reads what came in and answers it; false when the line has ended.
    bool ReadAndAnswer();
    void Disconnect();
    void CannotAnswer();

    // A frame is sent in one go; a pause this long inside one means the rest was lost.
    static constexpr std::chrono::milliseconds Idle{50};

    const TOptions &O;
    TLine &Line;
    const sigset_t &WaitMask;
    TPanelEmulator Panel;
    TClock::time_point LastInput = TClock::now();
    // Replies held back, in the order they go out: a late reply never overtakes an earlier one.
    struct TQueued
    {
        TClock::time_point Due;
        std::vector<std::uint8_t> Bytes;
    };
    std::deque<TQueued> Queue;
    int Status = 0;
    int BaudAtInput = 0; // with --show-baud: the rate when the last bytes came in
};

int TServer::Run()
{
    while (!Done()) {
        SendDueReplies();
        if (Done())
            break;
        const auto wait = TimeToWait();
        const timespec timeout{0, static_cast<long>(wait.count()) * 1'000'000};
        pollfd p{Line.Io >= 0 ? Line.Io : Line.Listener, POLLIN, 0};
        const int ready = ppoll(&p, 1, &timeout, &WaitMask);
        if (ready < 0) {
            if (errno == EINTR)
                continue;
            Status = 1;
            break;
        }
        if (ready == 0) {
            if (TClock::now() - LastInput >= Idle)
                Panel.LineIdle();
            continue;
        }
        if (Line.Io < 0) {
            Accept();
            continue;
        }
        if (!ReadAndAnswer())
            break;
    }
    Report(Panel.TakeEvents(), O, BaudAtInput);
    return Status;
}

void TServer::SendDueReplies()
{
    const auto now = TClock::now();
    while (Line.Io >= 0 && !Queue.empty() && Queue.front().Due <= now) {
        auto bytes = std::move(Queue.front().Bytes);
        Queue.pop_front();
        if (!WriteAll(Line.Io, bytes.data(), bytes.size()))
            CannotAnswer();
    }
}

std::chrono::milliseconds TServer::TimeToWait() const
{
    auto wait = std::chrono::milliseconds(Idle);
    if (!Queue.empty())
        wait = std::min(
            wait, std::chrono::ceil<std::chrono::milliseconds>(Queue.front().Due - TClock::now()));
    return std::max(wait, std::chrono::milliseconds(0));
}

void TServer::Accept()
{
    Line.Io = ::accept4(Line.Listener, nullptr, nullptr, SOCK_CLOEXEC);
    const int on = 1;
    if (Line.Io >= 0)
        ::setsockopt(Line.Io, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

bool TServer::ReadAndAnswer()
{
    std::uint8_t buffer[4096];
    const ssize_t n = ::read(Line.Io, buffer, sizeof buffer);
    if (n < 0 && (errno == EINTR || errno == EAGAIN))
        return true;
    if (n <= 0 && Line.Listener >= 0) {
        Disconnect();
        return true;
    }
    if (n < 0 && errno == EIO) {
        // No terminal side open (a device that went away); wait for it to return.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        return true;
    }
    if (n <= 0) {
        Status = n < 0 ? 1 : 0;
        return false;
    }
    LastInput = TClock::now();
    // Taken before the answer goes out: the sender may put its old rate back once answered.
    if (O.ShowBaud)
        BaudAtInput = LineBaud(Line.Held >= 0 ? Line.Held : Line.Io);
    auto replies = Panel.FeedReplies(buffer, static_cast<std::size_t>(n));
    // Stored before it is acknowledged, as a panel does: whoever reads --out once the sender
    // has its answer finds the program there.
    Report(Panel.TakeEvents(), O, BaudAtInput);
    for (auto &reply : replies) {
        auto due = LastInput + std::chrono::milliseconds(reply.LateMs);
        if (!Queue.empty())
            due = std::max(due, Queue.back().Due);
        if (due <= LastInput && Queue.empty()) {
            if (!WriteAll(Line.Io, reply.Bytes.data(), reply.Bytes.size())) {
                CannotAnswer();
                break;
            }
        } else {
            Queue.push_back({due, std::move(reply.Bytes)});
        }
    }
    return true;
}

// A client's end: what it was sent is gone with it, and the next one starts afresh.
void TServer::Disconnect()
{
    ::close(Line.Io);
    Line.Io = -1;
    Queue.clear();
    Panel.LineIdle();
}

void TServer::CannotAnswer()
{
    if (Line.Listener >= 0) {
        Disconnect();
        return;
    }
    Print(stderr, "zor panel: cannot answer: %s\n", std::strerror(errno));
    Status = 1;
    StopRequested = 1;
}

// Lets the last reply be read before the line goes away with us: a reply still on its way
// through the pseudo-terminal, or unread, would be lost with the hang-up.
void LetTheLastReplyBeRead(int held)
{
    int quiet = 0;
    for (int i = 0; i < 100 && quiet < 3 && !StopRequested; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
        int unread = 0;
        quiet = (ioctl(held, FIONREAD, &unread) != 0 || unread == 0) ? quiet + 1 : 0;
    }
}

int RunPanel(const TOptions &o)
{
    TLine line;
    if (!OpenLine(o, line))
        return 1;
    Print(stdout, "%s\n", line.Path.c_str());
    std::fflush(stdout);
    const sigset_t waitMask = CatchStopSignals();
    const int status = TServer(o, line, waitMask).Run();
    if (line.Held >= 0)
        LetTheLastReplyBeRead(line.Held);
    return status;
}

const TSubcommand PanelRegistration("panel",
                                    "A panel emulator on a pseudo-terminal; prints the device path",
                                    [](CLI::App &app) -> TSubcommand::Run {
                                        auto o = std::make_shared<TOptions>();
                                        AddOptions(app, *o);
                                        return [o] { return RunPanel(*o); };
                                    });

} // namespace

} // namespace zor::tool
