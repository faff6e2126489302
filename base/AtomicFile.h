// Replacing a file without ever leaving it half written.
#pragma once

#include <string>
#include <string_view>

namespace zor {

// Writes data to a temporary file in the target's folder, flushes it to disk and renames it over
// path. On failure the previous file is untouched, the temporary file is removed and the result
// is false with a readable reason in *error (when error is not null): what failed and the
// system's words for why ("No space left on device", "Permission denied"). An existing target
// keeps its permission bits; one the caller may not write is refused, not replaced.
bool WriteFileAtomically(const std::string &path, std::string_view data,
                         std::string *error = nullptr);

struct TWriteFailure
{
    // False when nothing was begun: the target may not be replaced or no temporary file could be
    // made beside it.
    bool Created = false;
    int Errno = 0;
    // What failed and why, as the other overload reports it.
    std::string Message;
};

// The same, telling the caller where it failed and the errno, for callers with their own words.
bool WriteFileAtomically(const std::string &path, std::string_view data, TWriteFailure *failure);

// A file written piece by piece (an existing target the caller may not write is refused) and put in
// place only when complete: the pieces go to a temporary file in the target's folder, Commit()
// flushes it to disk and renames it over the target. Destroying the writer without a successful
// Commit() removes the temporary file, so the target is either the whole new file or left as it
// was. Error texts as WriteFileAtomically's.
class TAtomicFileWriter
{
public:
    explicit TAtomicFileWriter(std::string path);
    ~TAtomicFileWriter();
    TAtomicFileWriter(const TAtomicFileWriter &) = delete;
    TAtomicFileWriter &operator=(const TAtomicFileWriter &) = delete;

    // False when the target may not be replaced or the temporary file could not be created
    // (the reason in Error()).
    bool IsOpen() const { return Fd >= 0; }
    // Appends data; false (and nothing more is written) after any failure.
    bool Write(std::string_view data);
    // Puts the file in place; false with a reason when anything failed on the way.
    bool Commit();
    // Drops what was written; the target stays as it was.
    void Abandon();
    const std::string &Error() const { return Reason.Message; }
    // Where it failed and the errno, for callers with their own words.
    const TWriteFailure &Failure() const { return Reason; }

private:
    bool Fail(const std::string &what, int err);

    std::string Path;
    std::string Temp;
    int Fd = -1;
    TWriteFailure Reason;
};

// Reads a whole file into *data. Returns false (and leaves *data empty) when it cannot be read.
bool ReadWholeFile(const std::string &path, std::string *data);

} // namespace zor
