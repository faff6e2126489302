// A scripted serial port for tests: it records every operation and every written frame, and
// answers each frame through a responder (the panel) or from a queue of canned replies. Time is
// simulated: nothing waits, but the port's clock (NowMs) moves on as the real port's would: by a
// character's time at the baud rate for each byte written, and for a read to the moment its
// bytes arrive or its time-out passes. A frame is taken by the panel at the first read
// after it was written, and its answer arrives ReplyLateMs later, never before an earlier answer.
#pragma once

#include "comm/SerialPort.h"

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <vector>

namespace zor {

class TFakeSerialPort : public TSerialPort
{
public:
    using TBytes = std::vector<std::uint8_t>;

    // Devices that can be opened; empty means every device exists.
    std::set<std::string> Devices;
    bool FailOpen = false;
    bool FailSetLine = false;
    bool FailSetTimeouts = false;
    bool FailPurge = false;
    bool FailRead = false;
    // Writes fail as a pulled adapter's do: the byte is dropped and LostProblem says so; reads
    // go on, delivering nothing.
    bool FailWrite = false;

    // Called with each frame (the bytes written since the previous read) when the first read
    // after it happens; what it returns arrives as input. Used when Replies is empty.
    std::function<TBytes(const TBytes &frame)> Responder;

    // How many milliseconds after the frame each answer arrives (0: at once), standing for a
    // panel that answers late. Called after the answer has been made. Null means always 0.
    std::function<int(const TBytes &frame)> ReplyLateMs;

    // What OpenProblem tells after a failed open.
    std::string Problem;

    // Canned answers, one per frame, taken before Responder is asked.
    std::deque<TBytes> Replies;

    // Bytes already waiting in the receive queue (stale input, for purge tests).
    std::deque<std::uint8_t> Input;

    // What happened: "open DEVICE", "line BAUD", "timeouts a,b,c,d,e", "purge", "read N" (bytes
    // delivered), "wait MS N" (a read within MS delivering N), "flush", "close", "write-closed"
    // (a byte written while closed).
    std::vector<std::string> Events;
    std::vector<TBytes> Frames; // every frame written, in order
    std::string Device;         // the device of the last open
    std::int32_t Baud = 0;
    TPortTimeouts Timeouts;

    bool Open(const std::string &device) override;
    TMessage OpenProblem() const override { return Problem; }
    TMessage LostProblem() const override { return Lost; }
    bool IsOpen() const override { return Opened; }
    bool SetLine(std::int32_t baud) override;
    bool SetTimeouts(const TPortTimeouts &timeouts) override;
    void Write(std::uint8_t byte) override;
    bool PurgeReceive() override;
    bool Read(std::uint8_t *buffer, std::size_t count, std::size_t *received) override;
    bool ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                    int timeoutMs) override;
    bool Flush() override;
    bool Close() override;
    std::int64_t NowMs() const override { return ClockUs / 1000; }

    // Number of events equal to name (or starting with name followed by a blank).
    std::size_t Count(const std::string &name) const;

private:
    void DeliverPendingFrame();
    bool Take(std::uint8_t *buffer, std::size_t count, std::size_t *received, int timeoutMs);
    void Arrive();

    struct TLate
    {
        std::int64_t DueUs; // when it arrives, on ClockUs
        TBytes Answer;
    };
    std::deque<TLate> Late;
    std::int64_t ClockUs = 0;

    bool Opened = false;
    TBytes Pending;   // written since the last read
    std::string Lost; // set by a failed write, until the next open
};

} // namespace zor
