#include "comm/Frames.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace zor {

namespace {

constexpr std::array<std::uint16_t, 256> MakeCrcTable()
{
    std::array<std::uint16_t, 256> table{};
    for (unsigned i = 0; i < 256; ++i) {
        unsigned value = i;
        for (int bit = 0; bit < 8; ++bit)
            value = (value & 1) ? (value >> 1) ^ 0xA001 : value >> 1;
        table[i] = static_cast<std::uint16_t>(value);
    }
    return table;
}

constexpr std::array<std::uint16_t, 256> Table = MakeCrcTable();

constexpr int MonthLength[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};

bool PanelLeapYear(int year)
{
    return year % 4 == 0;
}

} // namespace

const std::uint16_t *CrcTable()
{
    return Table.data();
}

std::uint16_t ComputeCrc(const std::uint8_t *data, std::size_t count)
{
    std::uint16_t crc = 0;
    for (std::size_t i = 0; i < count; ++i)
        crc = static_cast<std::uint16_t>((crc >> 8) ^ Table[(crc ^ data[i]) & 0xFF]);
    return crc;
}

void PutWord(std::uint8_t *data, std::uint16_t value)
{
    data[0] = static_cast<std::uint8_t>(value & 0xFF);
    data[1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t GetWord(const std::uint8_t *data)
{
    return static_cast<std::uint16_t>(data[0] | (data[1] << 8));
}

int DayNumber(int year, int month, int day)
{
    int days = day;
    for (int m = 1; m < month && m <= 12; ++m)
        days += (m == 2 && PanelLeapYear(year)) ? 29 : MonthLength[m - 1];
    for (int y = 1991; y < year; ++y)
        days += PanelLeapYear(y) ? 366 : 365;
    return days;
}

std::size_t BuildOpenFrame(std::uint8_t *frame, const TLocalDateTime &now)
{
    frame[0] = FrameStart;
    frame[1] = KindOpen;
    frame[2] = OpenMarker;
    frame[3] = static_cast<std::uint8_t>(now.Second / 2);
    PutWord(frame + 4, static_cast<std::uint16_t>(now.Hour * 60 + now.Minute));
    PutWord(frame + 6, static_cast<std::uint16_t>(DayNumber(now.Year, now.Month, now.Day)));
    PutWord(frame + 8, ComputeCrc(frame, 8));
    return ControlFrameLength;
}

std::size_t BuildCloseFrame(std::uint8_t *frame, std::uint16_t blocks, std::uint8_t closeSelector)
{
    frame[0] = FrameStart;
    frame[1] = KindClose;
    frame[2] = closeSelector;
    frame[3] = closeSelector;
    PutWord(frame + 4, blocks);
    PutWord(frame + 6, blocks);
    PutWord(frame + 8, ComputeCrc(frame, 8));
    return ControlFrameLength;
}

std::size_t BuildNumericFrame(std::uint8_t *frame, const std::uint8_t *message)
{
    frame[0] = FrameStart;
    frame[1] = KindNumeric;
    std::memcpy(frame + 2, message, NumericMessageLength);
    frame[7] = 0xFF;
    PutWord(frame + 8, ComputeCrc(frame, 8));
    return ControlFrameLength;
}

std::size_t BuildBlockFrame(std::uint8_t *frame, const std::uint8_t *data, std::uint16_t block,
                            std::uint8_t selector)
{
    frame[0] = FrameStart;
    frame[1] = selector;
    PutWord(frame + 2, block);
    PutWord(frame + 4, block);
    frame[6] = 0xFF;
    frame[7] = 0x7F;
    PutWord(frame + 8, ComputeCrc(frame, 8));
    std::memcpy(frame + 10, data, BlockDataLength);
    PutWord(frame + 74, ComputeCrc(frame, 74));
    return BlockFrameLength;
}

std::size_t BlockCount(std::size_t length)
{
    return length / BlockDataLength + 1;
}

void BlockData(std::string_view text, std::size_t count, std::size_t k, std::uint8_t *data)
{
    std::memset(data, 0, BlockDataLength);
    const std::size_t offset = (count - k) * BlockDataLength;
    if (offset < text.size()) {
        const std::size_t n = std::min(BlockDataLength, text.size() - offset);
        std::memcpy(data, text.data() + offset, n);
    }
}

TReply CheckReply(const std::uint8_t *buffer, std::size_t bytesRead)
{
    TReply reply;
    // A line held low (a break, a bus pulled to 0, a server answering zeros) reads as ten zero
    // bytes, whose CRC checks and whose status accepts: that is no panel speaking.
    const bool allZero =
        std::all_of(buffer, buffer + ReplyLength, [](std::uint8_t b) { return b == 0; });
    reply.Valid = bytesRead > 0 && !allZero && ComputeCrc(buffer, ReplyLength) == 0;
    reply.Status = buffer[7];
    reply.FreeBlocks = GetWord(buffer + 2);
    return reply;
}

void BuildReply(std::uint8_t *reply, std::uint8_t kind, std::uint16_t word, std::uint8_t status)
{
    std::memset(reply, 0, ReplyLength);
    reply[0] = FrameStart;
    reply[1] = kind;
    PutWord(reply + 2, word);
    reply[7] = status;
    PutWord(reply + 8, ComputeCrc(reply, 8));
}

} // namespace zor
