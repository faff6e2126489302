#include "editor/rtf/RtfWords.h"

#include <unordered_map>

namespace zor::rtf {
namespace {

const std::unordered_map<std::string_view, WordInfo> &WordTable()
{
    static const std::unordered_map<std::string_view, WordInfo> table = [] {
        std::unordered_map<std::string_view, WordInfo> t = {
            {"rtf", {Word::Rtf}},
            {"ansi", {Word::Ansi}},
            {"mac", {Word::Mac}},
            {"pc", {Word::Pc}},
            {"pca", {Word::Pca}},
            {"ansicpg", {Word::AnsiCpg}},
            {"deff", {Word::Deff}},
            {"fonttbl", {Word::FontTbl}},
            {"colortbl", {Word::ColorTbl}},
            {"fname", {Word::FName}},
            {"f", {Word::F}},
            {"fcharset", {Word::FCharset}},
            {"red", {Word::Red}},
            {"green", {Word::Green}},
            {"blue", {Word::Blue}},
            {"cf", {Word::Cf}},
            {"fs", {Word::Fs}},
            {"b", {Word::B}},
            {"i", {Word::I}},
            {"ulnone", {Word::UlNone}},
            {"strike", {Word::Strike}},
            {"striked", {Word::Strike}},
            {"plain", {Word::Plain}},
            {"par", {Word::Par}},
            {"line", {Word::Line}},
            {"tab", {Word::Tab}},
            {"cell", {Word::Cell}},
            {"nestcell", {Word::Cell}},
            {"row", {Word::Row}},
            {"nestrow", {Word::Row}},
            {"u", {Word::U}},
            {"uc", {Word::Uc}},
            {"bin", {Word::Bin}},
            {"fldrslt", {Word::FldRslt}},
            {"emdash", {Word::Char, 0x2014}},
            {"endash", {Word::Char, 0x2013}},
            {"lquote", {Word::Char, 0x2018}},
            {"rquote", {Word::Char, 0x2019}},
            {"ldblquote", {Word::Char, 0x201C}},
            {"rdblquote", {Word::Char, 0x201D}},
            {"bullet", {Word::Char, 0x2022}},
            {"emspace", {Word::Char, 0x2003}},
            {"enspace", {Word::Char, 0x2002}},
            {"qmspace", {Word::Char, 0x2005}},
            {"zwj", {Word::Char, 0x200D}},
            {"zwnj", {Word::Char, 0x200C}},
            {"ltrmark", {Word::Char, 0x200E}},
            {"rtlmark", {Word::Char, 0x200F}},
        };
        // Every underline style switches underlining on; "ulc" (its colour) is not one of them.
        for (std::string_view w : {"ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave",
                                   "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                                   "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
            t.emplace(w, WordInfo{Word::Ul});
        }
        // Destinations whose content is never document text.
        for (std::string_view w : {"info",
                                   "stylesheet",
                                   "pict",
                                   "object",
                                   "objdata",
                                   "header",
                                   "headerl",
                                   "headerr",
                                   "headerf",
                                   "footer",
                                   "footerl",
                                   "footerr",
                                   "footerf",
                                   "footnote",
                                   "annotation",
                                   "atnid",
                                   "atnauthor",
                                   "atntime",
                                   "atndate",
                                   "atrfstart",
                                   "atrfend",
                                   "fldinst",
                                   "xe",
                                   "tc",
                                   "txe",
                                   "rxe",
                                   "bkmkstart",
                                   "bkmkend",
                                   "listtable",
                                   "listoverridetable",
                                   "revtbl",
                                   "rsidtbl",
                                   "shp",
                                   "shpinst",
                                   "nonshppict",
                                   "do",
                                   "filetbl",
                                   "pgdsctbl",
                                   "template",
                                   "themedata",
                                   "colorschememapping",
                                   "latentstyles",
                                   "datastore",
                                   "xmlnstbl",
                                   "generator",
                                   "userprops",
                                   "docvar",
                                   "pn",
                                   "background",
                                   "ftnsep",
                                   "ftnsepc",
                                   "ftncn",
                                   "aftnsep",
                                   "aftnsepc",
                                   "aftncn",
                                   "comment",
                                   "author",
                                   "operator",
                                   "title",
                                   "subject",
                                   "keywords",
                                   "doccomm",
                                   "company",
                                   "creatim",
                                   "revtim",
                                   "printim",
                                   "buptim",
                                   "private",
                                   "mmathPr",
                                   "fchars",
                                   "lchars",
                                   "password",
                                   "passwordhash",
                                   "listpicture",
                                   "wgrffmtfilter",
                                   "protusertbl",
                                   "falt",
                                   "panose",
                                   "fontemb",
                                   "fontfile",
                                   "leveltext",
                                   "levelnumbers",
                                   "oldcprops",
                                   "oldpprops",
                                   "oldsprops",
                                   "oldtprops",
                                   "ud"}) {
            t.emplace(w, WordInfo{Word::Skip});
        }
        return t;
    }();
    return table;
}

} // namespace

WordInfo LookUpWord(std::string_view word)
{
    const auto &table = WordTable();
    const auto it = table.find(word);
    return it != table.end() ? it->second : WordInfo{};
}

} // namespace zor::rtf
