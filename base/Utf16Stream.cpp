#include "base/Utf16Stream.h"

namespace zor {

namespace {

// How many bytes a sequence starting with lead has; 0 for a byte no sequence starts with.
int SequenceLength(unsigned char lead)
{
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF)
        return 2;
    if (lead >= 0xE0 && lead <= 0xEF)
        return 3;
    if (lead >= 0xF0 && lead <= 0xF4)
        return 4;
    return 0;
}

// Whether b may follow lead as the second byte of its sequence: the ranges that keep out overlong
// forms, surrogates and values above U+10FFFF.
bool ValidSecond(unsigned char lead, unsigned char b)
{
    switch (lead) {
    case 0xE0:
        return b >= 0xA0 && b <= 0xBF;
    case 0xED:
        return b >= 0x80 && b <= 0x9F;
    case 0xF0:
        return b >= 0x90 && b <= 0xBF;
    case 0xF4:
        return b >= 0x80 && b <= 0x8F;
    default:
        return b >= 0x80 && b <= 0xBF;
    }
}

void AppendUtf16(std::u16string &out, char32_t ch)
{
    if (ch < 0x10000) {
        out += static_cast<char16_t>(ch);
        return;
    }
    ch -= 0x10000;
    out += static_cast<char16_t>(0xD800 + (ch >> 10));
    out += static_cast<char16_t>(0xDC00 + (ch & 0x3FF));
}

constexpr char16_t Replacement = 0xFFFD;

} // namespace

void TUtf8ToUtf16Stream::Feed(std::string_view bytes, std::u16string &out)
{
    std::string joined;
    if (!Pending.empty()) {
        joined = Pending;
        joined.append(bytes);
        bytes = joined;
        Pending.clear();
    }
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        const int length = SequenceLength(lead);
        if (length == 1) {
            out += static_cast<char16_t>(lead);
            ++i;
            continue;
        }
        if (length == 0) {
            out += Replacement;
            ++i;
            continue;
        }
        char32_t ch = lead & (0x7F >> length);
        int taken = 1;
        bool broken = false;
        while (taken < length && i + taken < n) {
            const auto b = static_cast<unsigned char>(bytes[i + taken]);
            if (taken == 1 ? !ValidSecond(lead, b) : (b & 0xC0) != 0x80) {
                broken = true;
                break;
            }
            ch = (ch << 6) | (b & 0x3F);
            ++taken;
        }
        if (broken) {
            // The valid start is one replaced character; the byte that broke it starts afresh.
            out += Replacement;
            i += taken;
            continue;
        }
        if (taken < length) {
            Pending.assign(bytes.substr(i));
            return;
        }
        AppendUtf16(out, ch);
        i += length;
    }
}

void TUtf8ToUtf16Stream::Finish(std::u16string &out)
{
    if (!Pending.empty())
        out += Replacement;
    Pending.clear();
}

} // namespace zor
