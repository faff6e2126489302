#include "base/BoundedRead.h"

#include <cerrno>
#include <cstring>

namespace zor {

std::string TFileRead::Reason() const
{
    switch (Status) {
    case TFileReadStatus::Ok:
        return {};
    case TFileReadStatus::NotRegular:
        return Errno ? std::strerror(Errno) : "Not a regular file";
    case TFileReadStatus::TooLarge:
        return "Too large for a document";
    case TFileReadStatus::ReadFailed:
        if (Errno == 0)
            return "The file ended before all of it was read";
        break;
    case TFileReadStatus::CannotOpen:
        break;
    }
    return std::strerror(Errno);
}

} // namespace zor
