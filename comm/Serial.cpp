#include "comm/Serial.h"

#include "base/AtomicFile.h"
#include "comm/Frames.h"
#include "comm/Results.h"

#include <cerrno>
#include <cstring>

namespace zor {

TSerial::TSerial(std::unique_ptr<TSerialPort> port, TPortDevices devices, TTransferLog log,
                 TClock *clock)
    : Port(std::move(port)), Devices(std::move(devices)), Log(std::move(log)),
      Clock(clock ? clock : &SystemClock)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
}

// Out of line: the log writer is only declared in the header.
TSerial::~TSerial() = default;

int TSerial::OpenPort(std::int32_t port, std::int32_t baud)
{
    PortProblemText.clear();
    if (!Port->Open(Devices.ForPort(port))) {
        PortProblemText = Port->OpenProblem();
        return ResultHardwareFailure;
    }
    if (!Port->SetLine(baud))
        return ResultUnknownError;
    TPortTimeouts timeouts;
    timeouts.ReadConstant = ReadTimeoutMs;
    timeouts.WriteConstant = 100;
    if (!Port->SetTimeouts(timeouts))
        return ResultUnknownError;
    return ResultOk;
}

int TSerial::ClosePort()
{
    if (!Port->IsOpen())
        return ResultUnknownError;
    Port->Flush();
    return Port->Close() ? ResultOk : ResultUnknownError;
}

void TSerial::DropPort()
{
    if (Port->IsOpen())
        Port->Close();
}

void TSerial::WriteByte(std::uint8_t byte)
{
    if (Port->IsOpen())
        Port->Write(byte);
}

int TSerial::ExchangeFrame(std::size_t length)
{
    int result = ResultTimeout;
    int written = 0, answered = 0; // attempts sent, and whole replies seen, for this frame
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        if (StopRequested())
            return ResultCancelled;
        // Stale input is discarded before the frame goes out rather than after: a panel that
        // answers at once would otherwise see its reply purged along with it.
        if (!Port->PurgeReceive())
            return ResultHardwareFailure;
        for (std::size_t i = 0; i < length; ++i)
            WriteByte(Send[i]);
        ++written;
        std::size_t received = 0;
        // ReceiveBuffer is deliberately not cleared between attempts: bytes of a partial reply
        // stay and take part in the next check.
        if (!Port->Read(Receive.data(), ReplyLength, &received))
            return ResultHardwareFailure;
        // A reply that misses the time-out still answers this attempt. Left unread, it would be
        // read as the answer to the next frame and shift every later reply by one.
        for (int slice = 0; received < ReplyLength && slice < GuardMs / GuardSliceMs; ++slice) {
            std::size_t more = 0;
            if (!Port->ReadWithin(Receive.data() + received, ReplyLength - received, &more,
                                  GuardSliceMs))
                return ResultHardwareFailure;
            received += more;
        }
        if (received == ReplyLength)
            ++answered;
        const TReply reply = CheckReply(Receive.data(), received);
        if (reply.Valid && reply.Status == StatusAccepted) {
            result = ResultOk;
            break;
        }
        if (reply.Valid && reply.Status == StatusRefused) {
            result = ResultProgramDisabled;
            break;
        }
    }
    if (result != ResultTimeout)
        DiscardOwedReplies(written - answered);
    return result;
}

void TSerial::DiscardOwedReplies(int owed)
{
    // Each attempt that went unanswered may yet be answered, later than the one that was taken.
    // Waiting one attempt's length for each lets even a reply later than the guard go by.
    std::uint8_t scrap[ReplyLength];
    std::size_t have = 0;
    const int slices = owed * (ReadTimeoutMs + GuardMs) / GuardSliceMs;
    for (int slice = 0; slice < slices && owed > 0 && !StopRequested(); ++slice) {
        std::size_t more = 0;
        if (!Port->ReadWithin(scrap + have, ReplyLength - have, &more, GuardSliceMs))
            return;
        have += more;
        if (have == ReplyLength) {
            have = 0;
            --owed;
        }
    }
}

int TSerial::ExchangeOnOwnPort(std::size_t length, std::int32_t port, std::int32_t baud)
{
    int result = OpenPort(port, baud);
    if (result != ResultOk) {
        DropPort();
        return result;
    }
    result = ExchangeFrame(length);
    if (result == ResultHardwareFailure)
        DropPort();
    else
        ClosePort();
    return result;
}

int TSerial::SendOpen(std::int32_t port, std::int32_t baud, int *freeBlocks)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    const int result = ExchangeOnOwnPort(BuildOpenFrame(Send.data(), Clock->Now()), port, baud);
    if (result == ResultOk)
        *freeBlocks = GetWord(Receive.data() + 2);
    return result;
}

int TSerial::SendNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    return ExchangeOnOwnPort(BuildNumericFrame(Send.data(), message), port, baud);
}

int TSerial::SendBlock(const std::uint8_t *data, std::uint16_t block, std::uint8_t selector)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    return ExchangeFrame(BuildBlockFrame(Send.data(), data, block, selector));
}

int TSerial::SendClose(std::uint16_t blocks, std::uint8_t closeSelector)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    return ExchangeFrame(BuildCloseFrame(Send.data(), blocks, closeSelector));
}

void TSerial::LogFailed()
{
    // Said once: the first failure ends the log, the transfer goes on without it.
    if (LogProblemText.empty() && LogFile)
        LogProblemText = Log.LogPath + ": " + LogFile->Failure().Why;
    LogFile.reset();
    LogPending.clear();
}

void TSerial::LogText(std::string_view text)
{
    if (LogFile)
        LogPending += text;
}

void TSerial::LogLine(std::string_view text)
{
    LogText(text);
    LogText("\r\n");
    // A line at a time into the file, so that the log shows how far a transfer came even when the
    // program is killed in the middle of it.
    if (LogFile && !LogFile->Write(LogPending))
        return LogFailed();
    LogPending.clear();
}

void TSerial::LogDump(const TBuffer &buffer, std::size_t count)
{
    static const char digits[] = "0123456789ABCDEF";
    for (std::size_t i = 0; i < count && LogFile; ++i) {
        const char hex[3] = {digits[buffer[i] >> 4], digits[buffer[i] & 15], ','};
        LogText({hex, sizeof hex});
    }
}

std::string_view TSerial::StopLine() const
{
    return Stop && Stop->Reason() == TStopReason::Interrupted ? "Transfer interrupted"
                                                              : "Transfer cancelled";
}

int TSerial::SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                         std::int32_t port, std::int32_t baud)
{
    text = text.substr(0, text.find('\0'));

    int freeBlocks = 0;
    int result = SendOpen(port, baud, &freeBlocks);

    // A log that cannot be created or written is skipped and reported once afterwards: the
    // transfer does not depend on it.
    LogProblemText.clear();
    if (Log.LogToFile) {
        LogFile = std::make_unique<TAtomicFileWriter>(Log.LogPath, TFileReplace::AsWritten);
        if (!LogFile->IsOpen())
            LogFailed();
    }
    const auto closeLog = [this] {
        if (!LogFile)
            return;
        if (!LogFile->Write(LogPending) || !LogFile->Commit())
            return LogFailed();
        LogFile.reset();
        LogPending.clear();
    };
    const auto fail = [&](std::string_view line, int code) {
        LogLine(code == ResultCancelled ? StopLine() : line);
        closeLog();
        return code;
    };
    // The frame in flight is finished; the next one is not begun.
    const auto stopped = [&] {
        if (!StopRequested())
            return false;
        DropPort();
        return true;
    };

    LogLine("Open Send");
    LogDump(Send, ControlFrameLength);
    LogLine("");
    LogLine("Open Receive");
    LogDump(Receive, ReplyLength);
    LogLine("");
    if (result != ResultOk)
        return fail("Open error!!!!", result);

    const std::size_t blocks = BlockCount(text.size());
    if (blocks > static_cast<std::size_t>(freeBlocks))
        return fail("Ram free error!!!!", ResultNoMemory);
    if (stopped())
        return fail({}, ResultCancelled);

    result = OpenPort(port, baud);
    if (result != ResultOk) {
        DropPort();
        return fail("Open port error!!!!", result);
    }

    const int n = static_cast<int>(blocks);
    if (OnProgressMaximum)
        OnProgressMaximum(n == 1 ? 1 : n - 1);

    std::uint8_t data[BlockDataLength];
    char caption[48];
    for (int k = 1; k <= n; ++k) {
        if (stopped())
            return fail({}, ResultCancelled);
        BlockData(text, blocks, static_cast<std::size_t>(k), data);
        result = SendBlock(data, static_cast<std::uint16_t>(k), selector);
        std::snprintf(caption, sizeof caption, "Send Block number%d", k);
        LogLine(caption);
        LogDump(Send, BlockFrameLength);
        LogLine("");
        std::snprintf(caption, sizeof caption, "Receive Block number%d", k);
        LogLine(caption);
        LogDump(Receive, ReplyLength);
        LogLine("");
        if (result != ResultOk) {
            DropPort();
            return fail("Write error!!!!", result);
        }
        if (OnProgressPosition)
            OnProgressPosition(n == 1 ? 1 : k - 1);
    }

    if (stopped())
        return fail({}, ResultCancelled);
    result = SendClose(static_cast<std::uint16_t>(n), closeSelector);
    LogLine("Close Send");
    LogDump(Send, ControlFrameLength);
    LogLine("");
    LogLine("Close Receive");
    LogDump(Receive, ReplyLength);
    if (result != ResultOk) {
        DropPort();
        return fail("Close error!!!!", result);
    }

    closeLog();
    ClosePort();
    return ResultOk;
}

} // namespace zor
