#include "comm/Frames.h"
#include "comm/NumericMessage.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace zor {
namespace {

using TBytes = std::vector<std::uint8_t>;

TBytes Bytes(const std::uint8_t *data, std::size_t count)
{
    return TBytes(data, data + count);
}

std::uint16_t Crc(std::string_view text)
{
    return ComputeCrc(reinterpret_cast<const std::uint8_t *>(text.data()), text.size());
}

TEST(Crc, KnownValuesAndSelfCheck)
{
    EXPECT_EQ(Crc("123456789"), 0xBB3D);
    EXPECT_EQ(Crc("abc"), 0x9738);
    EXPECT_EQ(Crc(""), 0);
    EXPECT_EQ(CrcTable()[1], 0xC0C1);
    EXPECT_EQ(CrcTable()[255], 0x4040);

    std::uint8_t framed[5] = {'a', 'b', 'c'};
    PutWord(framed + 3, ComputeCrc(framed, 3));
    EXPECT_EQ(framed[3], 0x38);
    EXPECT_EQ(framed[4], 0x97);
    EXPECT_EQ(ComputeCrc(framed, 5), 0);
}

TEST(DayNumber, CountsFromTheEndOf1990WithEveryFourthYearLeap)
{
    EXPECT_EQ(DayNumber(1991, 1, 1), 1);
    EXPECT_EQ(DayNumber(1991, 12, 31), 365);
    EXPECT_EQ(DayNumber(1992, 3, 1), 365 + 31 + 29 + 1);
    EXPECT_EQ(DayNumber(2001, 7, 17), 3851);
    EXPECT_EQ(DayNumber(2100, 3, 1) - DayNumber(2100, 2, 28), 2); // the panel's own calendar
}

TEST(Frames, ControlFramesByteForByte)
{
    std::uint8_t f[ControlFrameLength];
    ASSERT_EQ(BuildOpenFrame(f, {2001, 7, 17, 13, 45, 31}), 10u);
    EXPECT_EQ(Bytes(f, 10), (TBytes{0x01, 0x00, 0x45, 0x0F, 0x39, 0x03, 0x0B, 0x0F, 0x20, 0xF0}));

    BuildCloseFrame(f, 3, 1);
    EXPECT_EQ(Bytes(f, 10), (TBytes{0x01, 0x02, 0x01, 0x01, 0x03, 0x00, 0x03, 0x00, 0xDE, 0xA9}));

    std::uint8_t message[6];
    ASSERT_TRUE(BuildMessage("7", "", message));
    EXPECT_EQ(Bytes(message, 6), (TBytes{0x20, 0x20, 0x37, 0x20, 0x20, 0x00}));
    BuildNumericFrame(f, message);
    EXPECT_EQ(Bytes(f, 10), (TBytes{0x01, 0x09, 0x20, 0x20, 0x37, 0x20, 0x20, 0xFF, 0x88, 0x55}));

    ASSERT_TRUE(BuildMessage("123", "45", message));
    BuildNumericFrame(f, message);
    EXPECT_EQ(Bytes(f, 10), (TBytes{0x01, 0x09, 0x31, 0x32, 0x33, 0x34, 0x35, 0xFF, 0x7C, 0xB3}));
}

TEST(Frames, BlockFrameHeaderAndDataCrc)
{
    std::uint8_t data[BlockDataLength] = {};
    std::uint8_t f[BlockFrameLength];
    ASSERT_EQ(BuildBlockFrame(f, data, 1, 1), 76u);
    EXPECT_EQ(Bytes(f, 10), (TBytes{0x01, 0x01, 0x01, 0x00, 0x01, 0x00, 0xFF, 0x7F, 0xD1, 0x31}));
    // The header with its CRC checks to zero, so zero data leave the final CRC at zero too.
    EXPECT_EQ(f[74], 0x00);
    EXPECT_EQ(f[75], 0x00);

    data[0] = 'A';
    BuildBlockFrame(f, data, 0x0102, 7);
    EXPECT_EQ(f[1], 7);
    EXPECT_EQ(GetWord(f + 2), 0x0102);
    EXPECT_EQ(GetWord(f + 4), 0x0102);
    EXPECT_EQ(f[10], 'A');
    EXPECT_EQ(ComputeCrc(f, 76), 0);
}

struct TSplit
{
    std::size_t Length;
    std::size_t Blocks;
};

class BlockSplit : public testing::TestWithParam<TSplit>
{
};

TEST_P(BlockSplit, BlocksCarryTheTextLastFirstWithItsZeroByte)
{
    std::string text;
    for (std::size_t i = 0; i < GetParam().Length; ++i)
        text += static_cast<char>('A' + i % 26);
    const std::size_t n = BlockCount(text.size());
    ASSERT_EQ(n, GetParam().Blocks);

    // Reassembled in the panel's order (block n first), the blocks give the text, a zero byte
    // and zero padding.
    std::string joined;
    std::uint8_t data[BlockDataLength];
    for (std::size_t k = n; k >= 1; --k) {
        BlockData(text, n, k, data);
        joined.append(reinterpret_cast<const char *>(data), BlockDataLength);
    }
    ASSERT_EQ(joined.size(), n * 64);
    EXPECT_EQ(joined.substr(0, text.size()), text);
    EXPECT_EQ(joined.find_first_not_of('\0', text.size()), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(Lengths, BlockSplit,
                         testing::Values(TSplit{0, 1}, TSplit{63, 1}, TSplit{64, 2},
                                         TSplit{130, 3}));

TEST(BlockSplit, HundredThirtyBytesPutTheTailIntoBlockOne)
{
    std::string text(130, 'x');
    text[128] = 'y';
    text[129] = 'z';
    std::uint8_t data[BlockDataLength];
    BlockData(text, 3, 1, data);
    EXPECT_EQ(data[0], 'y');
    EXPECT_EQ(data[1], 'z');
    EXPECT_EQ(data[2], 0);
    BlockData(text, 3, 3, data);
    EXPECT_EQ(data[0], 'x');
}

TEST(Reply, ValidOnlyWithBytesReadAndAZeroCrc)
{
    std::uint8_t r[ReplyLength];
    BuildReply(r, KindOpen, 200, StatusAccepted);
    TReply reply = CheckReply(r, 10);
    EXPECT_TRUE(reply.Valid);
    EXPECT_EQ(reply.Status, 0);
    EXPECT_EQ(reply.FreeBlocks, 200);
    EXPECT_FALSE(CheckReply(r, 0).Valid);
    EXPECT_TRUE(CheckReply(r, 3).Valid); // the rest of the buffer counts as well
    r[5] ^= 1;
    EXPECT_FALSE(CheckReply(r, 10).Valid);
    std::memset(r, 0, sizeof r);
    EXPECT_FALSE(CheckReply(r, 10).Valid); // a line held low: the CRC checks, yet no panel spoke
    r[2] = 1; // any other byte set makes a reply again, judged by its CRC
    PutWord(r + 8, ComputeCrc(r, 8));
    EXPECT_TRUE(CheckReply(r, 10).Valid);
}

TEST(NumericMessage, PadsDigitsAndRefusesAnythingElse)
{
    std::uint8_t m[6];
    ASSERT_TRUE(BuildMessage("", "", m));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(m), 5), "     ");
    ASSERT_TRUE(BuildMessage("007", "0", m));
    EXPECT_EQ(std::string(reinterpret_cast<char *>(m), 5), "007 0");

    for (const auto &[days, accidents] : std::vector<std::pair<std::string, std::string>>{
             {"5a", ""}, {"5", "x"}, {" 7", ""}, {"", "1 "}, {"-1", ""}, {"+3", ""}}) {
        m[0] = 0;
        EXPECT_FALSE(BuildMessage(days, accidents, m)) << days << "|" << accidents;
        EXPECT_EQ(m[0], NumericInvalidMark);
    }
}

} // namespace
} // namespace zor
