#include "base/Utf16Stream.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using zor::TUtf8ToUtf16Stream;

std::u16string Convert(const std::vector<std::string> &pieces, bool finish = true)
{
    TUtf8ToUtf16Stream stream;
    std::u16string out;
    for (const std::string &piece : pieces)
        stream.Feed(piece, out);
    if (finish)
        stream.Finish(out);
    return out;
}

// Czech letters (2 bytes), the euro sign (3) and a character beyond the BMP (4, a surrogate pair).
const std::string Text = "P\xC5\x99\xC3\xAD li\xC5\xA1 \xE2\x82\xAC \xF0\x9F\x98\x80!";
const std::u16string Wide = u"P\u0159\u00ED li\u0161 \u20AC \U0001F600!";

TEST(Utf8ToUtf16StreamTest, EveryCutOfTheTextGivesTheSameCharacters)
{
    EXPECT_EQ(Convert({Text}), Wide);
    for (std::size_t cut = 0; cut <= Text.size(); ++cut)
        EXPECT_EQ(Convert({Text.substr(0, cut), Text.substr(cut)}), Wide) << "cut at " << cut;
    std::vector<std::string> bytes;
    for (char c : Text)
        bytes.emplace_back(1, c);
    EXPECT_EQ(Convert(bytes), Wide);
}

TEST(Utf8ToUtf16StreamTest, AnOpenSequenceWaitsForItsLastByte)
{
    TUtf8ToUtf16Stream stream;
    std::u16string out;
    stream.Feed("a\xF0\x9F", out);
    EXPECT_EQ(out, u"a");
    stream.Feed("\x98", out);
    EXPECT_EQ(out, u"a");
    stream.Feed("\x80z", out);
    EXPECT_EQ(out, u"a\U0001F600z");
}

TEST(Utf8ToUtf16StreamTest, BrokenBytesBecomeOneReplacementEachAndTheRestIsReadAfresh)
{
    // A stray continuation byte, a byte no sequence starts with, an overlong form.
    EXPECT_EQ(Convert({"a\x80"
                       "b\xFF"
                       "c\xC0\xAF"}),
              u"a\uFFFDb\uFFFDc\uFFFD\uFFFD");
    // A surrogate and a value above U+10FFFF are refused at their second byte.
    EXPECT_EQ(Convert({"\xED\xA0\x80"}), u"\uFFFD\uFFFD\uFFFD");
    EXPECT_EQ(Convert({"\xF4\x90\x80\x80"}), u"\uFFFD\uFFFD\uFFFD\uFFFD");
    // A sequence cut short by a new character, also across pieces: the valid start is one
    // replacement, the new character comes through.
    EXPECT_EQ(Convert({"\xE2\x82"
                       "A"}),
              u"\uFFFDA");
    EXPECT_EQ(Convert({"\xE2", "\x82", "\xC5\x99"}), u"\uFFFD\u0159");
}

TEST(Utf8ToUtf16StreamTest, FinishReplacesASequenceLeftOpen)
{
    EXPECT_EQ(Convert({"ok\xE2\x82"}, false), u"ok");
    EXPECT_EQ(Convert({"ok\xE2\x82"}), u"ok\uFFFD");

    TUtf8ToUtf16Stream stream;
    std::u16string out;
    stream.Feed("\xC5", out);
    stream.Finish(out);
    stream.Feed("\x99", out);
    EXPECT_EQ(out, u"\uFFFD\uFFFD") << "nothing is kept after the end";
}

} // namespace
