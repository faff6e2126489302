#include "comm/Serial.h"
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"
#include "comm/Results.h"
#include "tests/support/FakeSerialPort.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <sys/stat.h>

namespace zor {
namespace {

using TBytes = TFakeSerialPort::TBytes;

TBytes Reply(std::uint8_t status, std::uint16_t word = 0)
{
    TBytes r(ReplyLength);
    BuildReply(r.data(), 0, word, status);
    return r;
}

std::string ReadFile(const std::string &path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

class SerialTest : public testing::Test
{
protected:
    SerialTest()
    {
        LogPath = (std::filesystem::temp_directory_path() /
                   ("zor-serial-test-" + std::to_string(::getpid()) + ".log"))
                      .string();
        std::filesystem::remove(LogPath);
        NewLine();
    }
    ~SerialTest() override { std::filesystem::remove(LogPath); }

    // A fresh port and link: nothing left on the line from an earlier transfer.
    void NewLine()
    {
        auto port = std::make_unique<TFakeSerialPort>();
        Port = port.get();
        Port->Responder = [this](const TBytes &frame) {
            return Panel.Feed(frame.data(), frame.size());
        };
        Serial = std::make_unique<TSerial>(std::move(port),
                                           TPortDevices{{"/dev/a", "/dev/b", "/dev/c", "/dev/d"}},
                                           TTransferLog{true, LogPath}, &Clock);
    }

    int Send(std::string_view text) { return Serial->SendProgram(text, 1, 1, 3, 9600); }

    TPanelEmulator Panel;
    TFixedClock Clock{TLocalDateTime{2001, 7, 17, 13, 45, 31}};
    TFakeSerialPort *Port = nullptr;
    std::string LogPath;
    std::unique_ptr<TSerial> Serial;
};

TEST_F(SerialTest, OpenPortMapsNumbersAndAppliesTheLine)
{
    for (const auto &[number, device] : std::vector<std::pair<int, std::string>>{{1, "/dev/a"},
                                                                                 {3, "/dev/c"},
                                                                                 {4, "/dev/d"},
                                                                                 {0, "/dev/d"},
                                                                                 {7, "/dev/d"},
                                                                                 {-2, "/dev/d"}}) {
        ASSERT_EQ(Serial->OpenPort(number, 38400), ResultOk);
        EXPECT_EQ(Port->Device, device) << number;
        EXPECT_EQ(Port->Baud, 38400);
        EXPECT_EQ(Serial->ClosePort(), ResultOk);
    }
    EXPECT_EQ(Port->Events.back(), "close");
    EXPECT_EQ(Port->Count("timeouts 0,0,100,0,100"), 6u);
    EXPECT_EQ(Serial->ClosePort(), ResultUnknownError);

    Port->FailSetLine = true;
    EXPECT_EQ(Serial->OpenPort(1, 9600), ResultUnknownError);
    EXPECT_TRUE(Port->IsOpen()); // the caller closes it
    Serial->ClosePort();
    Port->FailSetLine = false;
    Port->FailSetTimeouts = true;
    EXPECT_EQ(Serial->OpenPort(1, 9600), ResultUnknownError);
}

TEST_F(SerialTest, RefusalEndsAfterOneFrameAndClosesThePort)
{
    Port->Replies = {Reply(StatusRefused)};
    int free = -1;
    EXPECT_EQ(Serial->SendOpen(3, 9600, &free), ResultProgramDisabled);
    EXPECT_EQ(Port->Frames.size(), 1u);
    EXPECT_EQ(free, -1);
    EXPECT_FALSE(Port->IsOpen());
    EXPECT_EQ(Port->Count("flush"), 1u);
}

TEST_F(SerialTest, ThreeUnknownStatusesTimeOut)
{
    Port->Replies = {Reply(0x01), Reply(0x80), Reply(0xFF), Reply(StatusAccepted)};
    std::uint8_t message[6] = {' ', ' ', '7', ' ', ' ', 0};
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultTimeout);
    EXPECT_EQ(Port->Frames.size(), 3u);
    EXPECT_FALSE(Port->IsOpen());
}

TEST_F(SerialTest, BadCrcAndSilenceAreRetried)
{
    TBytes bad = Reply(StatusAccepted, 5);
    bad[9] ^= 1;
    Port->Replies = {bad, {}, Reply(StatusAccepted, 5)};
    int free = 0;
    EXPECT_EQ(Serial->SendOpen(2, 9600, &free), ResultOk);
    EXPECT_EQ(free, 5);
    EXPECT_EQ(Port->Frames.size(), 3u);
    EXPECT_EQ(Port->Frames[0], Port->Frames[2]);
}

TEST_F(SerialTest, StaleInputIsPurgedBeforeTheReplyIsRead)
{
    ASSERT_EQ(Serial->OpenPort(3, 9600), ResultOk);
    const TBytes stale = Reply(StatusRefused);
    Port->Input.assign(stale.begin(), stale.end());
    std::uint8_t data[BlockDataLength] = {};
    EXPECT_EQ(Serial->SendBlock(data, 1, 1), ResultOk);
    EXPECT_TRUE(Port->IsOpen()); // SendBlock leaves the port to its caller
}

TEST_F(SerialTest, PortFailuresGiveHardwareFailureWithoutFlushing)
{
    Port->FailRead = true;
    int free = 0;
    EXPECT_EQ(Serial->SendOpen(3, 9600, &free), ResultHardwareFailure);
    EXPECT_FALSE(Port->IsOpen());
    EXPECT_EQ(Port->Count("flush"), 0u);

    Port->FailRead = false;
    Port->FailPurge = true;
    Port->Frames.clear();
    EXPECT_EQ(Serial->SendOpen(3, 9600, &free), ResultHardwareFailure);
    EXPECT_TRUE(Port->Frames.empty()); // nothing goes out after a failed purge
    EXPECT_FALSE(Port->IsOpen());
}

// The log shows no Open frame for a port that never opened, or opened but could not be set up:
// nothing went out.
TEST_F(SerialTest, APortThatDidNotOpenLogsNoFrame)
{
    Port->Devices = {"/dev/a"};
    EXPECT_EQ(Send("Hello"), ResultHardwareFailure);
    EXPECT_TRUE(Port->Frames.empty());
    EXPECT_EQ(ReadFile(LogPath), "Open error!!!!\r\n");

    Port->Devices.clear();
    Port->FailSetLine = true;
    EXPECT_EQ(Send("Hello"), ResultUnknownError);
    EXPECT_TRUE(Port->Frames.empty());
    EXPECT_EQ(ReadFile(LogPath), "Open error!!!!\r\n");
    EXPECT_FALSE(Port->IsOpen());
}

TEST_F(SerialTest, OneBlockTransferWritesTheWholeLog)
{
    int maximum = 0;
    std::vector<int> positions;
    Serial->OnProgressMaximum = [&](int m) { maximum = m; };
    Serial->OnProgressPosition = [&](int p) { positions.push_back(p); };

    ASSERT_EQ(Send(std::string("S0F1T0\x1FHello\x1F")), ResultOk);

    const std::string open = "01,00,45,0F,39,03,0B,0F,20,F0,";
    const std::string openReply = "01,00,C8,00,00,00,00,00,D1,84,";
    const std::string block =
        "01,01,01,00,01,00,FF,7F,D1,31,53,30,46,31,54,30,1F,48,65,6C,6C,6F,1F," +
        [] {
            std::string zeros;
            for (int i = 0; i < 51; ++i)
                zeros += "00,";
            return zeros;
        }() +
        "25,E8,";
    const std::string blockReply = "01,01,00,00,00,00,00,00,D1,0C,";
    const std::string close = "01,02,01,01,01,00,01,00,DE,71,";
    const std::string closeReply = "01,02,00,00,00,00,00,00,E2,0C,";
    EXPECT_EQ(ReadFile(LogPath),
              "Open Send\r\n" + open + "\r\nOpen Receive\r\n" + openReply +
                  "\r\nSend Block number1\r\n" + block + "\r\nReceive Block number1\r\n" +
                  blockReply + "\r\nClose Send\r\n" + close + "\r\nClose Receive\r\n" + closeReply);

    EXPECT_EQ(maximum, 1);
    EXPECT_EQ(positions, std::vector<int>{1});
    EXPECT_FALSE(Port->IsOpen());
    EXPECT_EQ(Port->Count("open"), 2u);
    EXPECT_EQ(Port->Count("flush"), 2u);
}

TEST_F(SerialTest, ProgramArrivesWholeAndProgressCountsBlocks)
{
    std::string text;
    for (int i = 0; i < 130; ++i)
        text += static_cast<char>(' ' + i % 90);
    std::vector<int> positions;
    int maximum = 0;
    Serial->OnProgressMaximum = [&](int m) { maximum = m; };
    Serial->OnProgressPosition = [&](int p) { positions.push_back(p); };

    ASSERT_EQ(Send(text + '\0' + "ignored after the zero byte"), ResultOk);
    const auto events = Panel.TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Data, text);
    EXPECT_EQ(maximum, 2);
    EXPECT_EQ(positions, (std::vector<int>{0, 1, 2}));
    ASSERT_EQ(Port->Frames.size(), 5u);
    EXPECT_EQ(GetWord(Port->Frames[1].data() + 2), 1); // block 1 first
    EXPECT_EQ(Port->Frames[1][10], static_cast<std::uint8_t>(text[128]));
}

TEST_F(SerialTest, FreeBlocksEqualToTheNeedIsEnoughOneLessIsNot)
{
    const std::string text(64, 'x'); // two blocks
    Panel = TPanelEmulator(2);
    EXPECT_EQ(Send(text), ResultOk);

    Panel = TPanelEmulator(1);
    Port->Frames.clear();
    EXPECT_EQ(Send(text), ResultNoMemory);
    EXPECT_EQ(Port->Frames.size(), 1u); // the Open frame only
    EXPECT_TRUE(ReadFile(LogPath).ends_with(",\r\nRam free error!!!!\r\n"));
    EXPECT_FALSE(Port->IsOpen());
}

TEST_F(SerialTest, FailuresAfterTheOpenCloseThePortAndEndTheLog)
{
    Panel = TPanelEmulator(200, {{TPanelFaultKind::Refuse, {TPanelFrameKind::Block, 2}, -1}});
    EXPECT_EQ(Send(std::string(100, 'x')), ResultProgramDisabled);
    EXPECT_FALSE(Port->IsOpen());
    EXPECT_EQ(Port->Count("flush"), 1u); // only SendOpen's orderly close
    std::string log = ReadFile(LogPath);
    EXPECT_TRUE(log.ends_with("Receive Block number2\r\n01,01,00,00,00,00,00,FE,50,8C,\r\n"
                              "Write error!!!!\r\n"))
        << log;

    Panel = TPanelEmulator(200, {{TPanelFaultKind::Silent, {TPanelFrameKind::Close, 0}, 3}});
    EXPECT_EQ(Send("x"), ResultTimeout);
    log = ReadFile(LogPath);
    EXPECT_TRUE(log.ends_with("Close Receive\r\n00,00,00,00,00,00,00,00,00,00,Close error!!!!\r\n"))
        << log;

    Port->Devices = {"/dev/c"};
    Panel = TPanelEmulator();
    Port->FailSetTimeouts = false;
    // The second open (for the blocks) fails: the Open frame went through a first open.
    int opens = 0;
    Port->Responder = [&](const TBytes &frame) {
        if (++opens == 1)
            Port->Devices = {"/dev/none"};
        return Panel.Feed(frame.data(), frame.size());
    };
    EXPECT_EQ(Send("x"), ResultHardwareFailure);
    EXPECT_TRUE(ReadFile(LogPath).ends_with("Open port error!!!!\r\n"));
}

TEST_F(SerialTest, NoLogWhenLoggingIsOff)
{
    auto port = std::make_unique<TFakeSerialPort>();
    auto *fake = port.get();
    fake->Responder = [this](const TBytes &f) { return Panel.Feed(f.data(), f.size()); };
    TSerial serial(std::move(port), TPortDevices::Single("/dev/x"), TTransferLog{false, LogPath});
    EXPECT_EQ(serial.SendProgram("", 1, 1, 1, 9600), ResultOk);
    EXPECT_FALSE(std::filesystem::exists(LogPath));
    const auto events = Panel.TakeEvents();
    ASSERT_EQ(events.size(), 1u);
    EXPECT_EQ(events[0].Data, "");
    EXPECT_EQ(fake->Frames.size(), 3u);
}

// The second byte of each reply the log shows as taken, by the frame it was taken for ("Open",
// "Block" or "Close"). The emulated panel echoes the frame's kind there; the link itself never
// looks at it.
std::vector<std::pair<std::string, std::string>> TakenReplies(const std::string &log)
{
    std::vector<std::pair<std::string, std::string>> taken;
    std::istringstream in(log);
    std::string line, dump;
    while (std::getline(in, line)) {
        std::string frame;
        if (line.starts_with("Open Receive"))
            frame = "Open";
        else if (line.starts_with("Receive Block"))
            frame = "Block";
        else if (line.starts_with("Close Receive"))
            frame = "Close";
        else
            continue;
        if (std::getline(in, dump) && dump.size() >= 5)
            taken.emplace_back(frame, dump.substr(3, 2));
    }
    return taken;
}

bool IsFrame(const TBytes &frame, const TPanelFrameFilter &filter)
{
    switch (filter.Kind) {
    case TPanelFrameKind::Open:
        return frame[1] == KindOpen;
    case TPanelFrameKind::Close:
        return frame[1] == KindClose;
    case TPanelFrameKind::Block:
        return frame.size() == BlockFrameLength &&
               (filter.Block == 0 || GetWord(frame.data() + 2) == filter.Block);
    default:
        return true;
    }
}

// A panel that answers late, with a refusal or a silence of the Open frame, a block or the Close
// frame: a reply is only ever taken for the frame it answers. Replies within three listening
// windows of a frame's first copy are heard; later ones end the frame in Timeout. O.K. means the
// panel took the program; a refusal is never O.K.
TEST_F(SerialTest, LateRepliesAreNeverCreditedToALaterFrame)
{
    const std::string text(150, 'L'); // three blocks
    const TPanelFrameFilter faulted[] = {
        {TPanelFrameKind::Open, 0}, {TPanelFrameKind::Block, 2}, {TPanelFrameKind::Close, 0}};
    const char *const names[] = {"Open", "block 2", "Close"};
    for (const int late : {150, 300, 400, 600, 1000, 2000}) {
        for (const bool every : {true, false}) {
            for (const auto kind : {TPanelFaultKind::Refuse, TPanelFaultKind::Silent}) {
                for (int f = 0; f < 3; ++f) {
                    const bool refuse = kind == TPanelFaultKind::Refuse;
                    SCOPED_TRACE(std::string(refuse ? "refused " : "one silence of ") + names[f] +
                                 ", " + (every ? "every reply " : "its replies ") +
                                 std::to_string(late) + " ms late");
                    NewLine();
                    Panel = TPanelEmulator(200, {{kind, faulted[f], refuse ? -1 : 1}});
                    Port->ReplyLateMs = [&, f](const TBytes &frame) {
                        return every || IsFrame(frame, faulted[f]) ? late : 0;
                    };
                    const int code = Send(text);
                    // Silence: the second copy's reply comes a window after the first's would.
                    const int heardUpTo = refuse ? 600 : 400;
                    EXPECT_EQ(code, late <= heardUpTo ? (refuse ? ResultProgramDisabled : ResultOk)
                                                      : ResultTimeout);
                    const auto events = Panel.TakeEvents();
                    if (code == ResultOk) {
                        ASSERT_FALSE(events.empty());
                        EXPECT_EQ(events.back().Data, text);
                    }
                    auto taken = TakenReplies(ReadFile(LogPath));
                    if (code == ResultTimeout && !taken.empty())
                        taken.pop_back(); // what the frame that timed out last read
                    for (const auto &[frame, echo] : taken)
                        EXPECT_EQ(echo, frame == "Open"    ? "00"
                                        : frame == "Block" ? "01"
                                                           : "02")
                            << frame << " took another frame's reply";
                }
            }
        }
    }
}

// Replies whose lateness varies from frame to frame, up to the latest that is heard.
TEST_F(SerialTest, RepliesOfVaryingLatenessAreTakenForTheirOwnFrames)
{
    const std::string text(700, 'v'); // eleven blocks
    for (const bool refuseClose : {false, true}) {
        SCOPED_TRACE(refuseClose ? "Close refused" : "all accepted");
        int n = 0;
        Port->ReplyLateMs = [&n](const TBytes &) { return 200 + (n++ * 137) % 540; };
        Panel =
            refuseClose
                ? TPanelEmulator(200, {{TPanelFaultKind::Refuse, {TPanelFrameKind::Close, 0}, -1}})
                : TPanelEmulator();
        EXPECT_EQ(Send(text), refuseClose ? ResultProgramDisabled : ResultOk);
        if (!refuseClose) {
            EXPECT_EQ(Panel.TakeEvents().back().Data, text);
        }
        for (const auto &[frame, echo] : TakenReplies(ReadFile(LogPath)))
            EXPECT_EQ(echo, frame == "Open" ? "00" : frame == "Block" ? "01" : "02") << frame;
    }
}

// A panel that answers within the first listening window costs the transfer nothing but its own
// lateness: no copy is repeated and nothing is waited for.
TEST_F(SerialTest, APromptPanelIsNotWaitedFor)
{
    const std::string text(150, 'p'); // five frames: Open, three blocks, Close
    // Ten bits a byte at 9600 baud: 2 x 10 + 3 x 76 bytes.
    const std::int64_t writing = (2 * 10 + 3 * 76) * 10'000 / 9600;
    for (const int late : {0, 120, 240}) {
        SCOPED_TRACE(std::to_string(late) + " ms late");
        Port->Frames.clear();
        Port->ReplyLateMs = [late](const TBytes &) { return late; };
        Panel = TPanelEmulator();
        const std::int64_t start = Port->NowMs();
        ASSERT_EQ(Send(text), ResultOk);
        const std::int64_t took = Port->NowMs() - start;
        EXPECT_EQ(Port->Frames.size(), 5u);
        EXPECT_GE(took, 5 * late + writing - 1);
        EXPECT_LE(took, 5 * late + writing + 1);
        EXPECT_LT(Serial->SlowestReplyMs(), TSerial::WindowMs);
    }
}

// Only a whole reply answers: a lone zero byte over the cleared buffer has a right CRC and the
// status of acceptance, yet it is no reply; nor are ten zero bytes (a line held low).
TEST_F(SerialTest, ALoneByteIsNoReply)
{
    Port->Replies = {TBytes{0x00}, TBytes{0x00}, TBytes{0x00}};
    std::uint8_t message[6] = {' ', ' ', '7', ' ', ' ', 0};
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultTimeout);

    Port->Frames.clear();
    Port->Replies = {TBytes(ReplyLength, 0), TBytes(ReplyLength, 0), TBytes(ReplyLength, 0)};
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultTimeout);
    EXPECT_EQ(Port->Frames.size(), 3u);
    Port->Frames.clear();
    Port->Replies = {TBytes(ReplyLength, 0), Reply(StatusAccepted, 4)};
    int free = 0;
    EXPECT_EQ(Serial->SendOpen(3, 9600, &free), ResultOk);
    EXPECT_EQ(free, 4);
    EXPECT_EQ(Port->Frames.size(), 2u);

    // A reply that straddles two listening windows is heard whole, for its frame.
    const TBytes reply = Reply(StatusAccepted, 9);
    Port->Replies = {TBytes(reply.begin(), reply.begin() + 4),
                     TBytes(reply.begin() + 4, reply.end())};
    Port->ReplyLateMs = [](const TBytes &) { return 200; };
    Port->Frames.clear();
    EXPECT_EQ(Serial->SendOpen(3, 9600, &free), ResultOk);
    EXPECT_EQ(free, 9);
    EXPECT_EQ(Port->Frames.size(), 2u);
}

TEST_F(SerialTest, APanelThatNeverAnswersTimesOutAfterThreeAttempts)
{
    Panel = TPanelEmulator(200, {{TPanelFaultKind::Silent, {TPanelFrameKind::Any, 0}, -1}});
    const std::int64_t start = Port->NowMs();
    EXPECT_EQ(Send("x"), ResultTimeout);
    EXPECT_EQ(Port->Frames.size(), 3u);
    EXPECT_EQ(Port->Count("read"), 3u);
    // Three windows, then the replies the copies may still get are let go by before the port
    // closes: until the last copy is three windows old.
    const std::int64_t writing = 3 * 10 * 10'000 / 9600;
    EXPECT_NEAR(Port->NowMs() - start, 2 * TSerial::WindowMs + TSerial::LatestReplyMs + writing, 2);
    EXPECT_FALSE(Port->IsOpen());
}

TEST_F(SerialTest, AStopEndsTheTransferAfterTheFrameInFlight)
{
    TTransferStop stop;
    Serial->Stop = &stop;
    Serial->OnProgressPosition = [&](int position) {
        if (position == 0) // block 1 of three accepted
            stop.Request(TStopReason::Cancelled);
    };
    EXPECT_EQ(Send(std::string(150, 's')), ResultCancelled);
    ASSERT_EQ(Port->Frames.size(), 2u); // Open and block 1, nothing after
    EXPECT_FALSE(Port->IsOpen());
    EXPECT_TRUE(Panel.TakeEvents().empty()) << "no program taken";
    std::string log = ReadFile(LogPath);
    EXPECT_TRUE(log.ends_with("Receive Block number1\r\n01,01,00,00,00,00,00,00,D1,0C,\r\n"
                              "Transfer cancelled\r\n"))
        << log;

    // Asked for while a frame is being retried: its remaining attempts are dropped.
    TTransferStop interrupt;
    Serial->Stop = &interrupt;
    Serial->OnProgressPosition = nullptr;
    Port->Frames.clear();
    Panel = TPanelEmulator(200, {{TPanelFaultKind::Silent, {TPanelFrameKind::Block, 2}, -1}});
    Port->ReplyLateMs = [&](const TBytes &frame) {
        if (frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == 2)
            interrupt.Request(TStopReason::Interrupted);
        return 0;
    };
    EXPECT_EQ(Send(std::string(150, 's')), ResultCancelled);
    EXPECT_EQ(Port->Frames.size(), 3u); // Open, block 1, block 2 once
    log = ReadFile(LogPath);
    EXPECT_TRUE(log.ends_with("Transfer interrupted\r\n")) << log;
    EXPECT_FALSE(Port->IsOpen());

    // Asked for while the last copy waits for its reply: the stop ended it, not the panel.
    TTransferStop late;
    Serial->Stop = &late;
    Port->ReplyLateMs = nullptr;
    Port->Frames.clear();
    Port->Responder = [&](const TBytes &) {
        if (Port->Frames.size() == TSerial::Attempts)
            late.Request(TStopReason::Interrupted);
        return TBytes{};
    };
    std::uint8_t message[6] = {' ', ' ', '7', ' ', ' ', 0};
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultCancelled);
    EXPECT_EQ(Port->Frames.size(), 3u);
    EXPECT_FALSE(Port->IsOpen());

    // A numeric message asked to stop before it starts sends nothing.
    Serial->Stop = &interrupt;
    Port->Frames.clear();
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultCancelled);
    EXPECT_TRUE(Port->Frames.empty());
    EXPECT_FALSE(Port->IsOpen());
}

TEST_F(SerialTest, ALogThatCannotBeWrittenIsReportedAndTheTransferStillRuns)
{
    const auto dir = std::filesystem::path(LogPath).parent_path() /
                     ("zor-log-dir-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const struct
    {
        std::string Path;
        std::string Reason;
    } cases[] = {{dir.string(), "Is a directory"},
                 {(dir / "missing" / "zor.log").string(), "No such file or directory"},
                 {"/dev/full", "No space left on device"}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Path);
        auto port = std::make_unique<TFakeSerialPort>();
        port->Responder = [this](const TBytes &f) { return Panel.Feed(f.data(), f.size()); };
        TSerial serial(std::move(port), TPortDevices::Single("/dev/x"), TTransferLog{true, c.Path});
        EXPECT_EQ(serial.SendProgram("abc", 1, 1, 1, 9600), ResultOk);
        EXPECT_EQ(serial.LogProblem(), c.Path + ": " + c.Reason);
        const auto events = Panel.TakeEvents();
        ASSERT_EQ(events.size(), 1u);
        EXPECT_EQ(events[0].Data, "abc");
    }
    std::filesystem::remove_all(dir);
    EXPECT_TRUE(Serial->LogProblem().empty());
    EXPECT_EQ(Send("abc"), ResultOk);
    EXPECT_TRUE(Serial->LogProblem().empty());
}

// The device goes away during a transfer (unplugged): Hardware Failure says during which frame,
// and whether the panel may now hold part of the program.
TEST_F(SerialTest, ALineLostMidTransferSaysWhereAndWhatThePanelMayHold)
{
    const std::string text(150, 'u'); // three blocks
    const std::string again = " Send again once it is back.";
    const struct
    {
        std::function<bool(const TBytes &)> Frame;
        std::string Problem;
    } cases[] = {
        {[](const TBytes &f) { return f[1] == KindOpen; },
         "The device /dev/c went away during the Open frame, before any block was sent." + again},
        {[](const TBytes &f) { return f.size() == BlockFrameLength && GetWord(f.data() + 2) == 2; },
         "The device /dev/c went away during block 2 of 3: the panel may now hold part of the "
         "program." +
             again},
        {[](const TBytes &f) { return f[1] == KindClose; },
         "The device /dev/c went away during the Close frame, after all 3 blocks: the panel may "
         "now "
         "hold part of the program." +
             again},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Problem);
        NewLine();
        Panel = TPanelEmulator();
        Port->Responder = [&](const TBytes &frame) {
            Port->FailRead = c.Frame(frame);
            return Panel.Feed(frame.data(), frame.size());
        };
        EXPECT_EQ(Send(text), ResultHardwareFailure);
        EXPECT_EQ(Serial->PortProblem(), c.Problem);
        EXPECT_FALSE(Port->IsOpen());
        EXPECT_EQ(Port->Count("flush"), Port->Count("open") - 1) << "the lost port is not flushed";
    }

    NewLine();
    Port->FailRead = true;
    std::uint8_t message[6] = {' ', ' ', '7', ' ', ' ', 0};
    EXPECT_EQ(Serial->SendNumeric(message, 3, 9600), ResultHardwareFailure);
    EXPECT_EQ(Serial->PortProblem(),
              "The device /dev/c went away during the numeric message." + again);

    // A write that fails (an adapter pulled, as Windows reports it) while reads go on returning
    // nothing is the same loss, not a panel that never answered.
    NewLine();
    Panel = TPanelEmulator();
    Port->Responder = [&](const TBytes &frame) {
        Port->FailWrite = frame.size() == BlockFrameLength && GetWord(frame.data() + 2) == 1;
        return Panel.Feed(frame.data(), frame.size());
    };
    EXPECT_EQ(Send(text), ResultHardwareFailure);
    EXPECT_EQ(Serial->PortProblem(), "The port /dev/c went away during block 2 of 3: the panel may "
                                     "now hold part of the program." +
                                         again);
    NewLine();

    // A port that cannot be opened keeps its own reason, and success leaves none.
    Port->FailRead = false;
    Port->FailOpen = true;
    Port->Problem = "The device /dev/c does not exist.";
    EXPECT_EQ(Send(text), ResultHardwareFailure);
    EXPECT_EQ(Serial->PortProblem(), Port->Problem);
    Port->FailOpen = false;
    EXPECT_EQ(Send(text), ResultOk);
    EXPECT_TRUE(Serial->PortProblem().empty());
}

#ifndef _WIN32
// Links and FIFOs as POSIX has them.
TEST_F(SerialTest, TheLogGoesWhereALinkLeadsAndAFifoNobodyReadsDoesNotHoldTheTransfer)
{
    namespace fs = std::filesystem;
    const auto dir =
        fs::path(LogPath).parent_path() / ("zor-log-link-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "logs");
    fs::create_symlink("logs/zor.log", dir / "zor.log");
    mkfifo((dir / "fifo").c_str(), 0600);
    const auto send = [&](const fs::path &log) {
        auto port = std::make_unique<TFakeSerialPort>();
        port->Responder = [this](const TBytes &f) { return Panel.Feed(f.data(), f.size()); };
        TSerial serial(std::move(port), TPortDevices::Single("/dev/x"),
                       TTransferLog{true, log.string()});
        EXPECT_EQ(serial.SendProgram("abc", 1, 1, 1, 9600), ResultOk);
        EXPECT_EQ(Panel.TakeEvents().size(), 1u);
        return serial.LogProblem();
    };

    EXPECT_EQ(send(dir / "zor.log"), "");
    EXPECT_TRUE(fs::is_symlink(dir / "zor.log"));
    EXPECT_TRUE(ReadFile((dir / "logs" / "zor.log").string()).starts_with("Open Send\r\n"));

    EXPECT_EQ(send(dir / "fifo"), (dir / "fifo").string() + ": Nothing is reading from this FIFO");
    EXPECT_TRUE(fs::is_fifo(dir / "fifo"));
    fs::remove_all(dir);
}
#endif

TEST_F(SerialTest, APortThatCannotBeOpenedTellsWhy)
{
    Port->FailOpen = true;
    Port->Problem = "The device /dev/c does not exist.";
    EXPECT_EQ(Serial->OpenPort(3, 9600), ResultHardwareFailure);
    EXPECT_EQ(Serial->PortProblem(), Port->Problem);
    Port->FailOpen = false;
    EXPECT_EQ(Serial->OpenPort(3, 9600), ResultOk);
    EXPECT_TRUE(Serial->PortProblem().empty());
}

} // namespace
} // namespace zor
