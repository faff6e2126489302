// TSerial: the link to the display panel over one serial port, with the frame exchange, the
// program transfer and the optional transfer log.
//
// A TSerial lives for one command (a program transfer or a numeric message). Every operation
// runs synchronously on the calling thread and returns a result code of comm/Results.h; the
// longest wait is three attempts of 250 ms per frame (the 100 ms read time-out and the guard time
// in which a late reply is still taken as the answer to its attempt), plus the time to let the
// panel's answers to a repeated frame go by. Each operation that opens the port also closes it
// on every path. Use one TSerial from one thread at a time; with the Qt port it
// must be the thread that created the port object's QSerialPort (the one that opens it).
#pragma once

#include "base/Clock.h"
#include "comm/SerialPort.h"
#include "comm/Settings.h"
#include "comm/TransferStop.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zor {

class TAtomicFileWriter;

struct TTransferLog
{
    bool LogToFile = false;
    std::string LogPath; // replaced at every program transfer
};

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
    // opened; ResultUnknownError when it opened but could not be set up (it is left open: the
    // caller closes it).
    int OpenPort(std::int32_t port, std::int32_t baud);

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

    // Sends the display program text: the bytes up to the first zero byte (or all of text), in
    // 64-byte blocks, with the Open and Close frames around them, writing the transfer log when
    // it is enabled. The editor passes 1 for both selectors.
    int SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                    std::int32_t port, std::int32_t baud);

    // Why the last OpenPort could not open the device, one line for the operator; empty when it
    // opened or the reason is not known.
    const std::string &PortProblem() const { return PortProblemText; }

    // Empty when the log of the last SendProgram was written in full (or logging is off); else
    // the log's path and why it could not be written. The transfer itself does not depend on it.
    const std::string &LogProblem() const { return LogProblemText; }

    const TBuffer &SendBuffer() const { return Send; }
    const TBuffer &ReceiveBuffer() const { return Receive; }

    // Read time-out of one attempt, and attempts per frame.
    static constexpr int ReadTimeoutMs = 100;
    static constexpr int Attempts = 3;
    // After the read time-out an attempt listens this much longer, in slices, so that a reply
    // that comes late is credited to the attempt it answers and not to the next frame.
    static constexpr int GuardMs = 150;
    static constexpr int GuardSliceMs = 50;

private:
    int ExchangeFrame(std::size_t length);
    // Opens the port, exchanges the frame already in SendBuffer and closes the port again.
    int ExchangeOnOwnPort(std::size_t length, std::int32_t port, std::int32_t baud);
    // Closes the port without flushing, as every failure path does.
    void DropPort();
    // Reads and drops the replies still owed to the earlier attempts of a repeated frame.
    void DiscardOwedReplies(int owed);
    bool StopRequested() const { return Stop && Stop->Requested(); }
    // The last log line of a transfer that was stopped.
    std::string_view StopLine() const;
    void LogFailed();

    void LogText(std::string_view text);
    void LogLine(std::string_view text);
    void LogDump(const TBuffer &buffer, std::size_t count);

    std::unique_ptr<TSerialPort> Port;
    TPortDevices Devices;
    TTransferLog Log;
    TSystemClock SystemClock;
    TClock *Clock;
    TBuffer Send{};
    TBuffer Receive{};
    std::unique_ptr<TAtomicFileWriter> LogFile;
    std::string LogPending; // log text not yet handed to LogFile
    std::string PortProblemText;
    std::string LogProblemText;
};

} // namespace zor
