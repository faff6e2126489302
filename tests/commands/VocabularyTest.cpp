#include "commands/Vocabulary.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace zor {
namespace {

// The code each button's symbol produces in the program text, with its own colour; numbered
// commands show where the number goes as "n".
std::string CodeOf(const TCommandButton &b)
{
    TSymbolCode c = SymbolCode(b.Symbol, b.Colour());
    std::string out(c.Prefix);
    if (b.TakesNumber())
        out += "n";
    return out + c.Code;
}

TEST(Vocabulary, EveryButtonHasItsSymbolKindAndCodeInToolbarOrder)
{
    using enum TCommandKind;
    struct Row
    {
        const char *Name;
        unsigned char Symbol;
        TCommandKind Kind;
        const char *Code;
    };
    const Row expected[] = {
        {"ButtonF0", ':', ckTransition, ""},     {"ButtonF1", ';', ckTransition, "F1"},
        {"ButtonF2", '<', ckTransition, "F2"},   {"ButtonF3", '=', ckTransition, "F3"},
        {"ButtonF4", '>', ckTransition, "F4"},   {"ButtonF6", '@', ckTransition, "F6"},
        {"ButtonF7", 'A', ckTransition, "F7"},   {"ButtonF8", 'B', ckTransition, "F8"},
        {"ButtonF9", 'C', ckTransition, "F9"},   {"ButtonF11", 'E', ckTransition, "F11"},
        {"ButtonF13", 'G', ckTransition, "F13"}, {"ButtonF14", 'H', ckTransition, "F14"},
        {"ButtonLxx", 'q', ckParameter, "Ln"},   {"ButtonRxx", 's', ckParameter, "Rn"},
        {"ButtonWxx", 'r', ckParameter, "Wn"},   {"ButtonS0", 'k', ckStyle, "S0"},
        {"ButtonS1", 'l', ckStyle, "S1"},        {"ButtonS4", ']', ckStyle, "S4"},
        {"ButtonS3", '`', ckStyle, "S3"},        {"ButtonS2", 'a', ckStyle, "S2"},
        {"ButtonE0", 'N', ckEffect, "E0"},       {"ButtonE1", 'O', ckEffect, "E1"},
        {"ButtonE2", 'P', ckEffect, "E2"},       {"ButtonE3", 'Q', ckEffect, "E3"},
        {"ButtonE4", 'R', ckEffect, "E4"},       {"ButtonE7", 'U', ckEffect, "E7"},
        {"ButtonE8", 'V', ckEffect, "E8"},       {"ButtonE9", 'W', ckEffect, "E9"},
        {"ButtonE12", 'Z', ckEffect, "RnE12"},   {"ButtonE13", '[', ckEffect, "RnE13"},
        {"ButtonT05", '{', ckBlack, "T05"},      {"ButtonT06", '|', ckBlack, "T06"},
        {"ButtonI1", 'i', ckRed, "I2"},          {"ButtonI2", 'i', ckGreen, "I1"},
        {"ButtonI3", 'i', ckYellow, "I3"},       {"ButtonI0", 'i', ckBlack, "I0"},
        {"ButtonP0", 'j', ckBlack, "P0"},        {"ButtonP1", 'j', ckRed, "P2"},
        {"ButtonP2", 'j', ckGreen, "P1"},        {"ButtonP3", 'j', ckYellow, "P3"},
    };
    ASSERT_EQ(std::size(expected), CommandButtons.size());
    for (std::size_t i = 0; i < CommandButtons.size(); ++i) {
        SCOPED_TRACE(expected[i].Name);
        EXPECT_EQ(CommandButtons[i].Name, expected[i].Name);
        EXPECT_EQ(CommandButtons[i].Symbol, expected[i].Symbol);
        EXPECT_EQ(CommandButtons[i].Kind, expected[i].Kind);
        EXPECT_EQ(CodeOf(CommandButtons[i]), expected[i].Code);
    }
}

TEST(Vocabulary, NumberedCommandsHaveTheirDigitsAndRanges)
{
    struct Row
    {
        const char *Name;
        int Digits, Min, Max;
    };
    for (Row r : {Row{"ButtonLxx", 1, 1, 8}, Row{"ButtonRxx", 2, 2, 99}, Row{"ButtonWxx", 2, 1, 99},
                  Row{"ButtonE12", 2, 1, 99}, Row{"ButtonE13", 2, 1, 99}}) {
        const TCommandButton *b = FindCommandButton(r.Name);
        ASSERT_NE(b, nullptr) << r.Name;
        EXPECT_EQ(b->Digits, r.Digits) << r.Name;
        EXPECT_EQ(b->Minimum, r.Min) << r.Name;
        EXPECT_EQ(b->Maximum, r.Max) << r.Name;
    }
    int numbered = 0;
    for (const auto &b : CommandButtons)
        numbered += b.TakesNumber();
    EXPECT_EQ(numbered, 5);
}

TEST(Vocabulary, EveryKindColourIsATaggedSymbolColour)
{
    for (const auto &b : CommandButtons) {
        EXPECT_TRUE(IsCommandSymbol(b.Colour())) << b.Name;
        EXPECT_FALSE(IsPlainText(b.Colour())) << b.Name;
    }
    EXPECT_EQ(KindColour(TCommandKind::ckTransition), 0xF90000u);
    EXPECT_EQ(KindColour(TCommandKind::ckParameter), 0x010080u);
    EXPECT_EQ(KindColour(TCommandKind::ckYellow), 0x01FFFFu);
}

TEST(Vocabulary, TagBitsOtherThan001AreNeitherSymbolNorText)
{
    EXPECT_TRUE(IsPlainText(0x000000));
    EXPECT_TRUE(IsPlainText(0xF8FFFF)); // blue 248 ends in 000
    for (std::uint32_t tag = 2; tag < 8; ++tag) {
        const std::uint32_t colour = 0x800000 | (tag << 16);
        EXPECT_FALSE(IsCommandSymbol(colour)) << tag;
        EXPECT_FALSE(IsPlainText(colour)) << tag;
    }
}

TEST(Vocabulary, ColourSymbolsTakeTheirDigitFromRedAndGreen)
{
    EXPECT_EQ(SymbolCode('i', KindColour(TCommandKind::ckRed)).Code, "I2");
    EXPECT_EQ(SymbolCode('i', KindColour(TCommandKind::ckGreen)).Code, "I1");
    EXPECT_EQ(SymbolCode('i', KindColour(TCommandKind::ckYellow)).Code, "I3");
    EXPECT_EQ(SymbolCode('i', KindColour(TCommandKind::ckBlack)).Code, "I0");
    EXPECT_EQ(SymbolCode('j', KindColour(TCommandKind::ckRed)).Code, "P2");
    EXPECT_EQ(SymbolCode('j', KindColour(TCommandKind::ckYellow)).Code, "P3");
    // A tagged blue, and a tagged colour with some red and green that is none of the three.
    EXPECT_EQ(SymbolCode('i', 0x810000).Code, "I0"); // tagged blue
    EXPECT_EQ(SymbolCode('j', 0x01FE01).Code, "P0");
    EXPECT_EQ(SymbolCode('j', 0xF90000).Code, "P0");
}

TEST(Vocabulary, CharactersOutsideTheVocabularySetNothing)
{
    for (unsigned char ch : std::string_view("xDFI09\0\xFF", 8)) {
        TSymbolCode c = SymbolCode(ch, 0x010000);
        EXPECT_TRUE(c.Prefix.empty()) << int(ch);
        EXPECT_TRUE(c.Code.empty()) << int(ch);
    }
    EXPECT_FALSE(IsVocabularySymbol('x'));
    EXPECT_TRUE(IsVocabularySymbol(':'));
}

TEST(Vocabulary, HintsKeepTheirStoredTextsAndSplitAtTheBar)
{
    const TCommandButton *wxx = FindCommandButton("ButtonWxx");
    EXPECT_EQ(GetShortHint(wxx->Hint), "Pause");
    EXPECT_EQ(GetLongHint(wxx->Hint), "Pause in seconds (1 - 99) or miliseconds (01 - 09)");
    const TCommandButton *s0 = FindCommandButton("ButtonS0");
    EXPECT_EQ(GetLongHint(s0->Hint),
              "It swtches the blinking on. The following text will blink until it is switched off");
    EXPECT_EQ(GetShortHint(FindCommandButton("ButtonP0")->Hint), "Backgroun color - Black");
    EXPECT_EQ(GetShortHint(FindCommandButton("ButtonP1")->Hint), "Backgroung color - Red");
    EXPECT_EQ(GetLongHint(FindCommandButton("ButtonF8")->Hint),
              "The new text overwrites the old one by the gradual random start of display of new "
              "text dots (snowing effect ).");
    // Without a bar one text serves both.
    const TCommandButton *e9 = FindCommandButton("ButtonE9");
    EXPECT_EQ(GetShortHint(e9->Hint), "Image inversion");
    EXPECT_EQ(GetLongHint(e9->Hint), "Image inversion");
    std::set<std::string_view> shortHints;
    for (const auto &b : CommandButtons)
        shortHints.insert(GetShortHint(b.Hint));
    EXPECT_EQ(shortHints.size(), CommandButtons.size()) << "every button has its own tooltip";
}

} // namespace
} // namespace zor

namespace zor {
namespace {

TEST(SymbolTooltip, NamesTheCommandWithItsNumberInWords)
{
    EXPECT_EQ(SymbolTooltip('r', KindColour(TCommandKind::ckParameter), "05"), "Pause 05: 0.5 s");
    EXPECT_EQ(SymbolTooltip('r', KindColour(TCommandKind::ckParameter), "5"), "Pause 5: 5 s");
    EXPECT_EQ(SymbolTooltip('r', KindColour(TCommandKind::ckParameter), "20"), "Pause 20: 20 s");
    // The panel counts a pause of 0 as 256 seconds.
    EXPECT_EQ(SymbolTooltip('r', KindColour(TCommandKind::ckParameter), "0"), "Pause 0: 256 s");
    EXPECT_EQ(SymbolTooltip('q', KindColour(TCommandKind::ckParameter), "3"), "Set line: 3");
    // The clock's number is seconds, not repeats.
    EXPECT_EQ(SymbolTooltip('Z', KindColour(TCommandKind::ckEffect), "1"), "Time: 1 s");
    EXPECT_EQ(SymbolTooltip('[', KindColour(TCommandKind::ckEffect), "30"), "Date and time: 30 s");
    EXPECT_EQ(SymbolTooltip('s', KindColour(TCommandKind::ckParameter), "1"), "Repeat: 1 time");
    EXPECT_EQ(SymbolTooltip(':', KindColour(TCommandKind::ckTransition), "", 1),
              "Move text in from right, the 1st text");
    EXPECT_EQ(SymbolTooltip(':', KindColour(TCommandKind::ckTransition), "", 12),
              "Move text in from right, the 12th text");
    EXPECT_EQ(SymbolTooltip(':', KindColour(TCommandKind::ckTransition), "", 23),
              "Move text in from right, the 23rd text");
    EXPECT_EQ(SymbolTooltip(':', KindColour(TCommandKind::ckTransition), "", 0),
              "Move text in from right")
        << "no text of its own: no number";
    EXPECT_EQ(SymbolTooltip('k', KindColour(TCommandKind::ckStyle), ""), "Blinking on");
}

TEST(SymbolTooltip, ColourSymbolsNameTheirColourAndStrangersHaveNone)
{
    EXPECT_EQ(SymbolTooltip('i', KindColour(TCommandKind::ckRed), ""), "Font color - Red");
    EXPECT_EQ(SymbolTooltip('i', KindColour(TCommandKind::ckGreen), ""), "Font color - Green");
    EXPECT_EQ(SymbolTooltip('j', KindColour(TCommandKind::ckYellow), ""),
              "Background color - Yellow");
    // A tagged blue is none of the colours: black, as the translation reads it.
    EXPECT_EQ(SymbolTooltip('j', 0x810000, ""), "Backgroun color - Black");
    EXPECT_EQ(SymbolTooltip('x', KindColour(TCommandKind::ckStyle), ""), "");
}

} // namespace
} // namespace zor
