#include "comm/Serial.h"

#include "base/TranslateNoop.h"
#include "comm/Frames.h"
#include "comm/Results.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
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

TSerial::TSerial(std::unique_ptr<TSerialPort> port, TTransferLog log, TClock *clock)
    : TSerial(std::move(port), TPortDevices{}, std::move(log), clock)
{
}

TSerial::~TSerial() = default;

int TSerial::OpenPort(std::int32_t port, std::int32_t baud)
{
    return OpenDevice(Devices.ForPort(port), baud);
}

int TSerial::OpenDevice(const std::string &device, std::int32_t baud)
{
    PortProblemText = {};
    OpenedDevice = device;
    Port->WatchStop(Stop);
    if (!Port->Open(OpenedDevice)) {
        if (StopRequested())
            return ResultCancelled;
        PortProblemText = Port->OpenProblem();
        return ResultHardwareFailure;
    }
    if (!Port->SetLine(baud)) {
        if (StopRequested())
            return ResultCancelled;
        // A port that says why (a server that refused the line settings) has failed as hardware;
        // a local port that took no such rate has not.
        PortProblemText = Port->OpenProblem();
        return PortProblemText.empty() ? ResultUnknownError : ResultHardwareFailure;
    }
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

int TSerial::LineLost()
{
    Lost = true;
    return ResultHardwareFailure;
}

void TSerial::SayLineLost(const char *format, std::vector<TMessage> args)
{
    if (!Lost || !PortProblemText.empty())
        return;
    TMessage what = Port->LostProblem();
    if (what.empty())
        what = TMessage::Tr("Serial", ZOR_TRANSLATE_NOOP("Serial", "The device %1 went away"),
                            {OpenedDevice});
    args.insert(args.begin(), std::move(what));
    PortProblemText = TMessage::Tr("Serial", format, std::move(args));
}

void TSerial::BeginTransfer()
{
    Slowest = 0;
}

int TSerial::ExchangeFrame(std::size_t length)
{
    Lost = false;
    FrameWritten = false;
    // Every reply owed to an earlier frame has come or can no longer come, so what waits now is
    // noise. It is dropped before the frame goes out rather than after: a panel that answers at
    // once would otherwise see its reply purged along with it. Later copies purge nothing: all
    // that comes then answers this frame.
    if (!Port->PurgeReceive())
        return LineLost();
    std::int64_t sentAt[Attempts] = {};
    int copies = 0;
    int replies = 0;      // whole replies heard for this frame
    std::size_t have = 0; // bytes of the reply being heard, at the start of ReceiveBuffer
    while (copies < Attempts) {
        if (StopRequested())
            return ResultCancelled;
        for (std::size_t i = 0; i < length; ++i)
            WriteByte(Send[i]);
        FrameWritten = true;
        // A port whose line failed under the write (an adapter pulled) may go on reading
        // nothing, which would pass for a panel that never answered.
        if (!Port->LostProblem().empty())
            return LineLost();
        sentAt[copies++] = Port->NowMs();
        const std::int64_t windowEnd = sentAt[copies - 1] + WindowMs;

        // A reply begun in an earlier window is completed, not read over: bytes of a reply that
        // straddles two windows stay together.
        std::size_t more = 0;
        if (!Port->Read(Receive.data() + have, ReplyLength - have, &more))
            return LineLost();
        have += more;
        // A reply that misses the time-out is still heard within the window. Left unread, it
        // would be read as the answer to a later copy or frame.
        while (have < ReplyLength) {
            const std::int64_t left = windowEnd - Port->NowMs();
            if (left <= 0)
                break;
            if (!Port->ReadWithin(Receive.data() + have, ReplyLength - have, &more,
                                  static_cast<int>(std::min<std::int64_t>(left, GuardSliceMs))))
                return LineLost();
            have += more;
        }
        // Only a whole reply is judged: a lone byte (a zero byte over the cleared buffer has a
        // right CRC) is no answer.
        if (have < ReplyLength)
            continue;
        have = 0;
        ++replies;
        const TReply reply = CheckReply(Receive.data(), ReplyLength);
        if (!reply.Valid || (reply.Status != StatusAccepted && reply.Status != StatusRefused))
            continue;
        // Matched in order, this reply answers copy number `replies`; it may answer a later one
        // (when an earlier copy went unanswered), so the lateness is an upper bound.
        const std::int64_t lateness = Port->NowMs() - sentAt[replies - 1];
        Slowest = std::max(Slowest, static_cast<int>(std::min<std::int64_t>(lateness, INT_MAX)));
        LetOwedRepliesGoBy(copies - replies, sentAt[copies - 1], 0);
        return reply.Status == StatusAccepted ? ResultOk : ResultProgramDisabled;
    }
    // The transfer ends here, but the replies still owed would otherwise meet the first frame of
    // the operator's next try.
    LetOwedRepliesGoBy(copies - replies, sentAt[copies - 1], have);
    // A stop asked for while the last copy went unanswered is what ended the transfer: the
    // operator is told so, not that the panel was silent.
    return StopRequested() ? ResultCancelled : ResultTimeout;
}

void TSerial::LetOwedRepliesGoBy(int owed, std::int64_t lastCopyMs, std::size_t begun)
{
    if (owed <= 0)
        return;
    const int expiry = std::max(LatestReplyMs, Slowest + WindowMs);
    const std::int64_t deadline = lastCopyMs + expiry;
    std::uint8_t scrap[ReplyLength];
    std::size_t have = begun;
    while (owed > 0 && !StopRequested()) {
        const std::int64_t left = deadline - Port->NowMs();
        if (left <= 0)
            return;
        std::size_t more = 0;
        if (!Port->ReadWithin(scrap + have, ReplyLength - have, &more,
                              static_cast<int>(std::min<std::int64_t>(left, GuardSliceMs))))
            return; // the next frame finds the port failed
        have += more;
        if (have == ReplyLength) {
            have = 0;
            --owed;
        }
    }
}

int TSerial::ExchangeOnOwnPort(std::size_t length, const std::string &device, std::int32_t baud)
{
    Lost = false;
    FrameWritten = false;
    int result = OpenDevice(device, baud);
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
    return SendOpenTo(Devices.ForPort(port), baud, freeBlocks);
}

int TSerial::SendOpenTo(const std::string &device, std::int32_t baud, int *freeBlocks)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    const int result = ExchangeOnOwnPort(BuildOpenFrame(Send.data(), Clock->Now()), device, baud);
    if (result == ResultOk)
        *freeBlocks = GetWord(Receive.data() + 2);
    SayLineLost(ZOR_TRANSLATE_NOOP("Serial", "%1 during the Open frame, before any block was "
                                             "sent. Send again once it is back."));
    return result;
}

int TSerial::SendNumeric(const std::uint8_t *message, std::int32_t port, std::int32_t baud)
{
    return SendNumeric(message, Devices.ForPort(port), baud);
}

int TSerial::SendNumeric(const std::uint8_t *message, const std::string &device, std::int32_t baud)
{
    ClearBuffer(Send);
    ClearBuffer(Receive);
    BeginTransfer();
    const int result = ExchangeOnOwnPort(BuildNumericFrame(Send.data(), message), device, baud);
    SayLineLost(
        ZOR_TRANSLATE_NOOP("Serial", "%1 during the numeric message. Send again once it is back."));
    return result;
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

std::string_view TSerial::StopLine() const
{
    return Stop && Stop->Reason() == TStopReason::Interrupted ? "Transfer interrupted"
                                                              : "Transfer cancelled";
}

int TSerial::SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                         std::int32_t port, std::int32_t baud)
{
    return SendProgram(text, selector, closeSelector, Devices.ForPort(port), baud);
}

int TSerial::SendProgram(std::string_view text, std::uint8_t selector, std::uint8_t closeSelector,
                         const std::string &device, std::int32_t baud)
{
    text = text.substr(0, text.find('\0'));

    BeginTransfer();
    int freeBlocks = 0;
    int result = SendOpenTo(device, baud, &freeBlocks);

    // The log begins after the Open frame, which it then shows; the transfer does not depend on it.
    Log.Begin();
    const auto fail = [&](std::string_view line, int code) {
        Log.Line(code == ResultCancelled ? StopLine() : line);
        Log.End();
        return code;
    };
    // The frame in flight is finished; the next one is not begun.
    const auto stopped = [&] {
        if (!StopRequested())
            return false;
        DropPort();
        return true;
    };

    // A frame that never went out (the port did not open) is not shown as sent.
    if (FrameWritten) {
        Log.Line("Open Send");
        Log.Dump(Send.data(), ControlFrameLength);
        Log.Line("");
        Log.Line("Open Receive");
        Log.Dump(Receive.data(), ReplyLength);
        Log.Line("");
    }
    if (result != ResultOk)
        return fail("Open error!!!!", result);

    const std::size_t blocks = BlockCount(text.size());
    if (blocks > static_cast<std::size_t>(freeBlocks))
        return fail("Ram free error!!!!", ResultNoMemory);
    if (stopped())
        return fail({}, ResultCancelled);

    result = OpenDevice(device, baud);
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
        Log.Line(caption);
        Log.Dump(Send.data(), BlockFrameLength);
        Log.Line("");
        std::snprintf(caption, sizeof caption, "Receive Block number%d", k);
        Log.Line(caption);
        Log.Dump(Receive.data(), ReplyLength);
        Log.Line("");
        if (result != ResultOk) {
            DropPort();
            SayLineLost(ZOR_TRANSLATE_NOOP("Serial",
                                           "%1 during block %2 of %3: the panel may now hold part "
                                           "of the program. Send again once it is back."),
                        {std::to_string(k), std::to_string(n)});
            return fail("Write error!!!!", result);
        }
        if (OnProgressPosition)
            OnProgressPosition(n == 1 ? 1 : k - 1);
    }

    if (stopped())
        return fail({}, ResultCancelled);
    result = SendClose(static_cast<std::uint16_t>(n), closeSelector);
    Log.Line("Close Send");
    Log.Dump(Send.data(), ControlFrameLength);
    Log.Line("");
    Log.Line("Close Receive");
    Log.Dump(Receive.data(), ReplyLength);
    if (result != ResultOk) {
        DropPort();
        SayLineLost(ZOR_TRANSLATE_NOOP("Serial",
                                       "%1 during the Close frame, after all %2 blocks: the panel "
                                       "may now hold part of the program. Send again once it is "
                                       "back."),
                    {std::to_string(n)});
        return fail("Close error!!!!", result);
    }

    Log.End();
    ClosePort();
    return ResultOk;
}

} // namespace zor
