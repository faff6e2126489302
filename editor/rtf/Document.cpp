#include "editor/rtf/CodePages.h"
#include "editor/rtf/Rtf.h"
#include "editor/rtf/Utf8.h"

namespace zor::rtf {

void Document::Append(const CharFormat &format, std::u32string_view text)
{
    if (text.empty()) {
        return;
    }
    if (Runs.empty() || !(Runs.back().Format == format)) {
        Runs.push_back(TextRun{format, {}});
    }
    Runs.back().Text.append(text);
}

void Document::Append(const CharFormat &format, char32_t ch)
{
    Append(format, std::u32string_view(&ch, 1));
}

std::u32string Document::Text() const
{
    std::u32string text;
    text.reserve(Length());
    for (const auto &run : Runs) {
        text += run.Text;
    }
    return text;
}

std::size_t Document::Length() const
{
    std::size_t n = 0;
    for (const auto &run : Runs) {
        n += run.Text.size();
    }
    return n;
}

Document Normalized(const Document &document)
{
    Document out;
    for (const auto &run : document.Runs) {
        out.Append(run.Format, run.Text);
    }
    return out;
}

Document ReadPlainText(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::u32string decoded;
    decoded.reserve(bytes.size());
    if (!detail::DecodeUtf8(bytes, decoded)) {
        decoded.clear();
        for (unsigned char byte : bytes) {
            decoded.push_back(detail::DecodeByte(1250, byte));
        }
    }
    std::u32string text;
    text.reserve(decoded.size());
    for (std::size_t i = 0; i < decoded.size(); ++i) {
        char32_t ch = decoded[i];
        if (ch == U'\r') {
            text.push_back(U'\n');
            if (i + 1 < decoded.size() && decoded[i + 1] == U'\n') {
                ++i;
            }
        } else if (ch >= 0x20 || ch == U'\n' || ch == U'\t') {
            text.push_back(ch);
        }
    }
    Document doc;
    doc.Append(DefaultFormat(), text);
    return doc;
}

namespace detail {

void AppendUtf8(std::string &out, char32_t ch)
{
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) {
        ch = 0xFFFD;
    }
    if (ch < 0x80) {
        out.push_back(static_cast<char>(ch));
    } else if (ch < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (ch >> 6)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else if (ch < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (ch >> 12)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (ch >> 18)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((ch >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (ch & 0x3F)));
    }
}

bool DecodeUtf8(std::string_view in, std::u32string &out)
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

} // namespace detail
} // namespace zor::rtf
