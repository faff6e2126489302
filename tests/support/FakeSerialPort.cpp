#include "tests/support/FakeSerialPort.h"

namespace zor {

bool TFakeSerialPort::Open(const std::string &device)
{
    Events.push_back("open " + device);
    if (Opened || FailOpen || (!Devices.empty() && !Devices.contains(device)))
        return false;
    Opened = true;
    Device = device;
    Pending.clear();
    return true;
}

bool TFakeSerialPort::SetLine(std::int32_t baud)
{
    Events.push_back("line " + std::to_string(baud));
    if (!Opened || FailSetLine)
        return false;
    Baud = baud;
    return true;
}

bool TFakeSerialPort::SetTimeouts(const TPortTimeouts &t)
{
    Events.push_back("timeouts " + std::to_string(t.ReadInterval) + "," +
                     std::to_string(t.ReadPerByte) + "," + std::to_string(t.ReadConstant) + "," +
                     std::to_string(t.WritePerByte) + "," + std::to_string(t.WriteConstant));
    if (!Opened || FailSetTimeouts)
        return false;
    Timeouts = t;
    return true;
}

void TFakeSerialPort::Write(std::uint8_t byte)
{
    if (!Opened) {
        Events.push_back("write-closed");
        return;
    }
    Pending.push_back(byte);
}

bool TFakeSerialPort::PurgeReceive()
{
    Events.push_back("purge");
    if (!Opened || FailPurge)
        return false;
    Input.clear();
    return true;
}

void TFakeSerialPort::DeliverPendingFrame()
{
    if (Pending.empty())
        return;
    Frames.push_back(Pending);
    const int delay = ReplyDelay ? ReplyDelay(Pending) : 0;
    TBytes answer;
    if (!Replies.empty()) {
        answer = std::move(Replies.front());
        Replies.pop_front();
    } else if (Responder) {
        answer = Responder(Pending);
    }
    Pending.clear();
    Late.push_back({delay, std::move(answer)});
}

bool TFakeSerialPort::Take(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    *received = 0;
    DeliverPendingFrame();
    // Every read is a time-out's worth of time: late answers come one read nearer.
    while (!Late.empty() && Late.front().Reads <= 0) {
        Input.insert(Input.end(), Late.front().Answer.begin(), Late.front().Answer.end());
        Late.pop_front();
    }
    for (auto &late : Late)
        --late.Reads;
    if (!Opened || FailRead)
        return false;
    while (*received < count && !Input.empty()) {
        buffer[(*received)++] = Input.front();
        Input.pop_front();
    }
    return true;
}

bool TFakeSerialPort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    const bool ok = Take(buffer, count, received);
    Events.push_back(ok ? "read " + std::to_string(*received) : std::string("read failed"));
    return ok;
}

bool TFakeSerialPort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                                 int timeoutMs)
{
    const bool ok = Take(buffer, count, received);
    Events.push_back(ok ? "wait " + std::to_string(timeoutMs) + " " + std::to_string(*received)
                        : std::string("read failed"));
    return ok;
}

bool TFakeSerialPort::Flush()
{
    Events.push_back("flush");
    return Opened;
}

bool TFakeSerialPort::Close()
{
    DeliverPendingFrame();
    Events.push_back("close");
    const bool was = Opened;
    Opened = false;
    return was;
}

std::size_t TFakeSerialPort::Count(const std::string &name) const
{
    std::size_t n = 0;
    for (const auto &e : Events)
        if (e == name || e.starts_with(name + " "))
            ++n;
    return n;
}

} // namespace zor
