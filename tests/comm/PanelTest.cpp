#include "comm/Frames.h"
#include "comm/PanelEmulator.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zor {
namespace {

using TBytes = std::vector<std::uint8_t>;

// The frames of a whole program transfer, as the editor sends them.
TBytes TransferStream(std::string_view text, std::uint16_t *blocks)
{
    TBytes out;
    std::uint8_t f[BlockFrameLength];
    out.insert(out.end(), f, f + BuildOpenFrame(f, {2020, 2, 29, 23, 59, 59}));
    const std::size_t n = BlockCount(text.size());
    std::uint8_t data[BlockDataLength];
    for (std::size_t k = 1; k <= n; ++k) {
        BlockData(text, n, k, data);
        out.insert(out.end(), f, f + BuildBlockFrame(f, data, static_cast<std::uint16_t>(k), 1));
    }
    out.insert(out.end(), f, f + BuildCloseFrame(f, static_cast<std::uint16_t>(n), 1));
    *blocks = static_cast<std::uint16_t>(n);
    return out;
}

std::vector<std::uint8_t> Statuses(const TBytes &replies)
{
    std::vector<std::uint8_t> s;
    for (std::size_t i = 0; i + ReplyLength <= replies.size(); i += ReplyLength) {
        EXPECT_EQ(ComputeCrc(replies.data() + i, ReplyLength), 0);
        s.push_back(replies[i + 7]);
    }
    return s;
}

TEST(Panel, ReassemblesAProgramFedWholeOrByteByByte)
{
    const std::string text(150, 'q');
    std::uint16_t n = 0;
    const TBytes stream = TransferStream(text + "tail", &n);

    TPanelEmulator whole(10);
    const TBytes replies = whole.Feed(stream.data(), stream.size());
    EXPECT_EQ(Statuses(replies), TBytes(n + 2, StatusAccepted));
    EXPECT_EQ(GetWord(replies.data() + 2), 10); // FreeBlocks in the reply to Open

    TPanelEmulator bytewise(10);
    TBytes replies2;
    for (std::uint8_t b : stream) {
        const TBytes r = bytewise.Feed(&b, 1);
        replies2.insert(replies2.end(), r.begin(), r.end());
    }
    EXPECT_EQ(replies2, replies);
    for (TPanelEmulator *p : {&whole, &bytewise}) {
        const auto events = p->TakeEvents();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Kind, TPanelEvent::Program);
        EXPECT_EQ(events[0].Data, text + "tail");
        EXPECT_EQ(p->Transfers(), 1);
    }
}

TEST(Panel, IdleLineForgetsAHalfReceivedFrame)
{
    std::uint8_t block[BlockFrameLength];
    std::uint8_t data[BlockDataLength] = {'a'};
    BuildBlockFrame(block, data, 1, 1);
    std::uint8_t open[BlockFrameLength];
    const std::size_t openLength = BuildOpenFrame(open, {2020, 2, 29, 23, 59, 59});

    // Without the pause the Open frame is read as the rest of the broken block: no answer.
    TPanelEmulator busy(10);
    EXPECT_TRUE(busy.Feed(block, 30).empty());
    EXPECT_TRUE(busy.Feed(open, openLength).empty());
    EXPECT_TRUE(busy.PartialFrame());

    // After it, the next frame is read from its own start and answered.
    TPanelEmulator panel(10);
    EXPECT_TRUE(panel.Feed(block, 30).empty());
    EXPECT_TRUE(panel.PartialFrame());
    panel.LineIdle();
    EXPECT_FALSE(panel.PartialFrame());
    EXPECT_EQ(Statuses(panel.Feed(open, openLength)), TBytes{StatusAccepted});

    // An idle line between whole frames changes nothing.
    panel.LineIdle();
    EXPECT_EQ(Statuses(panel.Feed(open, openLength)), TBytes{StatusAccepted});
}

TEST(Panel, SkipsNoiseAndDropsDamagedFrames)
{
    std::uint8_t f[ControlFrameLength];
    std::uint8_t message[6] = {' ', '1', '2', ' ', '3', 0};
    BuildNumericFrame(f, message);
    TBytes stream = {0x00, 0x7F, 0x01}; // noise with a false start byte
    TBytes damaged(f, f + 10);
    damaged[4] ^= 0x10;
    stream.insert(stream.end(), damaged.begin(), damaged.end());
    stream.insert(stream.end(), f, f + 10);

    TPanelEmulator panel;
    const TBytes replies = panel.Feed(stream.data(), stream.size());
    EXPECT_EQ(Statuses(replies), TBytes{StatusAccepted});
    const auto events = panel.TakeEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().Kind, TPanelEvent::Numeric);
    EXPECT_EQ(events.back().Data, " 12 3");
}

TEST(Panel, ChecksRepeatedFields)
{
    std::uint8_t f[ControlFrameLength];
    BuildCloseFrame(f, 2, 1);
    f[6] = 3; // the repeated block count differs
    PutWord(f + 8, ComputeCrc(f, 8));
    TPanelEmulator panel;
    EXPECT_TRUE(panel.Feed(f, 10).empty());
    EXPECT_EQ(panel.TakeEvents().at(0).Data, "Close frame: repeated fields differ");
}

TEST(Panel, RefusesAnIncompleteProgramButAcceptsARepeatedClose)
{
    std::uint16_t n = 0;
    TBytes stream = TransferStream(std::string(70, 'z'), &n); // Open, block 1, block 2, Close
    const TBytes close(stream.end() - 10, stream.end());
    TPanelEmulator panel;
    TBytes all = panel.Feed(stream.data(), stream.size());
    TBytes again = panel.Feed(close.data(), close.size()); // the editor missed the reply
    EXPECT_EQ(Statuses(again), TBytes{StatusAccepted});
    EXPECT_EQ(panel.Transfers(), 1);

    TPanelEmulator missing;
    TBytes partial(stream.begin(), stream.begin() + 10 + 76); // Open and block 1 only
    partial.insert(partial.end(), close.begin(), close.end());
    EXPECT_EQ(Statuses(missing.Feed(partial.data(), partial.size())),
              (TBytes{StatusAccepted, StatusAccepted, StatusRefused}));
    EXPECT_EQ(missing.Transfers(), 0);
}

TEST(Panel, InjectedFaultsApplyToTheirFramesAndCount)
{
    TPanelFault silent, refuse, badCrc, unknown;
    ASSERT_TRUE(ParsePanelFault("open:2", TPanelFaultKind::Silent, 1, &silent));
    ASSERT_TRUE(ParsePanelFault("block2", TPanelFaultKind::Refuse, -1, &refuse));
    ASSERT_TRUE(ParsePanelFault("close", TPanelFaultKind::BadCrc, 1, &badCrc));
    ASSERT_TRUE(ParsePanelFault("any:1", TPanelFaultKind::UnknownStatus, 1, &unknown));
    TPanelFault ignored;
    EXPECT_FALSE(ParsePanelFault("block0", TPanelFaultKind::Silent, 1, &ignored));
    EXPECT_FALSE(ParsePanelFault("opens", TPanelFaultKind::Silent, 1, &ignored));
    EXPECT_FALSE(ParsePanelFault("open:x", TPanelFaultKind::Silent, 1, &ignored));

    TPanelEmulator panel(200, {silent, refuse, badCrc, unknown});
    std::uint8_t f[BlockFrameLength];
    const auto feed = [&](std::size_t length) { return panel.Feed(f, length); };

    BuildOpenFrame(f, {});
    EXPECT_TRUE(feed(10).empty());
    EXPECT_TRUE(feed(10).empty());
    EXPECT_EQ(Statuses(feed(10)), TBytes{TPanelEmulator::UnknownStatus}); // "any" once
    EXPECT_EQ(Statuses(feed(10)), TBytes{StatusAccepted});

    std::uint8_t data[BlockDataLength] = {};
    BuildBlockFrame(f, data, 2, 1);
    EXPECT_EQ(Statuses(feed(76)), TBytes{StatusRefused});
    EXPECT_EQ(Statuses(feed(76)), TBytes{StatusRefused});
    BuildBlockFrame(f, data, 1, 1);
    EXPECT_EQ(Statuses(feed(76)), TBytes{StatusAccepted});

    BuildCloseFrame(f, 1, 1);
    const TBytes bad = feed(10);
    ASSERT_EQ(bad.size(), ReplyLength);
    EXPECT_NE(ComputeCrc(bad.data(), ReplyLength), 0);
    EXPECT_EQ(Statuses(feed(10)), TBytes{StatusAccepted});
}

} // namespace
} // namespace zor

namespace zor {
namespace {

TEST(Panel, LateRepliesAreHeldBackOnlyForTheirFramesAndOnlyAsOftenAsAsked)
{
    TPanelLateness late;
    ASSERT_TRUE(ParsePanelLateness("120-180", &late));
    EXPECT_EQ(late.MinMs, 120);
    EXPECT_EQ(late.MaxMs, 180);
    TPanelLateness bad;
    EXPECT_FALSE(ParsePanelLateness("180-120", &bad));
    EXPECT_FALSE(ParsePanelLateness("-5", &bad));
    EXPECT_FALSE(ParsePanelLateness("1x", &bad));

    std::uint16_t blocks = 0;
    const TBytes stream = TransferStream(std::string(100, 'q'), &blocks);
    TPanelEmulator every(200, {}, late);
    const auto replies = every.FeedReplies(stream.data(), stream.size());
    ASSERT_EQ(replies.size(), blocks + 2u);
    for (const auto &r : replies) {
        EXPECT_GE(r.LateMs, 120);
        EXPECT_LE(r.LateMs, 180);
        EXPECT_EQ(r.Bytes.size(), ReplyLength);
    }

    late.Frames = {TPanelFrameKind::Block, 0};
    late.Count = 1;
    TPanelEmulator some(200, {}, late);
    std::vector<int> delays;
    for (const auto &r : some.FeedReplies(stream.data(), stream.size()))
        delays.push_back(r.LateMs);
    ASSERT_EQ(delays.size(), 4u);
    EXPECT_EQ(delays[0], 0) << "the Open reply is on time";
    EXPECT_GT(delays[1], 0) << "the first block's reply is late";
    EXPECT_EQ(delays[2], 0) << "the count is used up";
    EXPECT_EQ(delays[3], 0);
}

} // namespace
} // namespace zor
