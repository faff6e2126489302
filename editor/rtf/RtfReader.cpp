#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <unordered_map>

#include "base/CodePages.h"
#include "base/SymbolTag.h"
#include "base/TranslateNoop.h"
#include "base/Utf8.h"
#include "editor/rtf/RtfCodec.h"
#include "editor/rtf/RtfWords.h"

namespace zor::rtf {
namespace {

using doc::SymbolCodePage;

// Bounds on tables a hostile file could grow without end.
constexpr std::size_t MaxFonts = 4096;
constexpr std::size_t MaxColours = 65536;
constexpr std::size_t MaxFaceLength = 256;
constexpr int MaxUnicodeSkip = 16;
constexpr std::size_t MaxWordLength = 32;

enum class Dest : std::uint8_t { Text, FontTable, FontAltName, ColourTable, Skip };

// What a group can change; saved on '{' and restored on '}'.
struct State
{
    Dest Destination = Dest::Text;
    int Font = -1; // -1: the document's default font (\deff)
    int HalfPoints = 24;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    int Colour = 0; // index into the colour table; 0 and unknown entries are "auto"
    int UnicodeSkip = 1;

    bool SameFormat(const State &o) const
    {
        return Font == o.Font && HalfPoints == o.HalfPoints && Bold == o.Bold &&
               Italic == o.Italic && Underline == o.Underline && StrikeOut == o.StrikeOut &&
               Colour == o.Colour;
    }
};

struct FontEntry
{
    std::u32string Name;
    std::u32string AltName; // {\*\fname}: the real face behind a charset-tagged alias
    int Charset = -1;       // -1: none given, the document's code page applies
    bool NameDone = false;
    bool AltNameDone = false;
};

bool IsHex(unsigned char c)
{
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(unsigned char c)
{
    if (c <= '9') {
        return c - '0';
    }
    return (c | 0x20) - 'a' + 10;
}

bool IsDigit(unsigned char c)
{
    return c >= '0' && c <= '9';
}

bool IsLetter(unsigned char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

std::string ToUtf8Trimmed(const std::u32string &text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && text[begin] == U' ') {
        ++begin;
    }
    while (end > begin && text[end - 1] == U' ') {
        --end;
    }
    std::string out;
    for (std::size_t i = begin; i < end; ++i) {
        doc::AppendUtf8(out, text[i]);
    }
    return out;
}

class Reader
{
public:
    explicit Reader(std::string_view in) : In(in) {}

    ReadResult Parse();

private:
    void OpenGroup();
    void CloseGroup();
    void ControlSequence();
    void ControlWord(std::string_view word, bool hasParam, int param);
    // The words by what they act on; each takes the word's parameter as read.
    using WordHandler = void (Reader::*)(const WordInfo &, bool hasParam, int param);
    void DocumentWord(const WordInfo &info, bool hasParam, int param);
    void DestinationWord(const WordInfo &info, bool hasParam, int param);
    void FontWord(const WordInfo &info, bool hasParam, int param);
    void ColourWord(const WordInfo &info, bool hasParam, int param);
    void CharacterWord(const WordInfo &info, bool hasParam, int param);
    void TextWord(const WordInfo &info, bool hasParam, int param);
    void TextByte(unsigned char byte, bool literal);
    void UnicodeChar(int param);
    void PutChar(char32_t ch);
    void Emit(char32_t ch);
    void EnsureFormat();
    void FormatChanged() { FormatDirty = true; }
    int CodePageOfFont(const FontEntry *font) const;
    const FontEntry *CurrentFont() const;

    std::string_view In;
    std::size_t Pos = 0;
    std::vector<State> Stack;
    State St;
    bool Finished = false;
    std::string Error;
    std::string_view ErrorSource;
    int ErrorNumber = 0;

    int DefaultFont = 0;
    int AnsiCodePage = 1252;
    std::unordered_map<int, FontEntry> Fonts;
    FontEntry *TableFont = nullptr; // the font table entry being read

    std::vector<std::optional<std::uint32_t>> Colours;
    std::uint32_t PendingColour = 0;
    bool PendingColourSet = false;

    Document Doc;
    FormatPool Formats;
    FormatRef Format;
    std::u32string FaceSource; // the font name last converted, and its UTF-8 face
    std::string Face;
    int CodePage = 1252;       // of the current font, valid when !FormatDirty
    bool InSymbolFace = false; // the current font is the symbol font, valid when !FormatDirty
    bool FormatDirty = true;
    bool NeedRun = true;

    bool IgnorableNext = false; // after \*
    int SkipChars = 0;          // fallback characters of \uN still to skip
    bool SwallowTrailByte = false;
    char32_t PendingHighSurrogate = 0;
    bool LastWasPar = false;
};

ReadResult Reader::Parse()
{
    const std::size_t n = In.size();
    while (Pos < n && !Finished && Error.empty()) {
        const auto c = static_cast<unsigned char>(In[Pos]);
        switch (c) {
        case '{':
            ++Pos;
            OpenGroup();
            break;
        case '}':
            ++Pos;
            CloseGroup();
            break;
        case '\\':
            ControlSequence();
            break;
        case '\r':
        case '\n':
            ++Pos;
            break;
        default:
            if (St.Destination == Dest::Text && SkipChars == 0 && !SwallowTrailByte &&
                PendingHighSurrogate == 0 && c >= 0x20 && c < 0x7F) {
                // Plain ASCII is the same in every code page: take the whole stretch at once.
                EnsureFormat();
                std::size_t end = Pos;
                while (end < n) {
                    auto d = static_cast<unsigned char>(In[end]);
                    if (d < 0x20 || d >= 0x7F || d == '\\' || d == '{' || d == '}') {
                        break;
                    }
                    ++end;
                }
                if (NeedRun) {
                    Doc.Runs.push_back(TextRun{Format, {}});
                    NeedRun = false;
                }
                auto &text = Doc.Runs.back().Text;
                for (std::size_t i = Pos; i < end; ++i) {
                    text.push_back(static_cast<unsigned char>(In[i]));
                }
                LastWasPar = false;
                Pos = end;
            } else {
                ++Pos;
                TextByte(c, true);
            }
            break;
        }
    }

    ReadResult result;
    if (!Error.empty()) {
        result.Error = Error;
        result.ErrorSource = ErrorSource;
        result.ErrorNumber = ErrorNumber;
        return result;
    }
    if (PendingHighSurrogate != 0) {
        PendingHighSurrogate = 0;
        PutChar(0xFFFD);
    }
    // The final paragraph mark belongs to the last line; it does not start a new one.
    if (LastWasPar && !Doc.Runs.empty()) {
        Doc.Runs.back().Text.pop_back();
        if (Doc.Runs.back().Text.empty()) {
            Doc.Runs.pop_back();
        }
    }
    if (!Finished) {
        result.Warning = ZOR_TRANSLATE_NOOP("RtfReader", "The RTF document ends before its last "
                                                         "group is closed; the file may be "
                                                         "truncated.");
    }
    result.Doc = std::move(Doc);
    return result;
}

void Reader::OpenGroup()
{
    if (Stack.size() >= static_cast<std::size_t>(MaxGroupDepth)) {
        ErrorSource =
            ZOR_TRANSLATE_NOOP("RtfReader", "The RTF groups are nested more than %1 levels deep.");
        ErrorNumber = MaxGroupDepth;
        Error = std::string(ErrorSource);
        Error.replace(Error.find("%1"), 2, std::to_string(ErrorNumber));
        return;
    }
    Stack.push_back(St);
    SkipChars = 0;
    SwallowTrailByte = false;
    IgnorableNext = false;
}

void Reader::CloseGroup()
{
    SkipChars = 0;
    SwallowTrailByte = false;
    IgnorableNext = false;
    if (Stack.empty()) {
        Finished = true;
        return;
    }
    const State inner = St;
    St = Stack.back();
    Stack.pop_back();
    if (inner.Destination == Dest::FontTable || inner.Destination == Dest::ColourTable ||
        !inner.SameFormat(St)) {
        FormatChanged();
    }
    if (inner.Destination == Dest::ColourTable && St.Destination != Dest::ColourTable &&
        PendingColourSet && Colours.size() < MaxColours) {
        // A last entry without its ';'.
        Colours.emplace_back(PendingColour);
        PendingColourSet = false;
    }
    if (Stack.empty()) {
        Finished = true;
    }
}

void Reader::ControlSequence()
{
    const std::size_t n = In.size();
    ++Pos; // the backslash
    if (Pos >= n) {
        return;
    }
    const auto c = static_cast<unsigned char>(In[Pos]);
    if (IsLetter(c)) {
        const std::size_t start = Pos;
        while (Pos < n && IsLetter(static_cast<unsigned char>(In[Pos]))) {
            ++Pos;
        }
        std::string_view word = In.substr(start, Pos - start);
        bool hasParam = false;
        bool negative = false;
        std::int64_t value = 0;
        if (Pos + 1 == n && In[Pos] == '-') {
            Pos = n; // a word cut off by the end of the input
            return;
        }
        if (Pos < n && In[Pos] == '-' && IsDigit(static_cast<unsigned char>(In[Pos + 1]))) {
            negative = true;
            ++Pos;
        }
        while (Pos < n && IsDigit(static_cast<unsigned char>(In[Pos]))) {
            hasParam = true;
            value = std::min<std::int64_t>(value * 10 + (In[Pos] - '0'), 0x7FFFFFFF);
            ++Pos;
        }
        if (Pos >= n) {
            return; // a word cut off by the end of the input
        }
        if (In[Pos] == ' ') {
            ++Pos;
        }
        if (word.size() > MaxWordLength) {
            word = {};
        }
        ControlWord(word, hasParam, static_cast<int>(negative ? -value : value));
        return;
    }

    ++Pos;
    IgnorableNext = false;
    SwallowTrailByte = SwallowTrailByte && c == '\'';
    switch (c) {
    case '\'':
        if (Pos + 1 < n && IsHex(static_cast<unsigned char>(In[Pos])) &&
            IsHex(static_cast<unsigned char>(In[Pos + 1]))) {
            const int byte = HexValue(static_cast<unsigned char>(In[Pos])) * 16 +
                             HexValue(static_cast<unsigned char>(In[Pos + 1]));
            Pos += 2;
            TextByte(static_cast<unsigned char>(byte), false);
        } else if (Pos + 1 >= n) {
            Pos = n; // a byte cut off by the end of the input
        }
        return;
    case '*':
        IgnorableNext = St.Destination != Dest::Skip;
        return;
    case '\\':
    case '{':
    case '}':
        if (SkipChars > 0) {
            --SkipChars;
            return;
        }
        PutChar(c);
        return;
    default:
        break;
    }
    if (SkipChars > 0) {
        --SkipChars;
        return;
    }
    switch (c) {
    case '~':
        PutChar(0x00A0);
        break;
    case '_':
        PutChar(0x2011);
        break;
    case '\r':
    case '\n':
        if (St.Destination == Dest::Text) {
            Emit(U'\n');
            LastWasPar = true;
        }
        break;
    default:
        break; // \- optional hyphen, \: index entry, \| formula and unknown symbols
    }
}

void Reader::ControlWord(std::string_view word, bool hasParam, int param)
{
    SwallowTrailByte = false;
    const bool ignorable = IgnorableNext;
    IgnorableNext = false;

    const WordInfo info = LookUpWord(word);
    if (info.Kind == Word::Bin) {
        // Raw bytes follow: skip them in every destination, whatever they hold.
        const std::size_t length = hasParam && param > 0 ? static_cast<std::size_t>(param) : 0;
        Pos += std::min(length, In.size() - Pos);
        if (SkipChars > 0) {
            --SkipChars;
        }
        return;
    }
    if (St.Destination == Dest::Skip) {
        return;
    }
    if (SkipChars > 0) {
        --SkipChars;
        return;
    }
    // Writers mark a field's result ignorable too, though it is the text the reader sees.
    if (ignorable && info.Kind != Word::FontTbl && info.Kind != Word::ColorTbl &&
        info.Kind != Word::FldRslt &&
        !(info.Kind == Word::FName && St.Destination == Dest::FontTable)) {
        St.Destination = Dest::Skip;
        return;
    }

    // Who acts on each kind of word; the kinds left out (\rtf, \ansi, a field's result and the
    // words the reader ignores) change nothing.
    static constexpr auto handlers = [] {
        std::array<WordHandler, WordKinds> h{};
        const auto set = [&h](std::initializer_list<Word> kinds, WordHandler handler) {
            for (Word kind : kinds) {
                h[static_cast<std::size_t>(kind)] = handler;
            }
        };
        set({Word::Mac, Word::Pc, Word::Pca, Word::AnsiCpg, Word::Deff}, &Reader::DocumentWord);
        set({Word::Skip, Word::FontTbl, Word::ColorTbl, Word::FName}, &Reader::DestinationWord);
        set({Word::F, Word::FCharset}, &Reader::FontWord);
        set({Word::Red, Word::Green, Word::Blue, Word::Cf}, &Reader::ColourWord);
        set({Word::Fs, Word::B, Word::I, Word::Ul, Word::UlNone, Word::Strike, Word::Plain},
            &Reader::CharacterWord);
        set({Word::Par, Word::Line, Word::Row, Word::Tab, Word::Cell, Word::U, Word::Uc,
             Word::Char},
            &Reader::TextWord);
        return h;
    }();
    if (const WordHandler handler = handlers[static_cast<std::size_t>(info.Kind)]) {
        (this->*handler)(info, hasParam, param);
    }
}

void Reader::DocumentWord(const WordInfo &info, bool hasParam, int param)
{
    switch (info.Kind) {
    case Word::Mac:
        AnsiCodePage = 10000;
        break;
    case Word::Pc:
        AnsiCodePage = 437;
        break;
    case Word::Pca:
        AnsiCodePage = 850;
        break;
    case Word::AnsiCpg:
        if (hasParam && param > 0 && param < 100000) {
            AnsiCodePage = param;
            FormatChanged();
        }
        break;
    case Word::Deff:
        if (hasParam && param >= 0) {
            DefaultFont = param;
            FormatChanged();
        }
        break;
    default:
        break;
    }
}

void Reader::DestinationWord(const WordInfo &info, bool, int)
{
    switch (info.Kind) {
    case Word::Skip:
        St.Destination = Dest::Skip;
        break;
    case Word::FontTbl:
        St.Destination = Dest::FontTable;
        TableFont = nullptr;
        break;
    case Word::ColorTbl:
        St.Destination = Dest::ColourTable;
        PendingColour = 0;
        PendingColourSet = false;
        break;
    case Word::FName:
        if (St.Destination == Dest::FontTable) {
            St.Destination = Dest::FontAltName;
            if (TableFont != nullptr) {
                TableFont->AltName.clear();
                TableFont->AltNameDone = false;
            }
        }
        break;
    default:
        break;
    }
}

void Reader::FontWord(const WordInfo &info, bool hasParam, int param)
{
    if (info.Kind == Word::FCharset) {
        if (St.Destination == Dest::FontTable && TableFont != nullptr && hasParam && param >= 0 &&
            param <= 255) {
            TableFont->Charset = param;
        }
        return;
    }
    if (St.Destination == Dest::FontTable) {
        // \fN in the table starts entry N; a repeated number starts it afresh.
        TableFont = nullptr;
        if (hasParam && param >= 0) {
            auto found = Fonts.find(param);
            if (found != Fonts.end()) {
                found->second = FontEntry{};
                TableFont = &found->second;
            } else if (Fonts.size() < MaxFonts) {
                TableFont = &Fonts[param];
            }
        }
    } else if (St.Destination == Dest::Text && hasParam && param >= 0) {
        St.Font = param;
        FormatChanged();
    }
}

void Reader::ColourWord(const WordInfo &info, bool hasParam, int param)
{
    if (info.Kind == Word::Cf) {
        St.Colour = hasParam && param >= 0 ? param : 0;
        FormatChanged();
        return;
    }
    if (St.Destination == Dest::ColourTable) {
        const auto value = static_cast<std::uint32_t>(std::clamp(hasParam ? param : 0, 0, 255));
        const int shift = info.Kind == Word::Red ? 0 : info.Kind == Word::Green ? 8 : 16;
        PendingColour = (PendingColour & ~(0xFFu << shift)) | (value << shift);
        PendingColourSet = true;
    }
}

void Reader::CharacterWord(const WordInfo &info, bool hasParam, int param)
{
    const bool on = !hasParam || param != 0;
    switch (info.Kind) {
    case Word::Fs:
        if (!hasParam) {
            St.HalfPoints = 24;
        } else if (param > 0 && param <= 32767) {
            St.HalfPoints = param;
        }
        break;
    case Word::B:
        St.Bold = on;
        break;
    case Word::I:
        St.Italic = on;
        break;
    case Word::Ul:
        St.Underline = on;
        break;
    case Word::UlNone:
        St.Underline = false;
        break;
    case Word::Strike:
        St.StrikeOut = on;
        break;
    case Word::Plain: {
        const State defaults;
        St.Font = defaults.Font;
        St.HalfPoints = defaults.HalfPoints;
        St.Bold = St.Italic = St.Underline = St.StrikeOut = false;
        St.Colour = defaults.Colour;
        break;
    }
    default:
        return;
    }
    FormatChanged();
}

void Reader::TextWord(const WordInfo &info, bool hasParam, int param)
{
    switch (info.Kind) {
    case Word::Par:
        if (St.Destination == Dest::Text) {
            Emit(U'\n');
            LastWasPar = true;
        }
        break;
    case Word::Line:
    case Word::Row:
        PutChar(U'\n');
        break;
    case Word::Tab:
    case Word::Cell:
        PutChar(U'\t');
        break;
    case Word::U:
        if (hasParam) {
            UnicodeChar(param);
        }
        break;
    case Word::Uc:
        if (hasParam) {
            St.UnicodeSkip = std::clamp(param, 0, MaxUnicodeSkip);
        }
        break;
    case Word::Char:
        PutChar(info.Ch);
        break;
    default:
        break;
    }
}

void Reader::UnicodeChar(int param)
{
    // RTF writes values above 32767 as negative 16-bit numbers.
    std::int64_t value = param < 0 ? static_cast<std::int64_t>(param) + 65536 : param;
    if (value < 0 || value > 0xFFFF) {
        value = 0xFFFD;
    }
    auto ch = static_cast<char32_t>(value);
    if (ch >= 0xD800 && ch <= 0xDBFF) {
        if (PendingHighSurrogate != 0) {
            PendingHighSurrogate = 0;
            PutChar(0xFFFD);
        }
        PendingHighSurrogate = ch;
    } else if (ch >= 0xDC00 && ch <= 0xDFFF) {
        if (PendingHighSurrogate != 0) {
            const char32_t high = PendingHighSurrogate;
            PendingHighSurrogate = 0;
            PutChar(0x10000 + ((high - 0xD800) << 10) + (ch - 0xDC00));
        } else {
            PutChar(0xFFFD);
        }
    } else {
        if (St.Destination == Dest::Text && ch >= 0xF020 && ch <= 0xF0FF) {
            EnsureFormat();
            if (CodePage == SymbolCodePage || InSymbolFace) {
                // Symbol fonts also carry their glyphs in the private-use block, and word
                // processors that save the symbol font as an ordinary one write them there: one
                // form keeps the symbol and its digits one command for everything that reads the
                // document.
                ch -= 0xF000;
            }
        }
        PutChar(ch);
    }
    SkipChars = St.UnicodeSkip;
}

void Reader::TextByte(unsigned char byte, bool literal)
{
    if (SkipChars > 0) {
        --SkipChars;
        return;
    }
    switch (St.Destination) {
    case Dest::Text: {
        EnsureFormat();
        if (SwallowTrailByte) {
            SwallowTrailByte = false;
            return;
        }
        if (doc::IsLeadByte(CodePage, byte)) {
            // Two-byte characters of East-Asian code pages have no table here.
            PutChar(U'?');
            SwallowTrailByte = true;
            return;
        }
        PutChar(doc::DecodeByte(CodePage, byte));
        return;
    }
    case Dest::FontTable:
    case Dest::FontAltName:
        if (literal && byte == ';') {
            if (TableFont != nullptr) {
                (St.Destination == Dest::FontTable ? TableFont->NameDone : TableFont->AltNameDone) =
                    true;
            }
            return;
        }
        if (TableFont != nullptr) {
            PutChar(doc::DecodeByte(CodePageOfFont(TableFont), byte));
        }
        return;
    case Dest::ColourTable:
        if (literal && byte == ';' && Colours.size() < MaxColours) {
            if (PendingColourSet) {
                Colours.emplace_back(PendingColour);
            } else {
                Colours.emplace_back(std::nullopt);
            }
            PendingColour = 0;
            PendingColourSet = false;
        }
        return;
    case Dest::Skip:
        return;
    }
}

void Reader::PutChar(char32_t ch)
{
    if (PendingHighSurrogate != 0) {
        PendingHighSurrogate = 0;
        PutChar(0xFFFD);
    }
    switch (St.Destination) {
    case Dest::Text:
        Emit(ch);
        return;
    case Dest::FontTable:
        if (TableFont != nullptr && !TableFont->NameDone && ch >= 0x20 &&
            TableFont->Name.size() < MaxFaceLength) {
            TableFont->Name.push_back(ch);
        }
        return;
    case Dest::FontAltName:
        if (TableFont != nullptr && !TableFont->AltNameDone && ch >= 0x20 &&
            TableFont->AltName.size() < MaxFaceLength) {
            TableFont->AltName.push_back(ch);
        }
        return;
    case Dest::ColourTable:
    case Dest::Skip:
        return;
    }
}

void Reader::Emit(char32_t ch)
{
    if (ch < 0x20 && ch != U'\n' && ch != U'\t') {
        return;
    }
    EnsureFormat();
    if (NeedRun) {
        Doc.Runs.push_back(TextRun{Format, {}});
        NeedRun = false;
    }
    Doc.Runs.back().Text.push_back(ch);
    LastWasPar = false;
}

const FontEntry *Reader::CurrentFont() const
{
    auto it = Fonts.find(St.Font >= 0 ? St.Font : DefaultFont);
    if (it == Fonts.end()) {
        it = Fonts.find(DefaultFont);
    }
    return it != Fonts.end() ? &it->second : nullptr;
}

int Reader::CodePageOfFont(const FontEntry *font) const
{
    if (font == nullptr || font->Charset < 0) {
        return AnsiCodePage;
    }
    return doc::CodePageForCharset(font->Charset, AnsiCodePage);
}

void Reader::EnsureFormat()
{
    if (!FormatDirty) {
        return;
    }
    FormatDirty = false;
    CharFormat format;
    const FontEntry *font = CurrentFont();
    if (font != nullptr) {
        // A document of short runs changes format every few bytes; converting a long face
        // name each time would dominate the reading.
        const std::u32string &name = font->AltName.empty() ? font->Name : font->AltName;
        if (name != FaceSource) {
            FaceSource = name;
            Face = ToUtf8Trimmed(name);
        }
        format.Face = Face;
        format.Charset = font->Charset >= 0 ? font->Charset : doc::CharsetForCodePage(AnsiCodePage);
    } else {
        format.Face = DefaultFormat().Face;
        format.Charset = doc::CharsetForCodePage(AnsiCodePage);
    }
    CodePage = CodePageOfFont(font);
    InSymbolFace = IsSymbolFace(format.Face);
    format.HalfPoints = St.HalfPoints;
    format.Bold = St.Bold;
    format.Italic = St.Italic;
    format.Underline = St.Underline;
    format.StrikeOut = St.StrikeOut;
    format.Colour = 0;
    if (St.Colour > 0 && static_cast<std::size_t>(St.Colour) < Colours.size() &&
        Colours[St.Colour].has_value()) {
        format.Colour = *Colours[St.Colour];
    }
    Format = Formats.Get(format);
    NeedRun = Doc.Runs.empty() || !(Doc.Runs.back().Format == Format);
}

bool LooksLikeRtf(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
        bytes.remove_prefix(3);
    }
    std::size_t i = 0;
    while (i < bytes.size() &&
           (bytes[i] == ' ' || bytes[i] == '\t' || bytes[i] == '\r' || bytes[i] == '\n')) {
        ++i;
    }
    return bytes.substr(i, 5) == "{\\rtf";
}

} // namespace

ReadResult Read(std::string_view bytes)
{
    if (bytes.size() > MaxInputBytes) {
        ReadResult result;
        result.Error =
            "The file is larger than " + std::to_string(MaxInputBytes / (1024 * 1024)) + " MB.";
        return result;
    }
    if (!LooksLikeRtf(bytes)) {
        ReadResult result;
        result.Source = SourceKind::PlainText;
        result.Doc = ReadPlainText(bytes);
        return result;
    }
    const std::size_t start = bytes.find('{');
    return Reader(bytes.substr(start)).Parse();
}

} // namespace zor::rtf
