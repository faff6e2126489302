#include "base/Message.h"

#include <cstring>

namespace zor {

TMessage TMessage::Tr(const char *context, const char *format, std::vector<TMessage> args)
{
    TMessage message;
    message.Context = context;
    message.Format = format;
    message.Args = std::move(args);
    return message;
}

TMessage TMessage::SystemError(int error)
{
    TMessage message;
    message.Error = error;
    return message;
}

std::string FillPlaceholders(const std::string &format, const std::vector<std::string> &args)
{
    std::string out;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size() && format[i + 1] >= '1' &&
            format[i + 1] <= '9') {
            if (const auto n = static_cast<std::size_t>(format[i + 1] - '1'); n < args.size()) {
                out += args[n];
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    return out;
}

std::string TMessage::Text() const
{
    if (Error != 0)
        return std::strerror(Error);
    if (Context == nullptr)
        return Format;
    std::vector<std::string> values;
    values.reserve(Args.size());
    for (const TMessage &arg : Args)
        values.push_back(arg.Text());
    return FillPlaceholders(Format, values);
}

} // namespace zor
