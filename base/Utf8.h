// UTF-8 helpers of the document model and the RTF codec. Internal to them.
#pragma once

#include <string>
#include <string_view>

namespace zor::doc {

// Appends ch as UTF-8; surrogates and values above U+10FFFF are written as U+FFFD.
void AppendUtf8(std::string &out, char32_t ch);

// Decodes strict UTF-8 (no overlong forms, surrogates or values above U+10FFFF), handing each
// character to out.push_back. Returns false at the first invalid sequence, after the characters
// before it have been handed over.
template <typename Sink> bool DecodeUtf8Into(std::string_view in, Sink &out)
{
    std::size_t i = 0;
    const std::size_t n = in.size();
    while (i < n) {
        auto b0 = static_cast<unsigned char>(in[i]);
        if (b0 < 0x80) {
            out.push_back(b0);
            ++i;
            continue;
        }
        int extra;
        char32_t ch;
        char32_t minimum;
        if ((b0 & 0xE0) == 0xC0) {
            extra = 1, ch = b0 & 0x1F, minimum = 0x80;
        } else if ((b0 & 0xF0) == 0xE0) {
            extra = 2, ch = b0 & 0x0F, minimum = 0x800;
        } else if ((b0 & 0xF8) == 0xF0) {
            extra = 3, ch = b0 & 0x07, minimum = 0x10000;
        } else {
            return false;
        }
        if (n - i <= static_cast<std::size_t>(extra)) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            auto b = static_cast<unsigned char>(in[i + k]);
            if ((b & 0xC0) != 0x80) {
                return false;
            }
            ch = (ch << 6) | (b & 0x3F);
        }
        if (ch < minimum || ch > 0x10FFFF || (ch >= 0xD800 && ch <= 0xDFFF)) {
            return false;
        }
        out.push_back(ch);
        i += extra + 1;
    }
    return true;
}

// DecodeUtf8Into for a string.
bool DecodeUtf8(std::string_view in, std::u32string &out);

} // namespace zor::doc
