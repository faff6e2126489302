#include "base/BoundedRead.h"

#include "base/TranslateNoop.h"

#include <cerrno>
#include <cstring>

namespace zor {

std::string TFileRead::Reason() const
{
    return Message().Text();
}

TMessage TFileRead::Message() const
{
    const auto say = [](const char *text) { return TMessage::Tr("BoundedRead", text); };
    switch (Status) {
    case TFileReadStatus::Ok:
        return {};
    case TFileReadStatus::NotRegular:
        if (Errno == 0)
            return say(ZOR_TRANSLATE_NOOP("BoundedRead", "Not a regular file"));
        break;
    case TFileReadStatus::TooLarge:
        return say(ZOR_TRANSLATE_NOOP("BoundedRead", "Too large for a document"));
    case TFileReadStatus::ReadFailed:
        if (Errno == 0)
            return say(
                ZOR_TRANSLATE_NOOP("BoundedRead", "The file ended before all of it was read"));
        break;
    case TFileReadStatus::CannotOpen:
        break;
    }
    return Errno != 0 ? TMessage::SystemError(Errno) : TMessage(std::strerror(Errno));
}

} // namespace zor
