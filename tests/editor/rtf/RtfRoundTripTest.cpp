#include <cstdint>
#include <string>

#include <gtest/gtest.h>

#include "commands/Vocabulary.h"
#include "editor/rtf/RtfCodec.h"

namespace zor::rtf {
namespace {

CharFormat SymbolFormat(std::uint32_t colour)
{
    CharFormat format;
    format.Face = "ZorSymbolFont";
    format.Charset = SymbolCharset;
    format.HalfPoints = 36;
    format.Colour = colour;
    return format;
}

// Every command symbol in its kind colour, digit symbols after the numbered ones, and plain
// text in two fonts with bold and colours over two lines.
Document ProgramDocument()
{
    Document doc;
    for (const TCommandButton &button : CommandButtons) {
        doc.Append(SymbolFormat(button.Colour()), static_cast<char32_t>(button.Symbol));
        if (button.TakesNumber()) {
            doc.Append(SymbolFormat(KindColour(TCommandKind::ckParameter)), U'0');
            doc.Append(SymbolFormat(KindColour(TCommandKind::ckParameter)), U'7');
        }
    }
    CharFormat arial;
    doc.Append(arial, U"Dobr\u00FD den, \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148 {1\\2}\n");
    CharFormat times;
    times.Face = "Times New Roman";
    times.Bold = true;
    times.Colour = 0x0000FF;
    doc.Append(times, U"Druh\u00FD \u0159\u00E1dek");
    CharFormat tagged = arial;
    tagged.Colour = 0x070000; // neither plain nor symbol: must still survive untouched
    doc.Append(tagged, U"!");
    return doc;
}

TEST(RtfRoundTrip, ProgramDocumentComesBackBitExact)
{
    const Document doc = ProgramDocument();
    const std::string bytes = Write(doc);
    const ReadResult read = Read(bytes);
    ASSERT_TRUE(read.Ok()) << read.Error;
    EXPECT_EQ(read.Warning, "");
    EXPECT_EQ(read.Source, SourceKind::Rtf);
    EXPECT_EQ(read.Doc, Normalized(doc));
    for (const TextRun &run : read.Doc.Runs) {
        if (run.Format->Charset == SymbolCharset) {
            EXPECT_TRUE(IsCommandSymbol(run.Format->Colour));
        }
    }
    // Same document, same bytes; and saving what was read changes nothing.
    EXPECT_EQ(Write(doc), bytes);
    EXPECT_EQ(Write(read.Doc), bytes);
}

TEST(RtfRoundTrip, OutputIsSevenBitRtfThatOthersRead)
{
    const std::string bytes = Write(ProgramDocument());
    EXPECT_EQ(bytes.rfind("{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl", 0), 0u);
    EXPECT_NE(bytes.find("\\fcharset2\\fprq2 ZorSymbolFont;"), std::string::npos);
    EXPECT_NE(bytes.find("{\\colortbl ;\\red0\\green0\\blue249;"), std::string::npos);
    EXPECT_NE(bytes.find("\\red0\\green0\\blue7;"), std::string::npos);
    // Windows-1250 letters as bytes of the code page, braces and backslash escaped.
    EXPECT_NE(bytes.find("\\'9elu\\'9dou\\'e8k\\'fd"), std::string::npos);
    EXPECT_NE(bytes.find("\\{1\\\\2\\}"), std::string::npos);
    std::size_t lineLength = 0;
    for (char c : bytes) {
        EXPECT_LT(static_cast<unsigned char>(c), 0x80);
        lineLength = c == '\n' ? 0 : lineLength + 1;
        EXPECT_LT(lineLength, 260u);
    }
}

TEST(RtfRoundTrip, CharactersOutsideTheCodePage)
{
    Document doc;
    doc.Append(CharFormat{}, U"\u00E8 \u0416 \u3042 \U0001F600 \uFFFD \u00A0");
    const std::string bytes = Write(doc);
    EXPECT_NE(bytes.find("\\u232?"), std::string::npos);             // è is not in 1250
    EXPECT_NE(bytes.find("\\u-10179?\\u-8704?"), std::string::npos); // surrogates, signed
    EXPECT_NE(bytes.find("\\u-3?"), std::string::npos);
    EXPECT_EQ(Read(bytes).Doc, doc);

    // Each charset's own letters go out as its bytes and come back.
    for (int charset : {0, 161, 162, 163, 177, 178, 186, 204, 222, 238, 128}) {
        CharFormat format;
        format.Charset = charset;
        Document d;
        d.Append(format, U"a\u00E9\u0416\u03B1\u015F\u05D0\u0627\u0101\u01A1\u0E01\u010D\u20AC");
        EXPECT_EQ(Read(Write(d)).Doc, d) << "charset " << charset;
    }
}

TEST(RtfRoundTrip, SymbolFontBytes)
{
    Document doc;
    for (char32_t ch = 0x20; ch <= 0xFF; ++ch) {
        doc.Append(SymbolFormat(0x010000), ch);
    }
    const std::string bytes = Write(doc);
    EXPECT_NE(bytes.find("\\'80\\'81"), std::string::npos);
    EXPECT_NE(bytes.find("\\'fe\\'ff"), std::string::npos);
    EXPECT_EQ(Read(bytes).Doc, doc);

    // The private-use aliases of the symbol font are stored as the same bytes.
    Document alias;
    alias.Append(SymbolFormat(0x010000), U"\uF03A\uF0E8");
    Document canonical;
    canonical.Append(SymbolFormat(0x010000), U":\u00E8");
    EXPECT_EQ(Write(alias), Write(canonical));
}

TEST(RtfRoundTrip, FormatsAndColoursSurviveExactly)
{
    Document doc;
    const std::uint32_t colours[] = {0x000000, 0xFFFFFF, 0x010000, 0x020000, 0x030201,
                                     0x7F807F, 0x0100FF, 0xFEFFFF, 0x000001};
    int i = 0;
    for (std::uint32_t colour : colours) {
        CharFormat format;
        format.Colour = colour;
        format.HalfPoints = 2 + 7 * i;
        format.Bold = i & 1;
        format.Italic = i & 2;
        format.Underline = i & 4;
        format.StrikeOut = i & 8;
        format.Face = i % 3 == 0 ? "Courier New" : "Arial";
        doc.Append(format, U"x\t");
        ++i;
    }
    EXPECT_EQ(Read(Write(doc)).Doc, doc);
}

TEST(RtfRoundTrip, LineEndsAndEmptyDocuments)
{
    for (const char32_t *text : {U"", U"\n", U"\n\n", U"a\n", U"a\nb", U"\na", U"a\n\n"}) {
        Document doc;
        doc.Append(CharFormat{}, text);
        const ReadResult read = Read(Write(doc));
        EXPECT_EQ(read.Doc.Text(), std::u32string(text));
        // Saving and reopening again never grows the document.
        EXPECT_EQ(Read(Write(read.Doc)).Doc, read.Doc);
    }
}

TEST(RtfRoundTrip, UnusualFaceNames)
{
    for (const char *face :
         {"A;B", "x{y}\\z", "\xC5\xBDlu\xC5\xA5", "\xE6\x98\x8E\xE6\x9C\x9D", ""}) {
        CharFormat format;
        format.Face = face;
        Document doc;
        doc.Append(format, U"t");
        EXPECT_EQ(Read(Write(doc)).Doc, doc) << face;
    }
}

} // namespace
} // namespace zor::rtf
