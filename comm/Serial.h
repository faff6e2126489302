// TSerial: the link to the display panel over one serial port, with the frame exchange, the
// program transfer; the optional transfer log is written by a TTransferLogWriter
// (comm/TransferLogWriter.h).
//
// A TSerial lives for one command (a program transfer or a numeric message). Every operation
// runs synchronously on the calling thread and returns a result code of comm/Results.h. Each
// operation that opens the port also closes it on every path. Use one TSerial from one thread at
// a time; with the Qt port it must be the thread that created the port object's QSerialPort (the
// one that opens it).
//
// Replies carry nothing that names the frame they answer, so they are matched to the copies of
// frames in the order the copies went out; the panel answers in that order, each copy at most
// once. A frame goes out in up to three copies, each followed by a listening window of 250 ms
// (the 100 ms read time-out and a guard for late replies); a whole reply heard while copies of
// the frame are unanswered answers the frame. When a reply is taken (or the frame times out)
// while copies remain unanswered, their replies may still come: neither the next frame nor the
// next transfer goes out until each has come or can no longer come, that is until the last copy
// is older than the reply expiry (the slowest reply of this transfer plus one window, at least
// three windows). A reply later than three windows after the frame's first copy is not taken:
// the frame ends in Timeout. So a panel that answers every copy within the expiry never has a
// reply credited to a frame it does not answer; one that answers within the first window waits
// for nothing more, and a slow or forgetful one costs at most about a second and a half a frame.
#pragma once

#include "base/Clock.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferLogWriter.h"
#include "comm/TransferStop.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zor {

class TSerial
{
public:
    static constexpr std::size_t BufferSize = 100;
    using TBuffer = std::array<std::uint8_t, BufferSize>;

    // Takes the port (closed); port numbers are mapped to devices through devices. Does not open
    // the port. clock is read for the Open frame on the transfer's thread; not owned, null for
    // the system clock.
    TSerial(std::unique_ptr<TSerialPort> port, TPortDevices devices, TTransferLog log = {},
            TClock *clock = nullptr);
    // A link with no port numbers: its operations name their device.
    TSerial(std::unique_ptr<TSerialPort> port, TTransferLog log, TClock *clock = nullptr);
    ~TSerial();

    TSerial(const TSerial &) = delete;
    TSerial &operator=(const TSerial &) = delete;

    // Called with the progress of SendProgram: the bar's maximum once the blocks are counted, and
    // its position after each accepted block. Called on the transfer's thread.
    std::function<void(int maximum)> OnProgressMaximum;
    std::function<void(int position)> OnProgressPosition;

    // When set and requested, the transfer ends after the frame in flight (the attempts not yet
    // made are dropped) with ResultCancelled; the port is closed and the log says why. Not owned.
    const TTransferStop *Stop = nullptr;

    // Sets all 100 bytes of a frame buffer to zero.
    static void ClearBuffer(TBuffer &buffer) { buffer.fill(0); }

    // Opens the device of port number port (1..3, anything else the fourth) at baud, 8N1, with
    // the read time-out of 100 ms. ResultOk; ResultHardwareFailure when the device cannot be
    // opened (or connected to), or a device server refused the line settings; ResultCancelled
    // when Stop was requested while connecting; ResultUnknownError when it opened but could not
    // be set up (it is left open: the caller closes it).
    int OpenPort(std::int32_t port, std::int32_t baud);
    // The same on a device named directly (a path, or a socket:// or rfc2217:// name).
    int OpenDevice(const std::string &device, std::int32_t baud);

    // Waits for pending output, then closes. ResultOk, or ResultUnknownError when not open.
    int ClosePort();

    // Writes one byte when the port is open; nothing is reported.
    void WriteByte(std::uint8_t byte);

    // The frame operations. SendOpen and SendNumeric open and close the port themselves;
    // SendBlock and SendClose work on the port SendProgram opened and leave it open.
    // *freeBlocks is set from the reply on success and left alone otherwise.
    int SendOpen(std::int32_t port, std::int32_t baud, int *freeBlocks);
    int SendBlock(const std::uint8_t *data, std::uint16_t block, std::uint8_t selector);
    int SendClose(std::uint16_t blocks, std::uint8_t closeSelector);
    // message: the five characters of the numeric message (comm/NumericMessage.h).
    int SendNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud);
    int SendNumeric(const std::uint8_t *message, const std::string &device, std::int32_t baud);

    // Sends the display program text: the bytes up to the first zero byte (or all of text), in
    // 64-byte blocks, with the Open and Close frames around them, writing the transfer log when
    // it is enabled. The editor passes 1 for both selectors.
    int SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                    std::int32_t port, std::int32_t baud);
    // The same on a device named directly.
    int SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                    const std::string &device, std::int32_t baud);

    // Why the last operation ended in ResultHardwareFailure, one line for the operator: why the
    // device could not be opened, or that it went away during the transfer (during which frame,
    // and what the panel may hold). Empty after success or when the reason is not known.
    const TMessage &PortProblem() const { return PortProblemText; }

    // Empty when the log of the last SendProgram was written in full (or logging is off); else
    // the log's path and why it could not be written. The transfer itself does not depend on it.
    const TMessage &LogProblem() const { return Log.Problem(); }

    // Read time-out of one attempt, and attempts (copies) per frame.
    static constexpr int ReadTimeoutMs = 100;
    static constexpr int Attempts = 3;
    // After the read time-out an attempt listens this much longer, so that a reply that comes
    // late is still heard for its frame. Listening beyond the read time-out goes in slices; while
    // owed replies are let go by, a stop request is looked at between them.
    static constexpr int GuardMs = 150;
    static constexpr int GuardSliceMs = 50;
    // One copy's listening window, and the latest a reply is taken after a frame's first copy.
    static constexpr int WindowMs = ReadTimeoutMs + GuardMs;
    static constexpr int LatestReplyMs = Attempts * WindowMs;

    // The slowest reply taken in the current transfer, in ms after the copy it is matched to
    // (an upper bound: a copy that got no reply makes the next reply look later than it was).
    int SlowestReplyMs() const { return Slowest; }

private:
    // Sends the frame in Send (up to Attempts copies) and takes the first decisive reply;
    // before returning with one, lets the replies owed to the other copies go by.
    int ExchangeFrame(std::size_t length);
    // Opens the port, exchanges the frame already in Send and closes the port again.
    int ExchangeOnOwnPort(std::size_t length, const std::string &device, std::int32_t baud);
    int SendOpenTo(const std::string &device, std::int32_t baud, int *freeBlocks);
    // Closes the port without flushing, as every failure path does.
    void DropPort();
    // Reads and drops the replies owed to copies of the frame beyond the one taken, until each has
    // come or the last copy (sent at lastCopyMs, on the port's clock) is older than the reply
    // expiry. begun: bytes of an owed reply already read.
    void LetOwedRepliesGoBy(int owed, std::int64_t lastCopyMs, std::size_t begun);
    // A new transfer: the lateness seen in an earlier one does not count.
    void BeginTransfer();
    // The port failed during an exchange: the device went away or stopped working.
    int LineLost();
    // The operator's line for a line lost while doing what (e.g. "during block 3 of 10").
    void SayLineLost(const char *format, std::vector<TMessage> args = {});
    bool StopRequested() const { return Stop && Stop->Requested(); }
    // The last log line of a transfer that was stopped.
    std::string_view StopLine() const;

    std::unique_ptr<TSerialPort> Port;
    TPortDevices Devices;
    TTransferLogWriter Log;
    TSystemClock SystemClock;
    TClock *Clock;
    TBuffer Send{};
    TBuffer Receive{};
    TMessage PortProblemText;
    std::string OpenedDevice; // the device of the last OpenDevice
    int Slowest = 0;
    bool Lost = false;         // the last exchange ended because the port failed
    bool FrameWritten = false; // the last exchange wrote at least one copy
};

} // namespace zor
