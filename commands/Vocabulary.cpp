#include "commands/Vocabulary.h"

#include "base/TranslateNoop.h"

#include <algorithm>

namespace zor {

namespace {
using enum TCommandKind;
}

const std::array<TCommandButton, CommandButtonCount> CommandButtons = {{
    // F0 is the display's default transition: its symbol sets nothing.
    {"ButtonF0", 0x3A, ckTransition, 0, 0, 0, "", "",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Move text in from right|It moves the text in from the right")},
    {"ButtonF1", 0x3B, ckTransition, 0, 0, 0, "", "F1",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Move text in from right at half-speed|It moves the text in "
                                      "from the right at a half-speed")},
    {"ButtonF2", 0x3C, ckTransition, 0, 0, 0, "", "F2",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Move text in from top|It moves the text in from the top")},
    {"ButtonF3", 0x3D, ckTransition, 0, 0, 0, "", "F3",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Display text directly|It displays the text directly")},
    {"ButtonF4", 0x3E, ckTransition, 0, 0, 0, "", "F4",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Move text in from bottom|It moves the text in from the bottom")},
    {"ButtonF6", 0x40, ckTransition, 0, 0, 0, "", "F6",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Alternate texts|The new and old texts are alternately "
                                      "displayed with a frequency of 0.5 Hz")},
    {"ButtonF7", 0x41, ckTransition, 0, 0, 0, "", "F7",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Move in matched lines|The new moves in both from the right "
                                      "and left through matched lines")},
    {"ButtonF8", 0x42, ckTransition, 0, 0, 0, "", "F8",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Snow text|The new text overwrites the old one by the "
                                      "gradual random start of display of new "
                                      "text dots (snowing effect ).")},
    {"ButtonF9", 0x43, ckTransition, 0, 0, 0, "", "F9",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Overwrite from sides|Two converging vertical lines "
                                      "overwrite the old text with a new one")},
    {"ButtonF11", 0x45, ckTransition, 0, 0, 0, "", "F11",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Overwrite from centre|Two vertical lines moving apart from "
                                      "the centre overwrite the old text "
                                      "with a new one.")},
    {"ButtonF13", 0x47, ckTransition, 0, 0, 0, "", "F13",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Move text in from left|It moves the text in from the left")},
    {"ButtonF14", 0x48, ckTransition, 0, 0, 0, "", "F14",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Uncover text by falling dots|Falling dots uncover the new text")},
    {"ButtonLxx", 0x71, ckParameter, 1, 1, 8, "L", "",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Set line|It sets the line for displaying the following text")},
    // The repeat symbol sets the display's repeat letter so that its digits can never run into
    // the digits of the group before it.
    {"ButtonRxx", 0x73, ckParameter, 2, 2, 99, "R", "",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Repeat|It repeats the texts and commands within the "
                                      "brackets for a certain number of times")},
    {"ButtonWxx", 0x72, ckParameter, 2, 1, 99, "W", "",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Pause|Pause in seconds (1 - 99) or miliseconds (01 - 09)")},
    {"ButtonS0", 0x6B, ckStyle, 0, 0, 0, "", "S0",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Blinking on|It swtches the blinking on. The following text "
                                      "will blink until it is switched "
                                      "off")},
    {"ButtonS1", 0x6C, ckStyle, 0, 0, 0, "", "S1",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Blinking off|It swtched the blinking off")},
    {"ButtonS4", 0x5D, ckStyle, 0, 0, 0, "", "S4",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Normal non-proportional font|Normal non-proportional font (default)")},
    {"ButtonS3", 0x60, ckStyle, 0, 0, 0, "", "S3", ZOR_TRANSLATE_NOOP("Vocabulary", "Bold font")},
    {"ButtonS2", 0x61, ckStyle, 0, 0, 0, "", "S2", ZOR_TRANSLATE_NOOP("Vocabulary", "Wide font")},
    {"ButtonE0", 0x4E, ckEffect, 0, 0, 0, "", "E0",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Display propellers|It displays spinning propellers for 5 seconds")},
    {"ButtonE1", 0x4F, ckEffect, 0, 0, 0, "", "E1",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Streams|It displays 2 streams of lines moving against each other")},
    {"ButtonE2", 0x50, ckEffect, 0, 0, 0, "", "E2",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Blink motive|The last displayed motive blinks for 5 seconds")},
    {"ButtonE3", 0x51, ckEffect, 0, 0, 0, "", "E3",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Clear all|It clears the whole display")},
    {"ButtonE4", 0x52, ckEffect, 0, 0, 0, "", "E4",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Circulating frame|It displays a circulating frame around the text")},
    {"ButtonE7", 0x55, ckEffect, 0, 0, 0, "", "E7",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Clear from centre|Two vertical lines moving apart from the "
                                      "centre clear the whole display")},
    {"ButtonE8", 0x56, ckEffect, 0, 0, 0, "", "E8",
     ZOR_TRANSLATE_NOOP(
         "Vocabulary",
         "Light up from centre|Two vertical lines moving apart from the centre light up the whole "
         "display")},
    {"ButtonE9", 0x57, ckEffect, 0, 0, 0, "", "E9",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Image inversion")},
    {"ButtonE12", 0x5A, ckEffect, 2, 1, 99, "R", "E12",
     ZOR_TRANSLATE_NOOP(
         "Vocabulary", "Time|Displays the time (HH:MM:SS format) for a certain number of seconds")},
    {"ButtonE13", 0x5B, ckEffect, 2, 1, 99, "R", "E13",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Date and time|Displays the date and time (DD:MM, HH:MM:SS "
                                      "format) for a certain number of "
                                      "seconds")},
    {"ButtonT05", 0x7B, ckBlack, 0, 0, 0, "", "T05",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Spaces|A string of spaces along the whole display")},
    {"ButtonT06", 0x7C, ckBlack, 0, 0, 0, "", "T06",
     ZOR_TRANSLATE_NOOP("Vocabulary",
                        "Full character|A string of full characters along the whole display")},
    {"ButtonI1", 0x69, ckRed, 0, 0, 0, "", "I",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Font color - Red|Font color - Red (default)"), true},
    {"ButtonI2", 0x69, ckGreen, 0, 0, 0, "", "I",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Font color - Green"), true},
    {"ButtonI3", 0x69, ckYellow, 0, 0, 0, "", "I",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Font color - Yellow"), true},
    {"ButtonI0", 0x69, ckBlack, 0, 0, 0, "", "I",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Font color - Black"), true},
    {"ButtonP0", 0x6A, ckBlack, 0, 0, 0, "", "P",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Backgroun color - Black|Background color - Black (default)"),
     true},
    {"ButtonP1", 0x6A, ckRed, 0, 0, 0, "", "P",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Backgroung color - Red"), true},
    {"ButtonP2", 0x6A, ckGreen, 0, 0, 0, "", "P",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Background color - Green"), true},
    {"ButtonP3", 0x6A, ckYellow, 0, 0, 0, "", "P",
     ZOR_TRANSLATE_NOOP("Vocabulary", "Background color - Yellow"), true},
}};

const TCommandButton *FindCommandButton(std::string_view name)
{
    auto it = std::find_if(CommandButtons.begin(), CommandButtons.end(),
                           [name](const TCommandButton &b) { return b.Name == name; });
    return it == CommandButtons.end() ? nullptr : &*it;
}

TSymbolCode SymbolCode(unsigned char symbol, std::uint32_t colour)
{
    // The colour buttons share their symbol; any of them tells the code, the colour its digit.
    const auto it = std::find_if(CommandButtons.begin(), CommandButtons.end(),
                                 [symbol](const TCommandButton &b) { return b.Symbol == symbol; });
    if (it == CommandButtons.end())
        return {};
    std::string code(it->Code);
    if (it->CodeTakesColour)
        code += ColourDigit(colour);
    return {it->Prefix, std::move(code)};
}

bool IsVocabularySymbol(unsigned char symbol)
{
    return std::any_of(CommandButtons.begin(), CommandButtons.end(),
                       [symbol](const TCommandButton &b) { return b.Symbol == symbol; });
}

std::string_view GetShortHint(std::string_view hint)
{
    return hint.substr(0, hint.find('|'));
}

std::string_view GetLongHint(std::string_view hint)
{
    auto bar = hint.find('|');
    return bar == std::string_view::npos ? hint : hint.substr(bar + 1);
}

TSymbolTip SymbolTipParts(unsigned char symbol, std::uint32_t colour, std::string_view digits,
                          int text)
{
    using enum TSymbolTip::TNumber;
    TSymbolTip tip;
    for (const TCommandButton &b : CommandButtons) {
        if (b.Symbol != symbol)
            continue;
        // The colour symbols share one character; the colour picks the button.
        if ((symbol == 'i' || symbol == 'j') && ColourDigit(b.Colour()) != ColourDigit(colour))
            continue;
        tip.Button = &b;
        break;
    }
    if (!tip.Button)
        return tip;
    const TCommandButton &button = *tip.Button;
    if (button.TakesNumber() && !digits.empty()) {
        const int n = std::stoi(std::string(digits));
        tip.Digits = digits;
        // 0 counts as 256 on the panel.
        tip.Value = n == 0 ? 256 : n;
        if (button.Name == "ButtonWxx") {
            // A leading zero makes tenths of a second.
            tip.Number =
                n != 0 && digits.size() == 2 && digits[0] == '0' ? PauseTenths : PauseSeconds;
        } else if (button.Name == "ButtonLxx") {
            tip.Number = Line;
        } else if (button.Name == "ButtonE12" || button.Name == "ButtonE13") {
            // Each repeat shows the clock for about a second.
            tip.Number = Seconds;
        } else {
            tip.Number = Times;
        }
    } else if (button.Kind == TCommandKind::ckTransition && text > 0) {
        tip.Number = Text;
        tip.Value = text;
    }
    return tip;
}

std::string_view OrdinalSuffix(int n)
{
    const int tens = n % 100 / 10, ones = n % 10;
    return tens == 1 || ones == 0 || ones > 3 ? "th" : ones == 1 ? "st" : ones == 2 ? "nd" : "rd";
}

std::string SymbolTooltip(unsigned char symbol, std::uint32_t colour, std::string_view digits,
                          int text)
{
    using enum TSymbolTip::TNumber;
    const TSymbolTip tip = SymbolTipParts(symbol, colour, digits, text);
    if (!tip.Button)
        return {};
    const std::string hint(GetShortHint(tip.Button->Hint));
    const std::string value = std::to_string(tip.Value);
    switch (tip.Number) {
    case None:
        break;
    case PauseSeconds:
        return hint + " " + tip.Digits + ": " + value + " s";
    case PauseTenths:
        return hint + " " + tip.Digits + ": 0." + value + " s";
    case Line:
        return hint + ": " + tip.Digits;
    case Seconds:
        return hint + ": " + value + " s";
    case Times:
        return hint + ": " + value + (tip.Value == 1 ? " time" : " times");
    case Text:
        return hint + ", the " + value + std::string(OrdinalSuffix(tip.Value)) + " text";
    }
    return hint;
}

} // namespace zor
