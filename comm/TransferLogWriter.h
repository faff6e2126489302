// TTransferLogWriter: the transfer log of one program transfer, the frames as they went and came.
//
// The log replaces the file at its path at every program transfer and is written a line at a time
// as the transfer goes (base/AtomicFile.h, TFileReplace::AsWritten), so that it shows how far a
// transfer came even when the program was killed in the middle of it; links are followed, devices
// written into, a FIFO nobody reads is refused rather than waited for. A log that cannot be
// created or written ends at its first failure and says why once (Problem()); the transfer does
// not depend on it. Lines end in CR LF. Plain C++; use it from one thread.
#pragma once

#include "base/Message.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace zor {

class TAtomicFileWriter;

// Whether and where the transfer log is written.
struct TTransferLog
{
    bool LogToFile = false;
    std::string LogPath; // replaced at every program transfer
};

class TTransferLogWriter
{
public:
    explicit TTransferLogWriter(TTransferLog log = {});
    ~TTransferLogWriter();
    TTransferLogWriter(const TTransferLogWriter &) = delete;
    TTransferLogWriter &operator=(const TTransferLogWriter &) = delete;

    // Starts a new log, replacing the file, when logging is on; forgets an earlier problem.
    void Begin();
    // True between Begin() and End() while the log is being written.
    bool Writing() const { return File != nullptr; }

    // Text on the current line; it reaches the file with the line's end or at End().
    void Text(std::string_view text);
    // Ends the current line with text.
    void Line(std::string_view text);
    // The bytes as upper-case hex pairs, each followed by a comma, on the current line.
    void Dump(const std::uint8_t *bytes, std::size_t count);
    // Writes what is left of the current line and puts the log in place.
    void End();

    // Empty when the log was written in full (or logging is off); else the log's path and why it
    // could not be written.
    const TMessage &Problem() const { return ProblemText; }

private:
    void Failed();

    TTransferLog Settings;
    std::unique_ptr<TAtomicFileWriter> File;
    std::string Pending; // the current line, not yet handed to File
    TMessage ProblemText;
};

} // namespace zor
