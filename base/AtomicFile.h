// Replacing a file without ever leaving it half written, and without replacing what is not a file.
//
// Every writer of the programs goes through here, so that one rule holds for all of them:
// - A symbolic link is followed (chains too, relative targets from the link's own folder) and its
//   final target replaced; the link itself stays as it was. A link whose target does not exist
//   creates that target, as writing through the link would.
// - A regular file (or a name that does not exist yet) is replaced atomically: the new contents go
//   to a temporary file beside it, are flushed to disk and renamed over it. Only a log, which
//   must show how far its writer came, is written into the file as it goes (AsWritten below).
// - A device or a FIFO is written straight into and never renamed over: /dev/null takes the data,
//   /dev/full says "No space left on device". A FIFO no program reads from is refused at once
//   rather than waited for. A name for one of this process's own descriptors (/dev/stdout,
//   /dev/fd/N, /proc/self/fd/N) writes into that descriptor, as if the data went to it directly,
//   so `-o /dev/stdout` into a pipe or a redirected file works.
// - A socket (which cannot be opened as a file) and a folder are refused, and left as they are.
// On Windows the same rules hold as far as Windows has the things they name: links are followed
// to the file they end at; a device (NUL, CON, a COM port) or a pipe is written into; a file with
// the read-only attribute is refused; the temporary file is put in place with one replacing
// rename, written through to the disk.
#pragma once

#include "base/Message.h"

#include <string>
#include <string_view>

namespace zor {

// Writes data to path by the rule above. On failure a replaced file is untouched, the temporary
// file is removed and the result is false with a readable reason in *error (when error is not
// null): what failed and why ("No space left on device", "Permission denied"). An existing target
// keeps its permission bits (and its owner and group, as far as the caller may give them); one
// the caller may not write is refused, not replaced.
bool WriteFileAtomically(const std::string &path, std::string_view data,
                         std::string *error = nullptr);

struct TWriteFailure
{
    // False when nothing was begun: the target may not be replaced or written, or no temporary
    // file could be made beside it.
    bool Created = false;
    int Errno = 0;
    // What failed and why, as the other overload reports it.
    std::string Message;
    // Why alone, for callers with their own words for what failed: mostly the system's words for
    // Errno, but this module's own where those would mislead ("no program is reading from this
    // FIFO" rather than "No such device or address").
    std::string Why;
    // The same two as messages (base/Message.h), for an interface in another language.
    TMessage Said;
    TMessage Because;
};

// The same, telling the caller where it failed and the errno, for callers with their own words.
bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure);

// How a regular file at the target is written.
enum class TFileReplace {
    // Replaced when complete, never seen half written: documents, settings, programs, GIFs.
    Whole,
    // Cut at the start and written piece by piece as the writer goes, so that what is written so
    // far can be read, also after the program was killed: a log that must show how far a
    // transfer came. Links, devices and FIFOs are treated as by Whole.
    AsWritten,
};

// A file written piece by piece (an existing target the caller may not write is refused) and put in
// place only when complete (unless made TFileReplace::AsWritten): the pieces go to a temporary file
// in the target's folder, Commit() flushes it to disk and renames it over the target. Destroying
// the writer without a successful Commit() removes the temporary file, so the target is either the
// whole new file or left as it was. A device or FIFO (WritesInPlace()) takes each piece as it is
// written; there is nothing to put in place at Commit() and nothing to take back. Error texts as
// WriteFileAtomically's.
class TAtomicFileWriter
{
public:
    explicit TAtomicFileWriter(std::string path, TFileReplace how = TFileReplace::Whole);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter &) = delete;
    TAtomicFileWriter &operator=(const TAtomicFileWriter &) = delete;

    // False when the target may not be replaced or written, or the temporary file could not be
    // created (the reason in Error()).
    bool IsOpen() const { return Fd >= 0; }
    // True when the pieces go straight into a device, a FIFO, a descriptor or a file written
    // TFileReplace::AsWritten.
    bool WritesInPlace() const { return InPlace; }
    // Appends data; false (and nothing more is written) after any failure. Waits while a FIFO's
    // or pipe's reader is slow; a reader that goes away is a failure ("Broken pipe"), never a
    // signal that ends the program.
    bool Write(std::string_view data);
    // Puts the file in place; false with a reason when anything failed on the way.
    bool Commit();
    // Drops what was written; the target stays as it was (a device or FIFO keeps what it took).
    void Abandon();
    const std::string &Error() const { return Reason.Message; }
    // Where it failed and the errno, for callers with their own words.
    const TWriteFailure &Failure() const { return Reason; }

private:
    bool Fail(const TMessage &what, int err);
    bool OpenInPlace(bool ownDescriptor);

    std::string Path;   // as the caller named it, for the messages
    std::string Target; // the file at the end of any links: what is replaced or written
    std::string Temp;
    int Fd = -1;
    bool InPlace = false;
    TWriteFailure Reason;
};

// Reads a whole file into *data. Returns false (and leaves *data empty) when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string *data);

} // namespace zor
