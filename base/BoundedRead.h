// Reading a whole file from outside without trusting it: only regular files, never more than a
// stated number of bytes, and a read cut short is a failure rather than a shorter file.
#pragma once

#include "base/Message.h"

#include <cstddef>
#include <string>

namespace zor {

enum class TFileReadStatus {
    Ok,
    CannotOpen, // Errno says why (no such file, permission denied, ...)
    NotRegular, // a folder, a device, a FIFO or a socket: nothing that holds a document
    TooLarge,   // larger than the caller's bound; nothing was read
    ReadFailed, // an error while reading, or fewer bytes than the file holds; Errno 0 when short
};

struct TFileRead
{
    TFileReadStatus Status = TFileReadStatus::Ok;
    int Errno = 0;

    bool Ok() const { return Status == TFileReadStatus::Ok; }
    // Why the read failed, for the operator: "Is a directory", "No such file or directory",
    // "Too large for a document", ... Empty on success.
    std::string Reason() const;
    // The same as a message (base/Message.h), for an interface in another language.
    TMessage Message() const;
};

// Reads the file at path into *data. The size is checked against maxBytes before anything is
// read, and opening never blocks (a FIFO without a writer is refused, not waited for). On any
// failure *data is left empty. Never throws, also when memory runs out.
TFileRead ReadFileBounded(const std::string &path, std::size_t maxBytes, std::string *data);

} // namespace zor
