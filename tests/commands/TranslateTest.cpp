#include "commands/Translate.h"
#include "commands/Vocabulary.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

constexpr std::uint32_t Plain = 0x000000;
const std::uint32_t Transition = KindColour(TCommandKind::ckTransition);
const std::uint32_t Parameter = KindColour(TCommandKind::ckParameter);
const std::uint32_t Effect = KindColour(TCommandKind::ckEffect);
const std::uint32_t Style = KindColour(TCommandKind::ckStyle);
const std::uint32_t Black = KindColour(TCommandKind::ckBlack);

// A document built the way an operator writes it: symbols and digits in their kind colours,
// text in plain colour.
struct Doc
{
    std::vector<TCharacter> Chars;
    Doc &Sym(char symbol, std::uint32_t colour)
    {
        Chars.push_back({static_cast<unsigned char>(symbol), colour});
        return *this;
    }
    Doc &Num(const char *digits, std::uint32_t colour)
    {
        for (const char *d = digits; *d; ++d)
            Sym(*d, colour);
        return *this;
    }
    Doc &Txt(const std::string &text, std::uint32_t colour = Plain)
    {
        for (char c : text)
            Sym(c, colour);
        return *this;
    }
    TTranslation Run() const { return Translate(Chars); }
};

std::string P(const std::string &commands, const std::string &text)
{
    return commands + "\x1F" + text + "\x1F";
}

TEST(Translate, WorkedExampleOfAShortProgram)
{
    TTranslation t = Doc()
                         .Sym('k', Style)
                         .Sym(';', Transition)
                         .Txt("Hello")
                         .Sym('r', Parameter)
                         .Num("5", Parameter)
                         .Sym('=', Transition)
                         .Txt("Yo")
                         .Sym('Q', Effect)
                         .Run();
    EXPECT_EQ(t.Program, P("S0F1T0W5F3T1E3", "Hello\x1FYo\x1F"));
    EXPECT_EQ(t.Segments, 2);
}

TEST(Translate, ProgramsWithoutTextOrWithoutCommands)
{
    EXPECT_EQ(Doc().Run().Program, "\x1F\x1F");
    EXPECT_EQ(Doc().Txt("Hi").Run().Program, P("T0", "Hi"));
    EXPECT_EQ(Doc().Sym(':', Transition).Txt("Hi").Run().Program, P("T0", "Hi"))
        << "F0 has no code of its own";
    EXPECT_EQ(Doc().Sym(':', Transition).Run().Program, "\x1F\x1F");
    // What runs in the simulation, the preview and zor simulate: plain text gets its T0, a
    // document of nothing but an F0 transition has no command at all.
    EXPECT_TRUE(CanRun(Doc().Txt("Hi").Run().Program));
    EXPECT_TRUE(CanRun(Doc().Sym(';', Transition).Run().Program));
    EXPECT_FALSE(CanRun(Doc().Run().Program));
    EXPECT_FALSE(CanRun(Doc().Sym(':', Transition).Run().Program));
    EXPECT_FALSE(CanRun(""));
}

TEST(Translate, TransitionsWithoutTextGetAnEmptySegment)
{
    EXPECT_EQ(Doc().Sym(';', Transition).Run().Program, P("F1T0", "\x1F"));
    TTranslation two = Doc().Sym(';', Transition).Sym('<', Transition).Txt("AB").Run();
    EXPECT_EQ(two.Program, P("F1T0F2T1", "\x1F"
                                         "AB"));
    EXPECT_EQ(two.Segments, 1) << "the open run at the end is not counted";
    EXPECT_EQ(Doc().Sym(';', Transition).Sym('{', Black).Run().Program, P("F1T05", ""));
    EXPECT_EQ(Doc().Sym('A', Transition).Sym('|', Black).Txt("x").Run().Program, P("F7T06T0", "x"));
}

TEST(Translate, NumbersGoInFrontOfTheirCode)
{
    EXPECT_EQ(Doc().Sym('q', Parameter).Run().Program, P("L1", "")) << "digits deleted";
    EXPECT_EQ(Doc().Sym('Z', Effect).Num("10", Effect).Run().Program, P("R10E12", ""));
    EXPECT_EQ(Doc().Sym('[', Effect).Num("3", Effect).Run().Program, P("R3E13", ""));
    EXPECT_EQ(Doc().Sym('q', Parameter).Num("1234", Parameter).Run().Program, P("L123", ""))
        << "a fourth digit is dropped";
    EXPECT_EQ(Doc().Sym('r', Parameter).Num("05", Parameter).Txt("x").Run().Program,
              P("W05T0", "x"));
}

TEST(Translate, RepeatSymbolKeepsItsDigitsApartFromTheGroupBefore)
{
    // Without the repeat letter the 5 would join F1 into F1T05, a line of blanks.
    TTranslation t = Doc()
                         .Sym(';', Transition)
                         .Txt("Hi")
                         .Sym('s', Parameter)
                         .Num("5", Parameter)
                         .Sym('=', Transition)
                         .Txt("Yo")
                         .Run();
    EXPECT_EQ(t.Program, P("F1T0R5F3T1", "Hi\x1FYo"));
    EXPECT_EQ(Doc().Sym('s', Parameter).Run().Program, P("R1", ""));
}

TEST(Translate, DigitsAfterTextCloseTheRun)
{
    TTranslation t =
        Doc().Sym('k', Style).Txt("ab").Num("7", Style).Txt("cd").Sym('l', Style).Run();
    // The digit joins the pending S0 group's prefix; only the later run is referenced.
    EXPECT_EQ(t.Program, P("7S0T1S1", "ab\x1F"
                                      "cd\x1F"));
}

TEST(Translate, ColourSymbolsCarryTheirColourDigit)
{
    EXPECT_EQ(Doc().Sym('i', KindColour(TCommandKind::ckRed)).Run().Program, P("I2", ""));
    EXPECT_EQ(Doc().Sym('i', KindColour(TCommandKind::ckGreen)).Run().Program, P("I1", ""));
    EXPECT_EQ(Doc().Sym('j', KindColour(TCommandKind::ckRed)).Run().Program, P("P2", ""));
    EXPECT_EQ(Doc().Sym('j', KindColour(TCommandKind::ckGreen)).Run().Program, P("P1", ""));
}

TEST(Translate, CharactersAreMappedAndForeignOnesDropped)
{
    EXPECT_EQ(Doc().Txt("a_b").Run().Program, P("T0", "a\x0E"
                                                      "b"));
    // Windows-1250 letters with diacritics become their code page 852 codes.
    EXPECT_EQ(Doc().Txt("\xE8\x9E\xEC").Run().Program, P("T0", "\x9F\xA7\xD8"));
    // Code 0, a tag other than 001, and a tagged character outside the vocabulary.
    TTranslation t =
        Doc().Txt("a").Sym('\0', Plain).Sym('z', 0x020000).Txt("b").Sym('x', Black).Txt("c").Run();
    EXPECT_EQ(t.Program, P("T0T1", "ab\x1F"
                                   "c"));
    // A recoloured symbol is ordinary text.
    EXPECT_EQ(Doc().Sym(';', 0x0000FF).Run().Program, P("T0", ";"));
}

TEST(Translate, DisplayCharMapKeepsOnlyZeroAtZero)
{
    EXPECT_EQ(DisplayCharMap[0x00], 0x00);
    EXPECT_EQ(DisplayCharMap[0x1F], 0x1F);
    EXPECT_EQ(DisplayCharMap[0x5F], 0x0E);
    EXPECT_EQ(DisplayCharMap[0x80], 0x20);
    EXPECT_EQ(DisplayCharMap[0x8A], 0xE6); // S caron
    EXPECT_EQ(DisplayCharMap[0xAB], 0xAB);
    EXPECT_EQ(DisplayCharMap[0xB7], 0xFA);
    for (int i = 1; i < 256; ++i)
        EXPECT_NE(DisplayCharMap[std::size_t(i)], 0) << i;
    for (const TCommandButton &b : CommandButtons)
        EXPECT_EQ(DisplayCharMap[b.Symbol], b.Symbol) << b.Name;
}

TEST(Translate, SegmentLimitCountsClosedRunsAndEmptySegments)
{
    Doc ninetyNine;
    for (int i = 0; i < 100; ++i) {
        if (i > 0)
            ninetyNine.Sym('=', Transition);
        ninetyNine.Txt("x");
    }
    TTranslation open = ninetyNine.Run();
    EXPECT_EQ(open.Segments, 99);
    EXPECT_FALSE(open.TooManySegments());
    ninetyNine.Sym('=', Transition);
    TTranslation closed = ninetyNine.Run();
    EXPECT_EQ(closed.Segments, 101);
    EXPECT_TRUE(closed.TooManySegments());
}

TEST(Translate, LongProgramsAreNeverCut)
{
    Doc d;
    for (int i = 0; i < 5000; ++i)
        d.Sym(';', Transition);
    TTranslation t = d.Run();
    EXPECT_EQ(t.Segments, 5000);
    EXPECT_EQ(t.Program.size(), 5000 * 2 + std::string("T0T1T2T3T4T5T6T7T8T9").size() + 90 * 3 +
                                    900 * 4 + 4000 * 5 + 5000 + 2);
}

} // namespace
} // namespace zor
