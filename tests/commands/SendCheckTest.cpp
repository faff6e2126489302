#include "commands/SendCheck.h"
#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

doc::CharFormat Format(std::uint32_t colour)
{
    doc::CharFormat f;
    f.Colour = colour;
    return f;
}

const doc::CharFormat Plain = Format(0);
const doc::CharFormat Transition = Format(KindColour(TCommandKind::ckTransition));

bool EmptyAfterTranslation(const doc::Document &d)
{
    return IsEmptyProgram(TranslateDocument(d).Program);
}

TEST(SendCheck, OnlyAProgramThatShowsNothingCountsAsEmpty)
{
    doc::Document d;
    EXPECT_TRUE(EmptyAfterTranslation(d)) << "no characters at all";
    d.Append(Plain, U"  \n \n");
    EXPECT_TRUE(EmptyAfterTranslation(d)) << "blanks and line ends only";

    doc::Document text;
    text.Append(Plain, U"Hi");
    EXPECT_FALSE(EmptyAfterTranslation(text));

    doc::Document effect;
    effect.Append(Format(KindColour(TCommandKind::ckEffect)), U"a"); // an effect needs no text
    EXPECT_FALSE(EmptyAfterTranslation(effect));

    EXPECT_TRUE(IsEmptyProgram(""));
    EXPECT_TRUE(IsEmptyProgram("T0T1\x1F \x1F\r\n\x1F\x1F"));
    EXPECT_FALSE(IsEmptyProgram("T0\x1F-\x1F\x1F"));
    EXPECT_FALSE(IsEmptyProgram("F1T0\x1F\x1F\x1F"));
}

TEST(SendCheck, ReportsTextCharactersWithoutAGlyphWithLineAndColumn)
{
    doc::Document d;
    d.Append(Plain, U"Čas ok\n");         // Czech letters are in the editor code page
    d.Append(Transition, U":");           // a symbol counts as a column
    d.Append(Plain, U"a\u20AC?\u4E2D\n"); // the euro sign is there too; a typed '?' is fine
    d.Append(Plain, U"\u263A");
    const TUnshowableReport r = FindUnshowable(d, 10);
    ASSERT_EQ(r.Count, 2u);
    ASSERT_EQ(r.First.size(), 2u);
    EXPECT_EQ(r.First[0].Line, 2);
    EXPECT_EQ(r.First[0].Column, 5);
    EXPECT_EQ(r.First[0].Character, U'\u4E2D');
    EXPECT_EQ(r.First[1].Line, 3);
    EXPECT_EQ(r.First[1].Column, 1);
    // What is reported is exactly what the translation turned into '?'.
    EXPECT_EQ(EditorCharCode(U'\u4E2D', 0), '?');
    EXPECT_NE(EditorCharCode(U'\u20AC', 0), '?');
}

TEST(SendCheck, ListsTheFirstFewButCountsAll)
{
    doc::Document d;
    d.Append(Plain, std::u32string(40, U'\u4E2D'));
    const TUnshowableReport r = FindUnshowable(d, 5);
    EXPECT_EQ(r.Count, 40u);
    ASSERT_EQ(r.First.size(), 5u);
    EXPECT_EQ(r.First[4].Column, 5);
}

TEST(SendCheck, TheTranslationForASendHandsOverWhatTheSeparateLooksFind)
{
    doc::Document d;
    d.Append(Plain, U"Čas \u4E2D\n");
    d.Append(Transition, U":");
    doc::CharFormat symbolText = Format(0);
    symbolText.Face = std::string(SymbolFace);
    d.Append(symbolText, U" \u263Ax\n");
    d.Append(Plain, std::u32string(7, U'\u4E2D'));
    const TSendTranslation sent = TranslateForSend(d, 3);
    const TTranslation alone = TranslateDocument(d);
    EXPECT_EQ(sent.Translation.Program, alone.Program);
    EXPECT_EQ(sent.Translation.Segments, alone.Segments);
    EXPECT_FALSE(sent.Check.Empty);
    const TUnshowableReport unshowable = FindUnshowable(d, 3);
    EXPECT_EQ(sent.Check.Unshowable.Count, unshowable.Count);
    ASSERT_EQ(sent.Check.Unshowable.First.size(), 3u);
    for (std::size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(sent.Check.Unshowable.First[i].Line, unshowable.First[i].Line);
        EXPECT_EQ(sent.Check.Unshowable.First[i].Column, unshowable.First[i].Column);
    }
    EXPECT_EQ(sent.Check.SymbolFontText.Count, 2u) << "the blank does not count";
    EXPECT_EQ(sent.Check.SymbolFontText.FirstLine, 2);
    EXPECT_EQ(sent.Check.SymbolFontText.Count, FindSymbolFontText(d).Count);

    doc::Document blank;
    blank.Append(Plain, U" \n ");
    EXPECT_TRUE(TranslateForSend(blank, 3).Check.Empty);
}

} // namespace
} // namespace zor
