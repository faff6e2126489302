#include "comm/Serial.h"

#include "comm/Frames.h"
#include "comm/Results.h"

#include <cstring>

namespace zor {

TSerial::TSerial(std::unique_ptr<TSerialPort> port, TPortDevices devices, TTransferLog log,
                 TClock clock)
    : Port(std::move(port)), Devices(std::move(devices)), Log(std::move(log)),
      Clock(std::move(clock))
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
}

TSerial::~TSerial()
{
    if (LogFile)
        std::fclose(LogFile);
}

int TSerial::OpenPort(std::int32_t port, std::int32_t baud)
{
    if (!Port->Open(Devices.ForPort(port)))
        return ResultHardwareFailure;
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

std::uint16_t TSerial::ComputeCrc(const std::uint8_t *data, std::size_t count)
{
    return zor::ComputeCrc(data, count);
}

int TSerial::ExchangeFrame(std::size_t length)
{
    for (int attempt = 0; attempt < Attempts; ++attempt) {
        // Stale input is discarded before the frame goes out rather than after: a panel that
        // answers at once would otherwise see its reply purged along with it.
        if (!Port->PurgeReceive())
            return ResultHardwareFailure;
        for (std::size_t i = 0; i < length; ++i)
            WriteByte(Send[i]);
        std::size_t received = 0;
        // ReceiveBuffer is deliberately not cleared between attempts: bytes of a partial reply
        // stay and take part in the next check.
        if (!Port->Read(Receive.data(), ReplyLength, &received))
            return ResultHardwareFailure;
        const TReply reply = CheckReply(Receive.data(), received);
        if (reply.Valid && reply.Status == StatusAccepted)
            return ResultOk;
        if (reply.Valid && reply.Status == StatusRefused)
            return ResultProgramDisabled;
    }
    return ResultTimeout;
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
    const int result = ExchangeOnOwnPort(BuildOpenFrame(Send.data(), Clock()), port, baud);
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

void TSerial::LogText(std::string_view text)
{
    if (LogFile)
        std::fwrite(text.data(), 1, text.size(), LogFile);
}

void TSerial::LogLine(std::string_view text)
{
    LogText(text);
    LogText("\r\n");
}

void TSerial::LogDump(const TBuffer &buffer, std::size_t count)
{
    if (!LogFile)
        return;
    for (std::size_t i = 0; i < count; ++i)
        std::fprintf(LogFile, "%02X,", buffer[i]);
}

int TSerial::SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                         std::int32_t port, std::int32_t baud)
{
    text = text.substr(0, text.find('\0'));

    int freeBlocks = 0;
    int result = SendOpen(port, baud, &freeBlocks);

    // A log that cannot be created is skipped: the transfer does not depend on it.
    if (Log.LogToFile)
        LogFile = std::fopen(Log.LogPath.c_str(), "wb");
    const auto closeLog = [this] {
        if (LogFile)
            std::fclose(LogFile);
        LogFile = nullptr;
    };
    const auto fail = [&](std::string_view line, int code) {
        LogLine(line);
        closeLog();
        return code;
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
