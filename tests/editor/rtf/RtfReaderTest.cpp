#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "editor/rtf/RtfCodec.h"
#include "tests/editor/rtf/RtfTestData.h"

namespace zor::rtf {
namespace {

// The run that holds the character at index, or nullptr.
const TextRun *RunAt(const Document &doc, std::size_t index)
{
    for (const auto &run : doc.Runs) {
        if (index < run.Text.size()) {
            return &run;
        }
        index -= run.Text.size();
    }
    return nullptr;
}

std::u32string TextOf(std::string_view rtf)
{
    ReadResult result = Read(rtf);
    EXPECT_TRUE(result.Ok()) << result.Error;
    return result.Doc.Text();
}

TEST(RtfReader, RichEditStyleFile)
{
    const std::string bytes = DataFile("richedit.zor");
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.back(), '\0');
    const ReadResult result = Read(bytes);
    ASSERT_TRUE(result.Ok()) << result.Error;
    EXPECT_EQ(result.Source, SourceKind::Rtf);
    EXPECT_EQ(result.Warning, "");

    const Document &doc = result.Doc;
    // The final \par adds no line; the NUL after the last brace is not read.
    EXPECT_EQ(doc.Text(),
              U":W\u00E805P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148\n"
              U"\u20AC k \uFFFDkonec");

    const TextRun *colon = RunAt(doc, 0);
    EXPECT_EQ(colon->Format->Face, "ZorSymbolFont");
    EXPECT_EQ(colon->Format->Charset, SymbolCharset);
    EXPECT_EQ(colon->Format->HalfPoints, 16);
    EXPECT_EQ(colon->Format->Colour, 0xF90000u);
    EXPECT_EQ(RunAt(doc, 1)->Format->Colour, 0x010080u);
    EXPECT_EQ(RunAt(doc, 2)->Format->Colour, 0x0100FFu); // symbol byte \'e8 stays U+00E8
    EXPECT_EQ(RunAt(doc, 4)->Format->Colour, 0x010080u); // \'35 is the digit symbol '5'

    const TextRun *text = RunAt(doc, 5);
    EXPECT_EQ(text->Format->Face, "Arial");
    EXPECT_EQ(text->Format->Charset, EastEuropeCharset);
    EXPECT_EQ(text->Format->HalfPoints, 24);
    EXPECT_EQ(text->Format->Colour, 0u);
    EXPECT_FALSE(text->Format->Bold);

    const std::size_t euro = doc.Text().find(U'\u20AC');
    const TextRun *euroRun = RunAt(doc, euro);
    EXPECT_EQ(euroRun->Format->Face, "Times New Roman"); // {\*\fname} names the real face
    EXPECT_TRUE(euroRun->Format->Bold);

    // \u61547 in the symbol font is the symbol at its byte code, 'k'.
    const TextRun *aliased = RunAt(doc, euro + 2);
    EXPECT_EQ(doc.Text()[euro + 2], U'k');
    EXPECT_EQ(aliased->Format->Charset, SymbolCharset);
    EXPECT_EQ(aliased->Format->Colour, 0xF90000u);

    EXPECT_TRUE(doc.Runs.back().Format->Underline);
}

TEST(RtfReader, LibreOfficeFile)
{
    const ReadResult result = Read(DataFile("libreoffice.rtf"));
    ASSERT_TRUE(result.Ok()) << result.Error;
    EXPECT_EQ(result.Warning, "");
    const Document &doc = result.Doc;
    const std::u32string text = doc.Text();
    EXPECT_EQ(text, U"P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148 "
                    U"\u00FAp\u011Bl \u010F\u00E1belsk\u00E9 \u00F3dy\n"
                    U"Druh\u00FD \u0159\u00E1dek podtr\u017Een\u00FD \u0161krtnut\u00FD "
                    U"\u20AC {z\u00E1vorky} \\ zp\u011Btn\u00E9");

    EXPECT_EQ(RunAt(doc, 0)->Format->Face, "Arial");
    const TextRun *bold = RunAt(doc, text.find(U"\u00FAp"));
    EXPECT_TRUE(bold->Format->Bold);
    EXPECT_EQ(bold->Format->Face, "Times New Roman");
    EXPECT_EQ(bold->Format->Colour, 0x0000FFu);
    const TextRun *italic = RunAt(doc, text.find(U"Druh"));
    EXPECT_TRUE(italic->Format->Italic);
    EXPECT_EQ(italic->Format->Colour, 0xF90000u);
    EXPECT_TRUE(RunAt(doc, text.find(U"podtr"))->Format->Underline);
    EXPECT_TRUE(RunAt(doc, text.find(U"\u0161krt"))->Format->StrikeOut);
    EXPECT_FALSE(RunAt(doc, text.find(U"\u0159\u00E1dek"))->Format->Underline);
}

TEST(RtfReader, HexBytesDecodeByTheRunsCharset)
{
    struct Case
    {
        int Charset;
        const char *Byte;
        char32_t Expected;
    };
    const Case cases[] = {
        {238, "e8", 0x010D}, {0, "e8", 0x00E8},   {204, "e0", 0x0430}, {161, "e1", 0x03B1},
        {162, "fe", 0x015F}, {177, "e0", 0x05D0}, {178, "c7", 0x0627}, {186, "e8", 0x010D},
        {163, "f5", 0x01A1}, {222, "a1", 0x0E01}, {2, "e8", 0x00E8},   {1, "e8", 0x010D},
    };
    for (const Case &c : cases) {
        const std::string rtf = "{\\rtf1\\ansi\\ansicpg1250{\\fonttbl{\\f0\\fcharset" +
                                std::to_string(c.Charset) + " F;}}\\f0 \\'" + c.Byte + "}";
        const ReadResult result = Read(rtf);
        ASSERT_EQ(result.Doc.Text(), std::u32string(1, c.Expected)) << "charset " << c.Charset;
        EXPECT_EQ(result.Doc.Runs[0].Format->Charset, c.Charset);
    }
    // A font without a charset takes the document's code page.
    EXPECT_EQ(TextOf("{\\rtf1\\ansi\\ansicpg1251{\\fonttbl{\\f0 F;}}\\f0 \\'e0}"), U"\u0430");
    // A two-byte character of an East-Asian font becomes one '?', not two.
    EXPECT_EQ(TextOf("{\\rtf1{\\fonttbl{\\f0\\fcharset128 F;}}\\f0 a\\'82\\'a0b}"), U"a?b");
}

TEST(RtfReader, UnicodeEscapes)
{
    EXPECT_EQ(TextOf("{\\rtf1 \\u269?\\u-3?}"), U"\u010D\uFFFD");
    // \ucN skips N fallback characters, a \'hh counting as one; a group end stops skipping.
    EXPECT_EQ(TextOf("{\\rtf1\\uc2 \\u269\\'e8\\'3fx}"), U"\u010Dx");
    EXPECT_EQ(TextOf("{\\rtf1\\uc0 \\u269 x}"), U"\u010Dx");
    EXPECT_EQ(TextOf("{\\rtf1\\uc3 {\\u269 a}b}"), U"\u010Db");
    // A surrogate pair is one character; a lone half is U+FFFD.
    EXPECT_EQ(TextOf("{\\rtf1 \\u-10179?\\u-8704?}"), U"\U0001F600");
    EXPECT_EQ(TextOf("{\\rtf1 \\u-10179?x}"), U"\uFFFDx");
    // Out-of-range numbers do not wrap into other characters.
    EXPECT_EQ(TextOf("{\\rtf1 \\u99999999?}"), U"\uFFFD");
}

TEST(RtfReader, DestinationsWithoutTextAreSkipped)
{
    EXPECT_EQ(TextOf("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s0 Normal;}}"
                     "{\\*\\unknowndest hidden}{\\pict\\wmetafile8 0123abcd}"
                     "{\\object{\\*\\objdata 0102}}\\unknownword A}"),
              U"A");
    // Binary data may hold braces and backslashes.
    EXPECT_EQ(TextOf("{\\rtf1 {\\pict\\bin6 " + std::string("}{\\\x01\x02}", 6) + "}B}"), U"B");
    EXPECT_EQ(TextOf("{\\rtf1 {\\field{\\*\\fldinst HYPERLINK x}{\\fldrslt shown}}}"), U"shown");
    EXPECT_EQ(TextOf("{\\rtf1 a\\~b\\tab c\\emdash\\{\\}\\\\}"), U"a\u00A0b\tc\u2014{}\\");
}

TEST(RtfReader, CharacterFormatFollowsGroupsAndResets)
{
    const ReadResult result =
        Read("{\\rtf1{\\fonttbl{\\f0\\fcharset238 Arial;}{\\f1\\fcharset0 Courier;}}"
             "{\\colortbl;\\red1\\green2\\blue3;}"
             "\\f1\\fs30\\b\\i\\ul\\strike\\cf1 A{\\b0\\i0\\ulnone\\strike0 B}C\\plain D"
             "\\cf9 E\\cf1\\cf0 F\\ul0 G}");
    ASSERT_TRUE(result.Ok());
    const Document &doc = result.Doc;
    ASSERT_EQ(doc.Text(), U"ABCDEFG");
    const CharFormat &a = RunAt(doc, 0)->Format;
    EXPECT_EQ(a.Face, "Courier");
    EXPECT_EQ(a.Charset, 0);
    EXPECT_EQ(a.HalfPoints, 30);
    EXPECT_TRUE(a.Bold && a.Italic && a.Underline && a.StrikeOut);
    EXPECT_EQ(a.Colour, 0x030201u);
    const CharFormat &b = RunAt(doc, 1)->Format;
    EXPECT_FALSE(b.Bold || b.Italic || b.Underline || b.StrikeOut);
    EXPECT_EQ(RunAt(doc, 2)->Format, a);
    const CharFormat &d = RunAt(doc, 3)->Format;
    EXPECT_EQ(d.Face, "Arial");
    EXPECT_EQ(d.HalfPoints, 24);
    EXPECT_EQ(d.Colour, 0u);
    EXPECT_EQ(RunAt(doc, 4)->Format->Colour, 0u); // a missing colour entry reads as auto
    EXPECT_EQ(RunAt(doc, 5)->Format->Colour, 0u);
    EXPECT_EQ(doc.Runs.size(), 4u); // neighbours of one format are merged
}

TEST(RtfReader, ParagraphMarks)
{
    EXPECT_EQ(TextOf("{\\rtf1 A\\par B\\par}"), U"A\nB");
    EXPECT_EQ(TextOf("{\\rtf1 A\\par\\par}"), U"A\n");
    EXPECT_EQ(TextOf("{\\rtf1 A\\par B}"), U"A\nB");
    EXPECT_EQ(TextOf("{\\rtf1 A\\line B\\line}"), U"A\nB\n");
    EXPECT_EQ(TextOf("{\\rtf1 \\par}"), U"");
    EXPECT_EQ(TextOf("{\\rtf1 A\\par}trailing {\\rtf1 B}"), U"A");
}

TEST(RtfReader, PlainTextFallback)
{
    const ReadResult utf8 = Read("Ahoj \xC4\x8D\r\nsv\xC4\x9Bte\rx\n");
    EXPECT_EQ(utf8.Source, SourceKind::PlainText);
    ASSERT_TRUE(utf8.Ok());
    EXPECT_EQ(utf8.Doc.Text(), U"Ahoj \u010D\nsv\u011Bte\nx\n");
    ASSERT_EQ(utf8.Doc.Runs.size(), 1u);
    EXPECT_EQ(utf8.Doc.Runs[0].Format, DefaultFormat());
    EXPECT_EQ(DefaultFormat().Face, "Arial");
    EXPECT_EQ(DefaultFormat().Charset, 238);

    // Not valid UTF-8: Windows-1250.
    EXPECT_EQ(Read(std::string("\xE8\x9E\x00x", 4)).Doc.Text(), U"\u010D\u017Ex");
    EXPECT_EQ(Read("\xEF\xBB\xBFrtf").Doc.Text(), U"rtf");
    EXPECT_EQ(Read("").Source, SourceKind::PlainText);
    EXPECT_TRUE(Read("").Doc.Runs.empty());
    EXPECT_EQ(Read("{\\rt").Source, SourceKind::PlainText);
}

TEST(RtfReader, HostileInputIsBounded)
{
    const std::string deep = "{\\rtf1 " + std::string(MaxGroupDepth, '{') + "x}";
    const ReadResult tooDeep = Read(deep);
    EXPECT_FALSE(tooDeep.Ok());
    EXPECT_NE(tooDeep.Error.find("nested"), std::string::npos);
    EXPECT_TRUE(tooDeep.Doc.Runs.empty());
    EXPECT_EQ(TextOf("{\\rtf1 " + std::string(MaxGroupDepth - 1, '{') + "x}"), U"x");

    EXPECT_EQ(TextOf("{\\rtf1 \\bin99999999999 hidden}"), U"");
    EXPECT_EQ(TextOf("{\\rtf1 \\bin-5 A}"), U"A");
    EXPECT_EQ(TextOf("{\\rtf1\\uc2147483647 \\u65 BCDEFGHIJKLMNOPQRSTUVWXYZ}"), U"ARSTUVWXYZ");
    EXPECT_EQ(TextOf("{\\rtf1\\fs99999999999999999999 \\cf-4 \\f-1 A}"), U"A");
    EXPECT_EQ(TextOf("{\\rtf1 \\" + std::string(5000, 'a') + " A}"), U"A");
    EXPECT_EQ(TextOf("{\\rtf1 A\\'4"), U"A");
    EXPECT_EQ(TextOf("{\\rtf1 A\\u-"), U"A");
}

TEST(RtfReader, EveryTruncationOfARealFileLoads)
{
    for (const char *name : {"richedit.zor", "libreoffice.rtf"}) {
        const std::string bytes = DataFile(name);
        ASSERT_FALSE(bytes.empty());
        const std::u32string whole = Read(bytes).Doc.Text();
        for (std::size_t n = 0; n < bytes.size(); ++n) {
            const ReadResult part = Read(std::string_view(bytes).substr(0, n));
            ASSERT_TRUE(part.Ok()) << name << " cut at " << n;
            if (part.Source == SourceKind::Rtf) {
                // What a cut file shows is a beginning of the whole text (up to a final mark).
                const std::u32string text = part.Doc.Text();
                EXPECT_EQ(whole.compare(0, text.size(), text), 0) << name << " cut at " << n;
            }
        }
    }
}

TEST(RtfReader, GarbageAfterTheHeaderLoads)
{
    std::uint32_t seed = 12345;
    for (int round = 0; round < 200; ++round) {
        std::string bytes = "{\\rtf1";
        for (int i = 0; i < 400; ++i) {
            seed = seed * 1103515245 + 12345;
            const char alphabet[] = "{}\\\\'*ubincfs0123456789-;? aAxz\x80\xff\r\n";
            bytes.push_back(alphabet[(seed >> 16) % (sizeof alphabet - 1)]);
        }
        const ReadResult result = Read(bytes);
        if (result.Ok()) {
            EXPECT_EQ(Read(Write(result.Doc)).Doc, result.Doc) << bytes;
        }
    }
}

} // namespace
} // namespace zor::rtf
