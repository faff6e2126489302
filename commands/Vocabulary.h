// The command vocabulary: the forty command buttons, the kinds of command symbol with their
// colours and the code each symbol stands for.
//
// Colours are 32-bit values in the 0x00BBGGRR layout that documents store; the tag that marks a
// command symbol is in base/SymbolTag.h.
#pragma once

#include "base/SymbolTag.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zor {

enum class TCommandKind : std::uint8_t {
    ckTransition,
    ckParameter,
    ckStyle,
    ckEffect,
    ckBlack,
    ckRed,
    ckGreen,
    ckYellow,
};

// Colour value (0x00BBGGRR) that marks a symbol of the kind; every one carries the symbol tag.
constexpr std::uint32_t KindColour(TCommandKind kind)
{
    switch (kind) {
    case TCommandKind::ckTransition:
        return 0xF90000;
    case TCommandKind::ckParameter:
        return 0x010080;
    case TCommandKind::ckStyle:
        return 0x018000;
    case TCommandKind::ckEffect:
        return 0x810000;
    case TCommandKind::ckBlack:
        return 0x010000;
    case TCommandKind::ckRed:
        return 0x0100FF;
    case TCommandKind::ckGreen:
        return 0x01FF00;
    case TCommandKind::ckYellow:
        return 0x01FFFF;
    }
    return 0x010000;
}

// The display's colour number ('0' black, '1' green, '2' red, '3' yellow) that a text-colour
// ("i") or background-colour ("j") symbol of this colour selects. Only the red and green
// components count, so a tagged colour that is none of red, green and yellow gives '0'.
constexpr char ColourDigit(std::uint32_t colour)
{
    switch (colour & 0xFFFF) {
    case 0xFFFF:
        return '3';
    case 0x00FF:
        return '2';
    case 0xFF00:
        return '1';
    default:
        return '0';
    }
}

// The numbered commands write their number as these digit symbols right after the symbol.
inline constexpr unsigned char FirstDigitSymbol = '0';
inline constexpr unsigned char LastDigitSymbol = '9';

constexpr bool IsDigitSymbol(unsigned char ch)
{
    return ch >= FirstDigitSymbol && ch <= LastDigitSymbol;
}

// One command button. Digits, Minimum and Maximum describe the number that the Enter Parameter
// dialog asks for; Digits is 0 for the commands that take none. Prefix and Code are what the
// symbol starts in the program text (see SymbolCode); a colour button's code ends in the digit
// of the symbol's colour, so the colour, not the button, picks it. Hint is stored as the program
// shows it: the short hint, a vertical bar and the long hint, or one text that serves as both.
struct TCommandButton
{
    std::string_view Name;
    unsigned char Symbol;
    TCommandKind Kind;
    int Digits;
    int Minimum;
    int Maximum;
    std::string_view Prefix;
    std::string_view Code;
    std::string_view Hint;
    bool CodeTakesColour = false;

    constexpr std::uint32_t Colour() const { return KindColour(Kind); }
    constexpr bool TakesNumber() const { return Digits > 0; }
};

inline constexpr std::size_t CommandButtonCount = 40;
// The first twenty buttons sit on the second toolbar, the other twenty on the third.
inline constexpr std::size_t ButtonsPerToolBar = 20;

// The buttons in toolbar order; their index is also their image index.
extern const std::array<TCommandButton, CommandButtonCount> CommandButtons;

// The six buttons that stay disabled for the whole run: their symbols reach a document only by
// pasting or loading.
inline constexpr std::array<std::string_view, 6> NeverEnabledButtons = {
    "ButtonLxx", "ButtonRxx", "ButtonI2", "ButtonI3", "ButtonP2", "ButtonP3"};

// Looks a button up by name; nullptr when there is none.
const TCommandButton *FindCommandButton(std::string_view name);

// What a non-digit command symbol starts in the program text: a prefix letter ("L", "W" or "R",
// to which the digit symbols that follow append their digits) and the command code ("F1", "E12",
// "I2", ...). Both are empty for a symbol that sets nothing (F0, or a tagged character outside
// the vocabulary). The colour matters only for the "i" and "j" symbols.
struct TSymbolCode
{
    std::string_view Prefix;
    std::string Code;
};
TSymbolCode SymbolCode(unsigned char symbol, std::uint32_t colour);

// True for a character that the vocabulary knows as a command symbol (digits excluded).
bool IsVocabularySymbol(unsigned char symbol);

// The tooltip of a command symbol in the text: its button's short hint (for "i" and "j" the
// button of its colour) with its number in words: "Pause 05: 0.5 s", "Set line: 3",
// "Repeat: 5 times", "Time: 10 s"; for a transition, text > 0 names the text it brings in,
// counted from 1 ("Move text in from right, the 3rd text"). digits are the digit symbols that
// follow the symbol. Empty for a character outside the vocabulary.
std::string SymbolTooltip(unsigned char symbol, std::uint32_t colour, std::string_view digits,
                          int text = 0);

// The same tooltip in parts, for the editor, which words it in the operator's language: the
// button (nullptr outside the vocabulary), which number the tooltip names and how.
struct TSymbolTip
{
    enum class TNumber : std::uint8_t {
        None,         // the short hint alone
        PauseSeconds, // "Pause 20: 20 s": Digits, Value seconds (0 counts as 256)
        PauseTenths,  // "Pause 05: 0.5 s": Digits, Value tenths of a second
        Line,         // "Set line: 3": Digits
        Seconds,      // "Time: 10 s": Value
        Times,        // "Repeat: 5 times": Value
        Text,         // "Move text in from right, the 3rd text": Value, counted from 1
    };
    const TCommandButton *Button = nullptr;
    TNumber Number = TNumber::None;
    std::string Digits;
    int Value = 0;
};
TSymbolTip SymbolTipParts(unsigned char symbol, std::uint32_t colour, std::string_view digits,
                          int text = 0);

// The English ordinal ending of n: "st", "nd", "rd" or "th" (1st, 12th, 23rd).
std::string_view OrdinalSuffix(int n);

// The two halves of a stored hint. Without a bar both are the whole text.
std::string_view GetShortHint(std::string_view hint);
std::string_view GetLongHint(std::string_view hint);

} // namespace zor
