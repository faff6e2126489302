// The platform operations the transfer protocol needs from a serial port. One object stands for
// one port handle: it is either closed or open on one device. Every call is synchronous and
// returns within its time-out. An object is used from one thread at a time.
#pragma once

#include "base/Message.h"
#include "comm/TransferStop.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <string>

namespace zor {

// Milliseconds, in the order the protocol sets them. 0 means "not used".
struct TPortTimeouts
{
    int ReadInterval = 0; // between two received bytes
    int ReadPerByte = 0;  // multiplied by the number of bytes requested
    int ReadConstant = 0; // added to the above; the bound of a whole read
    int WritePerByte = 0;
    int WriteConstant = 0;
};

class TSerialPort
{
public:
    virtual ~TSerialPort() = default;

    // Opens an existing device for reading and writing, shared with no other program. False when
    // it does not exist, is in use or cannot be opened; the object then stays closed.
    virtual bool Open(const std::string &device) = 0;

    // After a failed Open (or a failed SetLine of a port that can say why): one line for the
    // operator saying why (the device does not exist, permission denied and what to do, in use by
    // which program, not a serial device, the server refused the connection). Empty when the
    // reason is not known.
    virtual TMessage OpenProblem() const { return {}; }

    // A port whose Open may wait (a connection over the network) gives up waiting once stop is
    // requested. Not owned; null for none.
    virtual void WatchStop(const TTransferStop *stop) { (void)stop; }

    // After a read or write failed: what happened to the line, as the start of a sentence ("The
    // server HOST:PORT closed the connection"); empty when the port cannot tell, and the device is
    // then said to have gone away. A port that can tell keeps it from the failure until the next
    // Open: a failed write is known only this way.
    virtual TMessage LostProblem() const { return {}; }

    virtual bool IsOpen() const = 0;

    // Sets the baud rate (any positive integer, passed through), 8 data bits, no parity and one
    // stop bit; flow control, modem-line control and the special characters stay as the port
    // had them. False when the settings could not be read or written.
    virtual bool SetLine(std::int32_t baud) = 0;

    virtual bool SetTimeouts(const TPortTimeouts &timeouts) = 0;

    // Writes one byte and returns once it has left for the line, or when the write time-out has
    // passed. A byte given up after the time-out is no failure (the missing reply shows it); a
    // port that failed (a USB adapter pulled) says so through LostProblem.
    virtual void Write(std::uint8_t byte) = 0;

    // Discards everything received and not yet read. Pending output is not touched.
    virtual bool PurgeReceive() = 0;

    // Reads up to count bytes: returns when count bytes have arrived or when the read time-out
    // (measured from the call) has passed. *received is set to the number read, which may be 0.
    // False only when the port failed.
    virtual bool Read(std::uint8_t *buffer, std::size_t count, std::size_t *received) = 0;

    // As Read, but waits at most timeoutMs (from the call) instead of the read time-out. Used to
    // listen for a late reply in short slices.
    virtual bool ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                            int timeoutMs) = 0;

    // Milliseconds on a monotonic clock, the one the read time-outs run on. The transfer times
    // its listening windows and the replies' lateness with it.
    virtual std::int64_t NowMs() const
    {
        return std::chrono::duration_cast<std::chrono::milliseconds>(
                   std::chrono::steady_clock::now().time_since_epoch())
            .count();
    }

    // Waits until all written bytes have been sent.
    virtual bool Flush() = 0;

    // Closes the port without waiting for pending output, putting back the line settings it had
    // before Open. False when it was not open.
    virtual bool Close() = 0;
};

} // namespace zor
