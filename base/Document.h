// The document model of a ZorEdit document. Plain C++, no Qt; its RTF codec is in
// editor/rtf/RtfCodec.h.
//
// A document is a flat list of runs. Each run is a stretch of Unicode code points (UTF-32) that
// share one character format. Line ends are part of the text: U+000A ('\n') ends a paragraph,
// U+0009 is a tab. A document of N lines holds N - 1 line ends: the last paragraph has no mark
// of its own, so "Hello" is one line and "Hello\n" is a line followed by an empty one. No other
// control character below U+0020 is kept. Reading maps \par, \line and \row to '\n' and \tab
// and \cell to '\t'; the model has one kind of line end, written back as \par.
//
// Command symbols are characters of the symbol font (face ZorSymbolFont, charset 2 as ZorEdit
// writes it), held at their byte code U+0020..U+00FF; a tagged colour makes them commands (see
// base/SymbolTag.h). The codec never touches a colour: every run's 24-bit colour comes back bit
// for bit.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace zor::doc {

// RTF charset numbers (\fcharset) that the codec knows by name.
inline constexpr int AnsiCharset = 0;
inline constexpr int DefaultCharset = 1;
inline constexpr int SymbolCharset = 2;
inline constexpr int EastEuropeCharset = 238;

struct CharFormat
{
    std::string Face = "Arial";      // UTF-8 face name
    int Charset = EastEuropeCharset; // RTF \fcharset value, 0..255
    int HalfPoints = 24;             // size in half-points as in \fs, 1..32767
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    // 0x00BBGGRR. Only the low 24 bits are stored in a file; the top byte must be 0.
    std::uint32_t Colour = 0;

    bool operator==(const CharFormat &) const = default;
};

// The format of plain text and of a new document: Arial, charset 238, 12 points, black, untagged.
inline const CharFormat &DefaultFormat()
{
    static const CharFormat format;
    return format;
}

// A character format held once and shared by the runs that have it, so that a document of many
// short runs (a format change every character or two) costs little more than its text. Reads
// like a const CharFormat; compares by value.
class FormatRef
{
public:
    FormatRef(); // the default format
    FormatRef(
        const CharFormat &format); // a format of its own (implicit: runs are built from formats)

    const CharFormat &operator*() const { return *Shared; }
    const CharFormat *operator->() const { return Shared.get(); }
    operator const CharFormat &() const { return *Shared; }

    bool operator==(const FormatRef &other) const
    {
        return Shared == other.Shared || *Shared == *other.Shared;
    }
    bool operator==(const CharFormat &format) const { return *Shared == format; }

private:
    std::shared_ptr<const CharFormat> Shared;
};

// Hands out one FormatRef per distinct format, so equal formats share one copy.
class FormatPool
{
public:
    FormatRef Get(const CharFormat &format);

private:
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(const CharFormat &format) const;
        std::size_t operator()(const FormatRef &format) const { return (*this)(*format); }
    };
    struct Equal
    {
        using is_transparent = void;
        bool operator()(const FormatRef &a, const FormatRef &b) const { return a == b; }
        bool operator()(const CharFormat &a, const FormatRef &b) const { return b == a; }
        bool operator()(const FormatRef &a, const CharFormat &b) const { return a == b; }
    };
    std::unordered_set<FormatRef, Hash, Equal> Formats;
};

struct TextRun
{
    FormatRef Format;
    std::u32string Text;

    bool operator==(const TextRun &) const = default;
};

struct Document
{
    // A deque: growing it never holds two copies of the runs at once.
    std::deque<TextRun> Runs;

    // Appends text in the given format, extending the last run when its format is the same.
    // Empty text is ignored.
    void Append(const CharFormat &format, std::u32string_view text);
    void Append(const CharFormat &format, char32_t ch);

    // All characters of the document, without formats.
    std::u32string Text() const;
    std::size_t Length() const;

    // Equality of runs as stored: documents that split the same text differently differ. The
    // reader always returns merged runs; use Normalized() on hand-made documents before
    // comparing them with a document that has been read.
    bool operator==(const Document &other) const { return Runs == other.Runs; }

private:
    // Formats of the runs that Append made; shared by copies of the document.
    std::shared_ptr<FormatPool> Pool;
};

// The same document with empty runs dropped and neighbouring runs of one format merged.
Document Normalized(const Document &document);

// Reads bytes as plain text in DefaultFormat(), as Read does for a file that is not RTF. It has
// no size limit of its own: bytes from outside should be held to MaxInputBytes first.
Document ReadPlainText(std::string_view bytes);

} // namespace zor::doc
