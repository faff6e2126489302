#include "base/Document.h"
#include "base/CodePages.h"
#include "base/Utf8.h"

namespace zor::doc {

FormatRef::FormatRef()
{
    static const auto shared = std::make_shared<const CharFormat>();
    Shared = shared;
}

FormatRef::FormatRef(const CharFormat &format) : Shared(std::make_shared<const CharFormat>(format))
{
}

std::size_t FormatPool::Hash::operator()(const CharFormat &f) const
{
    std::size_t h = std::hash<std::string>()(f.Face);
    for (std::uint32_t v :
         {std::uint32_t(f.Charset), std::uint32_t(f.HalfPoints),
          std::uint32_t(f.Bold | f.Italic << 1 | f.Underline << 2 | f.StrikeOut << 3), f.Colour}) {
        h = h * 1000003u ^ v;
    }
    return h;
}

FormatRef FormatPool::Get(const CharFormat &format)
{
    if (auto it = Formats.find(format); it != Formats.end()) {
        return *it;
    }
    return *Formats.insert(FormatRef(format)).first;
}

void Document::Append(const CharFormat &format, std::u32string_view text)
{
    if (text.empty()) {
        return;
    }
    if (Runs.empty() || !(Runs.back().Format == format)) {
        if (!Pool) {
            Pool = std::make_shared<FormatPool>();
        }
        Runs.push_back(TextRun{Pool->Get(format), {}});
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

namespace {

// Keeps tabs and line ends (CR LF, CR and LF all become '\n') and drops other control characters.
class PlainTextSink
{
public:
    explicit PlainTextSink(std::u32string &text) : Text(text) {}

    void push_back(char32_t ch)
    {
        const bool afterCr = AfterCr;
        AfterCr = ch == U'\r';
        if (ch == U'\r') {
            Text.push_back(U'\n');
        } else if (ch == U'\n') {
            if (!afterCr) {
                Text.push_back(U'\n');
            }
        } else if (ch >= 0x20 || ch == U'\t') {
            Text.push_back(ch);
        }
    }

private:
    std::u32string &Text;
    bool AfterCr = false;
};

} // namespace

Document ReadPlainText(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::u32string text;
    text.reserve(bytes.size());
    {
        PlainTextSink sink(text);
        if (!DecodeUtf8Into(bytes, sink)) {
            text.clear();
            PlainTextSink cp1250(text);
            for (unsigned char byte : bytes) {
                cp1250.push_back(DecodeByte(1250, byte));
            }
        }
    }
    Document doc;
    doc.Append(DefaultFormat(), text);
    return doc;
}

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
    return DecodeUtf8Into(in, out);
}

} // namespace zor::doc
