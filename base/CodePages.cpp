#include "base/CodePages.h"

#include <algorithm>
#include <array>
#include <utility>

#include "base/Document.h"

namespace zor::doc {
namespace {

#include "base/CodePageTables.inc"

struct SingleBytePage
{
    int Number;
    const std::uint16_t *High;
};

constexpr std::array<SingleBytePage, 15> SingleBytePages = {{
    {437, kCp437High},
    {850, kCp850High},
    {852, kCp852High},
    {874, kCp874High},
    {1250, kCp1250High},
    {1251, kCp1251High},
    {1252, kCp1252High},
    {1253, kCp1253High},
    {1254, kCp1254High},
    {1255, kCp1255High},
    {1256, kCp1256High},
    {1257, kCp1257High},
    {1258, kCp1258High},
    {10000, kCp10000High},
    {10029, kCp10029High},
}};

struct CharsetPage
{
    int Charset;
    int CodePage;
};

// Charset numbers of the Windows font API and their code pages.
constexpr std::array<CharsetPage, 20> CharsetPages = {{
    {0, 1252},   {2, SymbolCodePage}, {77, 10000}, {128, 932},  {129, 949},
    {130, 1361}, {134, 936},          {136, 950},  {161, 1253}, {162, 1254},
    {163, 1258}, {177, 1255},         {178, 1256}, {186, 1257}, {204, 1251},
    {222, 874},  {238, 1250},         {254, 437},  {255, 850},  {1, 0},
}};

const std::uint16_t *HighTable(int codePage)
{
    for (const auto &page : SingleBytePages) {
        if (page.Number == codePage) {
            return page.High;
        }
    }
    return kCp1252High;
}

// Reverse tables, sorted by character, built on first use.
struct ReverseTables
{
    std::array<std::array<std::pair<char32_t, unsigned char>, 128>, SingleBytePages.size()> Pages;
    std::array<int, SingleBytePages.size()> Sizes{};

    ReverseTables()
    {
        for (std::size_t p = 0; p < SingleBytePages.size(); ++p) {
            int n = 0;
            for (int b = 0; b < 128; ++b) {
                char32_t ch = SingleBytePages[p].High[b];
                if (ch != 0xFFFD) {
                    Pages[p][n++] = {ch, static_cast<unsigned char>(0x80 + b)};
                }
            }
            std::sort(Pages[p].begin(), Pages[p].begin() + n);
            Sizes[p] = n;
        }
    }
};

const ReverseTables &Reverse()
{
    static const ReverseTables tables;
    return tables;
}

} // namespace

int CodePageForCharset(int charset, int fallback)
{
    for (const auto &entry : CharsetPages) {
        if (entry.Charset == charset) {
            return entry.CodePage != 0 ? entry.CodePage : fallback;
        }
    }
    return fallback;
}

int CharsetForCodePage(int codePage)
{
    for (const auto &entry : CharsetPages) {
        if (entry.CodePage == codePage) {
            return entry.Charset;
        }
    }
    return DefaultCharset;
}

bool IsWindowsCodePage(int codePage)
{
    return codePage == 874 || (codePage >= 1250 && codePage <= 1258) || IsDoubleByte(codePage);
}

bool IsDoubleByte(int codePage)
{
    return codePage == 932 || codePage == 936 || codePage == 949 || codePage == 950 ||
           codePage == 1361;
}

bool IsLeadByte(int codePage, unsigned char byte)
{
    switch (codePage) {
    case 932:
        return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
    case 936:
    case 949:
    case 950:
        return byte >= 0x81 && byte <= 0xFE;
    case 1361:
        return (byte >= 0x84 && byte <= 0xD3) || (byte >= 0xD8 && byte <= 0xF9);
    default:
        return false;
    }
}

char32_t DecodeByte(int codePage, unsigned char byte)
{
    if (byte < 0x80 || codePage == SymbolCodePage) {
        return byte;
    }
    if (IsDoubleByte(codePage)) {
        return U'?';
    }
    return HighTable(codePage)[byte - 0x80];
}

int EncodeChar(int codePage, char32_t ch)
{
    if (ch < 0x80) {
        return static_cast<int>(ch);
    }
    if (codePage == SymbolCodePage) {
        return ch <= 0xFF ? static_cast<int>(ch) : -1;
    }
    if (IsDoubleByte(codePage)) {
        return -1;
    }
    const std::uint16_t *high = HighTable(codePage);
    for (std::size_t p = 0; p < SingleBytePages.size(); ++p) {
        if (SingleBytePages[p].High != high) {
            continue;
        }
        const auto &tables = Reverse();
        auto begin = tables.Pages[p].begin();
        auto end = begin + tables.Sizes[p];
        auto it = std::lower_bound(begin, end, std::pair<char32_t, unsigned char>{ch, 0});
        return it != end && it->first == ch ? it->second : -1;
    }
    return -1;
}

} // namespace zor::doc
