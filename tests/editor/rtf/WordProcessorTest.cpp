// Documents that word processors wrote, as ZorEdit reads, translates and saves them. The files in
// tests/editor/data were made with Debian 12's LibreOffice 7.4 and AbiWord 3.0 from the sources
// beside them (HOME pointed at an empty folder):
//
//   soffice --headless --convert-to 'rtf:Rich Text Format' --outdir lo colours.html link.html
//     -> libreoffice-colours.rtf, libreoffice-link.rtf
//   abiword --to=rtf -o abiword-colours.rtf colours.html
//   abiword --to=rtf -o abiword-link.rtf link.html
//   cp zoredit-pause.zor zoredit.rtf
//   soffice --headless --convert-to rtf --outdir lo zoredit.rtf   -> libreoffice-roundtrip.rtf
//   abiword --to=rtf -o abiword-roundtrip.rtf zoredit.rtf
//
// zoredit-pause.zor is a document as ZorEdit writes it: the F1 symbol, the Wxx symbol with the
// digits 05 (a pause of half a second), and the text "Příliš žluťoučký kůň".
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "base/SymbolTag.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/RtfCodec.h"
#include "tests/editor/rtf/RtfTestData.h"

namespace zor::rtf {
namespace {

Document ReadFile(const std::string &name)
{
    const std::string bytes = DataFile(name);
    EXPECT_FALSE(bytes.empty()) << name;
    ReadResult result = Read(bytes);
    EXPECT_TRUE(result.Ok()) << name << ": " << result.Error;
    EXPECT_EQ(result.Warning, "") << name;
    return std::move(result.Doc);
}

// The same characters, all in the plain-text format.
Document AsPlainText(const Document &doc)
{
    Document plain;
    plain.Append(DefaultFormat(), doc.Text());
    return plain;
}

CharFormat Coloured(std::string face, std::uint32_t colour)
{
    CharFormat format;
    format.Face = std::move(face);
    format.Colour = colour;
    return format;
}

const std::u32string Czech = U"P\u0159\u00EDli\u0161 \u017Elu\u0165ou\u010Dk\u00FD k\u016F\u0148";

TEST(WordProcessorFiles, TextColouredInAWordProcessorIsSentAsText)
{
    for (const char *name : {"libreoffice-colours.rtf", "abiword-colours.rtf"}) {
        const Document doc = ReadFile(name);
        const std::u32string text = doc.Text();
        const std::u32string visible =
            U"Otev\u0159eno z\u00EDtra r\u00E1no Dark Red 2 Green a konec.";
        ASSERT_EQ(text.substr(0, visible.size()), visible) << name;
        // LibreOffice's "Blue" carries the symbol tag by chance, and it is no symbol font.
        const std::size_t blue = text.find(U"Otev");
        std::size_t at = 0;
        for (const TextRun &run : doc.Runs) {
            if (blue < at + run.Text.size()) {
                EXPECT_EQ(run.Format->Colour, 0x99602Au) << name;
                EXPECT_TRUE(IsCommandSymbol(run.Format->Colour));
                break;
            }
            at += run.Text.size();
        }
        EXPECT_EQ(TranslateDocument(doc).Program, TranslateDocument(AsPlainText(doc)).Program)
            << name;
        EXPECT_EQ(FindSymbolFontText(doc).Count, 0u) << name;
    }
}

TEST(WordProcessorFiles, OnlyTheSymbolFontInACommandColourIsACommand)
{
    // Every value of the tag bits, on text and on the F1 symbol ';'.
    for (std::uint32_t tag = 0; tag < 8; ++tag) {
        const std::uint32_t colour = (0x2A6099u & ~SymbolTagMask) | tag << 16;
        Document text;
        text.Append(Coloured("Liberation Serif", colour), U"ab");
        EXPECT_EQ(TranslateDocument(text).Program, "T0\x1F"
                                                   "ab\x1F")
            << "tag " << tag;
        EXPECT_EQ(FindSymbolFontText(text).Count, 0u);

        Document symbol;
        symbol.Append(Coloured("ZorSymbolFont", colour), U';');
        symbol.Append(DefaultFormat(), U"\nx");
        symbol.Append(Coloured("zorsymbolfont", colour), U";");
        if (tag == 1) {
            EXPECT_EQ(TranslateDocument(symbol).Program, "F1T0F1T1\x1F\r\nx\x1F\x1F\x1F");
            EXPECT_EQ(FindSymbolFontText(symbol).Count, 0u);
        } else {
            // Never dropped: the panel gets the character, and the operator is told.
            EXPECT_EQ(TranslateDocument(symbol).Program, "T0\x1F;\r\nx;\x1F") << "tag " << tag;
            const TSymbolFontText found = FindSymbolFontText(symbol);
            EXPECT_EQ(found.Count, 2u);
            EXPECT_EQ(found.FirstLine, 1);
            EXPECT_EQ(SymbolFontTextWarning(found),
                      "The document holds 2 characters in the symbol font without a command "
                      "colour (the first on line 1); the panel gets them as the plain characters "
                      "they are.");
        }
    }
    EXPECT_EQ(SymbolFontTextWarning({}), "");
}

TEST(WordProcessorFiles, ADocumentSavedAgainByAWordProcessorKeepsItsProgram)
{
    const Document original = ReadFile("zoredit-pause.zor");
    ASSERT_EQ(original.Text(), U";r05" + Czech);
    const std::string program = TranslateDocument(original).Program;
    ASSERT_EQ(program, "F1T0W05T1\x1F\x1F"
                       "P\xFD\xA1li\xE7 \xA7lu\x9Cou\x9Fk\xEC k\x85\xE5\x1F");
    for (const char *name : {"libreoffice-roundtrip.rtf", "abiword-roundtrip.rtf"}) {
        const Document doc = ReadFile(name);
        // LibreOffice writes the symbols at U+F03A...: they are read at the font's own codes,
        // so the keyboard rules, the clipboard and the tooltips see the symbol and its digits.
        EXPECT_EQ(doc.Text(), original.Text()) << name;
        EXPECT_EQ(doc.Runs.front().Format->Face, "ZorSymbolFont") << name;
        EXPECT_EQ(TranslateDocument(doc).Program, program) << name;
        // Saved by ZorEdit and read again, nothing changes.
        const Document again = Read(Write(doc)).Doc;
        EXPECT_EQ(again, doc) << name;
        EXPECT_EQ(FindSymbolFontText(doc).Count, 0u) << name;
    }
}

TEST(WordProcessorFiles, FieldResultsAreTheirVisibleText)
{
    for (const char *name : {"abiword-link.rtf", "libreoffice-link.rtf"}) {
        const std::u32string text = ReadFile(name).Text();
        EXPECT_EQ(text.substr(0, 29), U"Odkaz: viditeln\u00FD odkaz konec.") << name;
        EXPECT_EQ(text.find(U"HYPERLINK"), std::u32string::npos) << name;
        EXPECT_EQ(text.find(U"example"), std::u32string::npos) << name;
    }
    const std::string field = "{\\rtf1 a{\\field{\\*\\fldinst {HYPERLINK \"x\"}}"
                              "{\\*\\fldrslt {\\b shown}}}b}";
    EXPECT_EQ(Read(field).Doc.Text(), U"ashownb");
    // A result inside a destination that is no text stays out of the text.
    EXPECT_EQ(Read("{\\rtf1 {\\*\\unknown {\\field{\\*\\fldrslt hidden}}}A}").Doc.Text(), U"A");
}

TEST(RtfCodePages, DosAndMacintoshPagesAreDecodedAndSavedSafely)
{
    struct Case
    {
        const char *Header; // what follows {\rtf1
        const char *Font;   // the font table entry's control words
        const char *Bytes;
        std::u32string Expected;
        // How ZorEdit saves it: Windows-1250 bytes, or \uN where the font names a DOS or
        // Macintosh page, so that every reader (ZorEdit again, a word processor) agrees.
        const char *Saved;
    };
    const Case cases[] = {
        {"\\ansi\\ansicpg852", "", "P\\'fd\\'a1li\\'e7 \\'a7lu\\'9cou\\'9fk\\'ec k\\'85\\'e5",
         Czech, "P\\'f8\\'edli\\'9a \\'9elu\\'9dou\\'e8k\\'fd k\\'f9\\'f2"},
        {"\\pc", "", "Gr\\'81\\'e1e, \\'80\\'85 \\'a4", U"Gr\u00FC\u00DFe, \u00C7\u00E0 \u00F1",
         "Gr\\u252?\\u223?e"},
        {"\\pca", "", "\\'92r\\'9b \\'c7\\'e4", U"\u00C6r\u00F8 \u00C3\u00F5", "\\u198?r\\u248?"},
        {"\\mac", "", "Caf\\'8e \\'bd\\'b9", U"Caf\u00E9 \u03A9\u03C0", "Caf\\u233? \\u937?"},
        {"\\ansi\\ansicpg10029", "", "P\\'de\\'92li\\'e4 \\'eclu\\'e9ou\\'8bk\\'f9 k\\'f3\\'cb",
         Czech, "P\\'f8\\'edli\\'9a \\'9elu\\'9dou\\'e8k\\'fd k\\'f9\\'f2"},
        {"\\ansi", "\\fcharset77", "Caf\\'8e \\'bd\\'b9", U"Caf\u00E9 \u03A9\u03C0",
         "Caf\\u233? \\u937?"},
        {"\\ansi", "\\fcharset254", "Gr\\'81\\'e1e, \\'80\\'85 \\'a4",
         U"Gr\u00FC\u00DFe, \u00C7\u00E0 \u00F1", "Gr\\u252?\\u223?e"},
        {"\\ansi", "\\fcharset255", "\\'92r\\'9b \\'c7\\'e4", U"\u00C6r\u00F8 \u00C3\u00F5",
         "\\u198?r\\u248?"},
    };
    for (const Case &c : cases) {
        const std::string rtf = std::string("{\\rtf1") + c.Header + "{\\fonttbl{\\f0" + c.Font +
                                " Arial;}}\\f0 " + c.Bytes + "}";
        const ReadResult read = Read(rtf);
        ASSERT_TRUE(read.Ok());
        EXPECT_EQ(read.Doc.Text(), c.Expected) << rtf;
        const std::string saved = Write(read.Doc);
        EXPECT_NE(saved.find(c.Saved), std::string::npos) << rtf << "\n" << saved;
        EXPECT_EQ(Read(saved).Doc, read.Doc) << rtf;
    }
}

TEST(RtfReader, OverDeepFilesAreRefusedAndCutOffFilesWarned)
{
    const ReadResult deep = Read("{\\rtf1 Hello" + std::string(MaxGroupDepth + 1, '{') + "x" +
                                 std::string(MaxGroupDepth + 2, '}'));
    EXPECT_EQ(deep.Error, "The RTF groups are nested more than 1000 levels deep.");
    EXPECT_TRUE(deep.Doc.Runs.empty());

    // A download cut short inside the text: what was there, and why the rest is missing.
    const std::string whole = DataFile("libreoffice-roundtrip.rtf");
    const std::size_t cut = whole.find("ou\\u269");
    ASSERT_NE(cut, std::string::npos);
    const ReadResult part = Read(std::string_view(whole).substr(0, cut));
    ASSERT_TRUE(part.Ok());
    EXPECT_EQ(part.Doc.Text(), U";r05P\u0159\u00EDli\u0161 \u017Elu\u0165");
    EXPECT_EQ(part.Warning,
              "The RTF document ends before its last group is closed; the file may be truncated.");
}

} // namespace
} // namespace zor::rtf
