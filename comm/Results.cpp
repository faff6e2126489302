#include "comm/Results.h"

namespace zor {

std::optional<TResultMessage> ResultMessage(int code)
{
    using enum TResultBox;
    switch (code) {
    case 0:
        return TResultMessage{"Communication O.K.", Information};
    case -1:
        return TResultMessage{"Unknow Error", Error};
    case -2:
        return TResultMessage{"CRC is not correct", Error};
    case -3:
        return TResultMessage{"Hardware Failure", Error};
    case -4:
        return TResultMessage{"Timeout", Error};
    case -5:
        return TResultMessage{"Memory not aviable", Error};
    case -6:
        return TResultMessage{"Program disable", Error};
    case -7:
        return TResultMessage{"Error inic file", Error};
    case -8:
        return TResultMessage{"Number of text segments     \rexceed internal limit (100).\rTry,"
                              "please,reduce number    \rof text segments",
                              Error};
    default:
        return std::nullopt;
    }
}

std::string ResultText(int code)
{
    const auto message = ResultMessage(code);
    if (!message)
        return "result " + std::to_string(code);
    std::string text(message->Text);
    for (char &c : text)
        if (c == '\r')
            c = '\n';
    return text;
}

} // namespace zor
