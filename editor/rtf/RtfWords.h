// The control words the RTF reader acts on, apart from the reader that acts on them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zor::rtf {

// What a control word means to the reader.
enum class Word : std::uint8_t {
    Unknown, // a word the reader ignores
    Skip,    // a destination whose content is not text
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    FontTbl,
    ColorTbl,
    FName,
    F,
    FCharset,
    Red,
    Green,
    Blue,
    Cf,
    Fs,
    B,
    I,
    Ul,
    UlNone,
    Strike,
    Plain,
    Par,
    Line,
    Tab,
    Cell,
    Row,
    U,
    Uc,
    Bin,
    FldRslt, // a field's result: its visible text
    Char,    // a word that stands for one character; the last kind
};

inline constexpr std::size_t WordKinds = static_cast<std::size_t>(Word::Char) + 1;

struct WordInfo
{
    Word Kind = Word::Unknown;
    char32_t Ch = 0; // with Word::Char: the character the word stands for
};

// What word (the letters after the backslash, case-sensitive) means; Word::Unknown for any word
// the reader does not act on.
WordInfo LookUpWord(std::string_view word);

} // namespace zor::rtf
