// Translation of a document into the display program text: the command part, 0x1F, the text
// segments each ended by 0x1F, and a final 0x1F.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zor {

// Editor character code (Windows-1250) to display character code (code page 852 with a few
// substitutions). Only 0x00 maps to 0x00.
extern const std::array<unsigned char, 256> DisplayCharMap;

// More text segments than the panel can hold: the program is refused with this many or more.
inline constexpr int SegmentLimit = 100;

// Builds the program text from the document's characters, fed one by one in document order
// with the colour each carries (0x00BBGGRR). Characters are Windows-1250 codes; a paragraph end
// is fed as 0x0D and 0x0A, each with the colour it carries. The output grows as needed.
class TTranslator
{
public:
    void Add(unsigned char ch, std::uint32_t colour);
    void Add(std::string_view chars, std::uint32_t colour);

    // Closes the walk and returns the program text (without a terminating zero). Call once.
    std::string Finish();

    // Number of text segments placed so far (the segment counter).
    int Segments() const { return SegmentCount; }

private:
    void Flush(int nextSymbol); // nextSymbol -1: the final flush
    void CloseTextRun();

    std::string Commands;
    std::string Text;
    std::string Prefix;
    std::string Code;
    int Reference = -1; // segment number of the pending group's "T" reference, -1 for none
    bool InText = false;
    int SegmentCount = 0;
};

struct TTranslation
{
    std::string Program;
    int Segments = 0;

    bool TooManySegments() const { return Segments >= SegmentLimit; }
};

// Whether a program can run: the one rule of the Simulation command, the live preview and
// `zor simulate`. It must have commands; a program of text alone (it starts with the separator)
// would show a dark panel. A translation with too many segments is refused before this is asked,
// with a message of its own (TTranslation::TooManySegments).
bool CanRun(std::string_view program);

// One document as parallel strings of Windows-1250 codes and colours.
struct TCharacter
{
    unsigned char Code;
    std::uint32_t Colour;
};

template <typename Range> TTranslation Translate(const Range &characters)
{
    TTranslator t;
    for (const TCharacter &c : characters)
        t.Add(c.Code, c.Colour);
    TTranslation result;
    result.Program = t.Finish();
    result.Segments = t.Segments();
    return result;
}

} // namespace zor
