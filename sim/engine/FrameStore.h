// The engine's dot memory, the picture of a frame it hands to its sinks, and the panel's palette.
//
// Only this header knows how dots are packed: everything else reads and writes dots by column,
// row and colour number (0 black, 1 green, 2 red, 3 yellow). The accessors are inline because
// the engine calls them for every dot of every frame.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zor {

inline constexpr int PanelColumns = 120;
inline constexpr int PanelRows = 10;

struct TRgb
{
    std::uint8_t Red = 0;
    std::uint8_t Green = 0;
    std::uint8_t Blue = 0;
};

// The panel's colours by colour number; every picture of the panel (window, preview, GIF) uses
// these, so that they all show the same green, red and yellow.
inline constexpr std::array<TRgb, 4> PanelPalette = {
    {{0, 0, 0}, {0, 255, 0}, {255, 0, 0}, {255, 255, 0}}};

// A picture of the panel, as one frame shows it: the colour number (0 to 3) of each dot, row by
// row from the top row, 120 dots a row.
struct TPanelPicture
{
    std::array<std::uint8_t, PanelColumns * PanelRows> Dots{};

    // x 0 to 119, y 0 (top) to 9; no range check.
    int Dot(int x, int y) const { return Dots[static_cast<std::size_t>(y * PanelColumns + x)]; }
    void SetDot(int x, int y, int colour)
    {
        Dots[static_cast<std::size_t>(y * PanelColumns + x)] = static_cast<std::uint8_t>(colour);
    }
    bool operator==(const TPanelPicture &) const = default;
};

// The engine's dot memory: 10 dot rows (0 = top) of 256 bytes. Each row holds the same dot row of
// four pages of 64 bytes: page 1 (bytes 0-63) and page 2 (64-127) are the shown pair, pages 3 and
// 4 the staging pair. Dot column x of a page row lives in byte x mod 30, bits 2*(x div 30) and
// up; the stored value is the complement of the colour number (0xFF = four black dots). Byte 30
// of a page row is the incoming dot of scrolling. Effects that work on whole bytes (snow, the
// falling dots, saving the picture) reach them through Rows; dots go through Dot and SetDot.
struct TFrameStore
{
    static constexpr int Page1 = 0;
    static constexpr int Page2 = 64;
    static constexpr int Page3 = 128;
    static constexpr int Page4 = 192;
    // Bytes of a page row that hold its 120 dots, and the byte of the incoming dot.
    static constexpr int RowBytes = 30;
    static constexpr int IncomingByte = 30;

    std::array<std::array<std::uint8_t, 256>, PanelRows> Rows{};

    // A page row: the RowBytes bytes of dot row y of the page that starts at byte offset page
    // (Page1 ... Page4), and its incoming byte after them.
    std::uint8_t *Row(int page, int y) { return Rows[static_cast<std::size_t>(y)].data() + page; }
    const std::uint8_t *Row(int page, int y) const
    {
        return Rows[static_cast<std::size_t>(y)].data() + page;
    }

    // Colour number of dot x, y of a page; no range check.
    int Dot(int page, int x, int y) const { return DotOf(Row(page, y), x); }
    void SetDot(int page, int x, int y, int colour) { SetDotOf(Row(page, y), x, colour); }

    // The same on one page row.
    static int DotOf(const std::uint8_t *row, int x)
    {
        return 3 - ((row[x % RowBytes] >> (2 * (x / RowBytes))) & 3);
    }
    static void SetDotOf(std::uint8_t *row, int x, int colour)
    {
        const int shift = 2 * (x / RowBytes);
        std::uint8_t &b = row[x % RowBytes];
        b = static_cast<std::uint8_t>((b & ~(3 << shift)) | ((3 - colour) << shift));
    }

    // A byte of four dots of one colour.
    static constexpr std::uint8_t FillByte(int colour)
    {
        return static_cast<std::uint8_t>((3 - colour) * 0x55);
    }
    // Every dot of a page row in one colour; the incoming byte is left alone.
    static void FillRow(std::uint8_t *row, int colour)
    {
        std::memset(row, FillByte(colour), RowBytes);
    }
    // The incoming dot of a page row: the colour that the next scroll step brings in.
    static int IncomingDot(const std::uint8_t *row) { return 3 - (row[IncomingByte] & 3); }
    static void SetIncoming(std::uint8_t *row, int colour) { row[IncomingByte] = FillByte(colour); }

    // Moves every dot of a page row one column left; column 119 takes the colour incoming.
    // Returns the colour of the dot that left column 0.
    static int ScrollLeft(std::uint8_t *row, int incoming)
    {
        const std::uint8_t first = row[0];
        std::memmove(row, row + 1, RowBytes - 1);
        row[RowBytes - 1] = static_cast<std::uint8_t>((first >> 2) | ((3 - incoming) << 6));
        return 3 - (first & 3);
    }
    // The mirror image: column 0 takes the colour incoming; returns the dot that left column 119.
    static int ScrollRight(std::uint8_t *row, int incoming)
    {
        const std::uint8_t last = row[RowBytes - 1];
        std::memmove(row + 1, row, RowBytes - 1);
        row[0] = static_cast<std::uint8_t>(((last << 2) & 0xFC) | (3 - incoming));
        return 3 - (last >> 6);
    }

    // The dots of a page as a frame.
    void ToFrame(int page, TPanelPicture &frame) const
    {
        for (int y = 0; y < PanelRows; ++y) {
            const std::uint8_t *src = Row(page, y);
            std::uint8_t *dst = frame.Dots.data() + y * PanelColumns;
            for (int j = 0; j < RowBytes; ++j) {
                const std::uint8_t v = static_cast<std::uint8_t>(~src[j]);
                dst[j] = v & 3;
                dst[j + 30] = (v >> 2) & 3;
                dst[j + 60] = (v >> 4) & 3;
                dst[j + 90] = v >> 6;
            }
        }
    }
};

} // namespace zor
