#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "base/CodePages.h"
#include "base/Utf8.h"
#include "editor/rtf/RtfCodec.h"

namespace zor::rtf {
namespace {

using doc::SymbolCodePage;

constexpr int DocumentCodePage = 1250;
// The code page of a font whose charset names a DOS or Macintosh page: its text goes out as \uN
// alone, which every reader takes the same way.
constexpr int UnicodeOnly = -1;
// Break the output line at the next character boundary once it is this long.
constexpr std::size_t LineLength = 200;

struct FontKey
{
    std::string Face;
    int Charset;
};

class Writer
{
public:
    std::string Generate(const Document &document);

private:
    int FontIndex(const CharFormat &format);
    int ColourIndex(std::uint32_t colour);
    void Word(std::string_view word);
    void Word(std::string_view word, long long param);
    void Literal(char c);
    void Hex(unsigned char byte);
    void Unicode(char32_t ch);
    void Char(char32_t ch, int codePage);
    void FaceChar(char32_t ch, int codePage);
    // A printable character: itself below 0x7F, else its byte in the code page, else \uN.
    void EncodedChar(char32_t ch, int codePage);
    void BreakLineIfLong();
    void SwitchTo(const CharFormat &format);

    std::string Out;
    std::size_t LineStart = 0;
    bool NeedDelimiter = false;

    std::vector<FontKey> Fonts;
    std::vector<std::uint32_t> Colours;
    std::unordered_map<std::uint32_t, int> ColourIndices;

    // What the output has set so far; -1 means "not written yet".
    int CurFont = -1;
    int CurHalfPoints = -1;
    int CurBold = -1;
    int CurItalic = -1;
    int CurUnderline = -1;
    int CurStrike = -1;
    int CurColour = -1;
};

char HexDigit(unsigned value)
{
    return "0123456789abcdef"[value & 0xF];
}

void AppendNumber(std::string &out, long long value)
{
    char buffer[24];
    int n = 0;
    const bool negative = value < 0;
    unsigned long long v = negative ? 0ull - static_cast<unsigned long long>(value)
                                    : static_cast<unsigned long long>(value);
    do {
        buffer[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (negative) {
        out.push_back('-');
    }
    while (n > 0) {
        out.push_back(buffer[--n]);
    }
}

int FontCodePage(int charset)
{
    const int codePage = doc::CodePageForCharset(charset, DocumentCodePage);
    return codePage == SymbolCodePage || doc::IsWindowsCodePage(codePage) ? codePage : UnicodeOnly;
}

int Writer::FontIndex(const CharFormat &format)
{
    for (std::size_t i = 0; i < Fonts.size(); ++i) {
        if (Fonts[i].Charset == format.Charset && Fonts[i].Face == format.Face) {
            return static_cast<int>(i);
        }
    }
    Fonts.push_back({format.Face, format.Charset});
    return static_cast<int>(Fonts.size() - 1);
}

int Writer::ColourIndex(std::uint32_t colour)
{
    colour &= 0xFFFFFF;
    auto [it, added] = ColourIndices.emplace(colour, static_cast<int>(Colours.size()) + 1);
    if (added) {
        Colours.push_back(colour);
    }
    return it->second;
}

void Writer::Word(std::string_view word)
{
    Out.push_back('\\');
    Out.append(word);
    NeedDelimiter = true;
}

void Writer::Word(std::string_view word, long long param)
{
    Word(word);
    AppendNumber(Out, param);
}

void Writer::BreakLineIfLong()
{
    if (Out.size() - LineStart >= LineLength) {
        // The line break also ends a pending control word.
        Out.append("\r\n");
        LineStart = Out.size();
        NeedDelimiter = false;
    }
}

void Writer::Literal(char c)
{
    if (NeedDelimiter) {
        Out.push_back(' ');
        NeedDelimiter = false;
    }
    if (c == '\\' || c == '{' || c == '}') {
        Out.push_back('\\');
    }
    Out.push_back(c);
}

void Writer::Hex(unsigned char byte)
{
    Out.append("\\'");
    Out.push_back(HexDigit(byte >> 4));
    Out.push_back(HexDigit(byte));
    NeedDelimiter = false;
}

void Writer::Unicode(char32_t ch)
{
    if ((ch >= 0xD800 && ch <= 0xDFFF) || ch > 0x10FFFF) {
        ch = 0xFFFD;
    }
    auto unit = [this](std::uint32_t u) {
        // \u takes a signed 16-bit number; '?' is the one fallback character (\uc1).
        Word("u", static_cast<std::int16_t>(static_cast<std::uint16_t>(u)));
        Out.push_back('?');
        NeedDelimiter = false;
    };
    if (ch > 0xFFFF) {
        const std::uint32_t v = ch - 0x10000;
        unit(0xD800 + (v >> 10));
        unit(0xDC00 + (v & 0x3FF));
    } else {
        unit(ch);
    }
}

void Writer::Char(char32_t ch, int codePage)
{
    if (ch == U'\n') {
        Out.append("\\par\r\n");
        LineStart = Out.size();
        NeedDelimiter = false;
        return;
    }
    BreakLineIfLong();
    if (ch == U'\t') {
        Word("tab");
        return;
    }
    if (ch < 0x20) {
        return;
    }
    if (codePage == SymbolCodePage && ch >= 0xF020 && ch <= 0xF0FF) {
        ch -= 0xF000;
    }
    EncodedChar(ch, codePage);
}

void Writer::EncodedChar(char32_t ch, int codePage)
{
    if (ch < 0x7F) {
        Literal(static_cast<char>(ch));
        return;
    }
    const int byte = codePage == UnicodeOnly ? -1 : doc::EncodeChar(codePage, ch);
    if (byte >= 0) {
        Hex(static_cast<unsigned char>(byte));
    } else {
        Unicode(ch);
    }
}

void Writer::FaceChar(char32_t ch, int codePage)
{
    if (ch < 0x20) {
        return;
    }
    if (ch == U';') {
        // A literal ';' would end the name.
        Hex(';');
        return;
    }
    EncodedChar(ch, codePage);
}

void Writer::SwitchTo(const CharFormat &format)
{
    const int font = FontIndex(format);
    if (font != CurFont) {
        Word("f", font);
        CurFont = font;
    }
    if (format.HalfPoints != CurHalfPoints) {
        Word("fs", format.HalfPoints);
        CurHalfPoints = format.HalfPoints;
    }
    auto toggle = [this](int &current, bool wanted, std::string_view on, std::string_view off) {
        if (current != static_cast<int>(wanted)) {
            Word(wanted ? on : off);
            current = wanted;
        }
    };
    toggle(CurBold, format.Bold, "b", "b0");
    toggle(CurItalic, format.Italic, "i", "i0");
    toggle(CurUnderline, format.Underline, "ul", "ulnone");
    toggle(CurStrike, format.StrikeOut, "strike", "strike0");
    const int colour = ColourIndex(format.Colour);
    if (colour != CurColour) {
        Word("cf", colour);
        CurColour = colour;
    }
}

std::string Writer::Generate(const Document &document)
{
    // Tables first: every font and colour in order of first use, so the output depends on the
    // document alone.
    for (const auto &run : document.Runs) {
        if (!run.Text.empty()) {
            FontIndex(run.Format);
            ColourIndex(run.Format->Colour);
        }
    }
    const CharFormat *lastFormat = &DefaultFormat();
    for (auto it = document.Runs.rbegin(); it != document.Runs.rend(); ++it) {
        if (!it->Text.empty()) {
            lastFormat = &*it->Format;
            break;
        }
    }
    FontIndex(*lastFormat);
    ColourIndex(lastFormat->Colour);

    std::string body;
    {
        Out.reserve(document.Length() * 2 + 256);
        Out.append("\\viewkind4\\uc1\\pard");
        NeedDelimiter = true;
        for (const auto &run : document.Runs) {
            if (run.Text.empty()) {
                continue;
            }
            SwitchTo(run.Format);
            const int codePage = FontCodePage(run.Format->Charset);
            for (char32_t ch : run.Text) {
                Char(ch, codePage);
            }
        }
        SwitchTo(*lastFormat);
        Out.append("\\par\r\n}\r\n");
        body.swap(Out);
    }

    Out.reserve(body.size() + 256 + Fonts.size() * 48 + Colours.size() * 24);
    Out.append("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl");
    for (std::size_t i = 0; i < Fonts.size(); ++i) {
        Out.append("\r\n{");
        LineStart = Out.size();
        Word("f", static_cast<long long>(i));
        if (Fonts[i].Charset == SymbolCharset) {
            Word("ftech");
            Word("fcharset", SymbolCharset);
            Word("fprq", 2);
        } else {
            Word("fnil");
            Word("fcharset", Fonts[i].Charset);
        }
        Out.push_back(' ');
        NeedDelimiter = false;
        std::u32string face;
        if (!doc::DecodeUtf8(Fonts[i].Face, face)) {
            face.clear();
            for (unsigned char byte : Fonts[i].Face) {
                face.push_back(byte < 0x80 ? byte : 0xFFFD);
            }
        }
        const int codePage = FontCodePage(Fonts[i].Charset);
        for (char32_t ch : face) {
            FaceChar(ch, codePage);
        }
        Out.append(";}");
    }
    Out.append("}\r\n{\\colortbl ;");
    LineStart = Out.size();
    for (std::uint32_t colour : Colours) {
        if (Out.size() - LineStart >= LineLength) {
            Out.append("\r\n");
            LineStart = Out.size();
        }
        Word("red", colour & 0xFF);
        Word("green", (colour >> 8) & 0xFF);
        Word("blue", (colour >> 16) & 0xFF);
        Out.push_back(';');
    }
    Out.append("}\r\n");
    Out.append(body);
    return std::move(Out);
}

} // namespace

std::string Write(const Document &document)
{
    return Writer().Generate(document);
}

} // namespace zor::rtf
