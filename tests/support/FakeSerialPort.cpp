#include "tests/support/FakeSerialPort.h"

#include <algorithm>

namespace zor {

bool TFakeSerialPort::Open(const std::string &device)
{
    Events.push_back("open " + device);
    if (Opened || FailOpen || (!Devices.empty() && !Devices.contains(device)))
        return false;
    Opened = true;
    Device = device;
    Pending.clear();
    Lost.clear();
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
    if (FailWrite) {
        Lost = "The port " + Device + " went away";
        return;
    }
    Pending.push_back(byte);
    // Ten bits on the line: start, eight data bits, stop.
    if (Baud > 0)
        ClockUs += 10'000'000 / Baud;
}

bool TFakeSerialPort::PurgeReceive()
{
    Events.push_back("purge");
    if (!Opened || FailPurge)
        return false;
    Arrive();
    Input.clear();
    return true;
}

void TFakeSerialPort::DeliverPendingFrame()
{
    if (Pending.empty())
        return;
    Frames.push_back(Pending);
    TBytes answer;
    if (!Replies.empty()) {
        answer = std::move(Replies.front());
        Replies.pop_front();
    } else if (Responder) {
        answer = Responder(Pending);
    }
    const int late = ReplyLateMs ? ReplyLateMs(Pending) : 0;
    Pending.clear();
    if (answer.empty())
        return;
    // One line: an answer never overtakes an earlier one.
    std::int64_t due = ClockUs + std::int64_t{late} * 1000;
    if (!Late.empty())
        due = std::max(due, Late.back().DueUs);
    Late.push_back({due, std::move(answer)});
}

void TFakeSerialPort::Arrive()
{
    while (!Late.empty() && Late.front().DueUs <= ClockUs) {
        Input.insert(Input.end(), Late.front().Answer.begin(), Late.front().Answer.end());
        Late.pop_front();
    }
}

bool TFakeSerialPort::Take(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                           int timeoutMs)
{
    *received = 0;
    DeliverPendingFrame();
    if (!Opened || FailRead)
        return false;
    const std::int64_t deadline = ClockUs + std::int64_t{timeoutMs} * 1000;
    for (;;) {
        Arrive();
        while (*received < count && !Input.empty()) {
            buffer[(*received)++] = Input.front();
            Input.pop_front();
        }
        if (*received == count)
            return true;
        if (Late.empty() || Late.front().DueUs > deadline) {
            ClockUs = deadline;
            Arrive();
            return true;
        }
        ClockUs = Late.front().DueUs;
    }
}

bool TFakeSerialPort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    const int timeout = Timeouts.ReadConstant + Timeouts.ReadPerByte * static_cast<int>(count);
    const bool ok = Take(buffer, count, received, timeout);
    Events.push_back(ok ? "read " + std::to_string(*received) : std::string("read failed"));
    return ok;
}

bool TFakeSerialPort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                                 int timeoutMs)
{
    const bool ok = Take(buffer, count, received, timeoutMs);
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
