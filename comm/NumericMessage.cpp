#include "comm/NumericMessage.h"

#include <algorithm>

namespace zor {

namespace {

// Right-aligns up to width characters of text into out; false when one of them is no digit.
bool PadField(std::string_view text, std::size_t width, std::uint8_t *out)
{
    text = text.substr(0, width);
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    const std::size_t blanks = width - text.size();
    std::fill(out, out + blanks, ' ');
    std::copy(text.begin(), text.end(), out + blanks);
    return true;
}

} // namespace

bool BuildMessage(std::string_view days, std::string_view accidents, std::uint8_t *message)
{
    if (!PadField(days, 3, message) || !PadField(accidents, 2, message + 3)) {
        message[0] = NumericInvalidMark;
        return false;
    }
    message[5] = 0;
    return true;
}

} // namespace zor
