#include "comm/Results.h"

#include "base/TranslateNoop.h"

namespace zor {

std::optional<TResultMessage> ResultMessage(int code)
{
    using enum TResultBox;
    switch (code) {
    case 0:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Communication O.K."), Information};
    case -1:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Unknow Error"), Error};
    case -2:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "CRC is not correct"), Error};
    case -3:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Hardware Failure"), Error};
    case -4:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Timeout"), Error};
    case -5:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Memory not aviable"), Error};
    case -6:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Program disable"), Error};
    case -7:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results", "Error inic file"), Error};
    case -8:
        return TResultMessage{ZOR_TRANSLATE_NOOP("Results",
                                                 "Number of text segments     \rexceed internal "
                                                 "limit (100).\rTry,please,reduce number    \rof "
                                                 "text segments"),
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
