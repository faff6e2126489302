// The Telnet codec of rfc2217:// links, fed as a server's bytes may come: every stream whole,
// byte by byte and cut in two at every place, and each must read the same.
#include "comm/TelnetCodec.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <vector>

namespace zor {
namespace {

using TBytes = std::vector<std::uint8_t>;
using T = TTelnetCodec;

TBytes Bytes(std::initializer_list<int> list)
{
    TBytes b;
    for (int v : list)
        b.push_back(static_cast<std::uint8_t>(v));
    return b;
}

TBytes operator+(TBytes a, const TBytes &b)
{
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TBytes Repeat(const TBytes &b, int times)
{
    TBytes all;
    for (int i = 0; i < times; ++i)
        all = all + b;
    return all;
}

struct TDecoded
{
    TBytes Data;
    TBytes ToServer;
    std::vector<TTelnetEvent> Events;
    bool operator==(const TDecoded &) const = default;
};

// A started codec (its own requests dropped) fed bytes in pieces that end at cuts.
TDecoded FeedCut(const TBytes &bytes, const std::vector<std::size_t> &cuts)
{
    TTelnetCodec codec;
    TBytes requests;
    codec.Start(&requests);
    TDecoded d;
    std::size_t from = 0;
    for (std::size_t cut : cuts) {
        const auto events = codec.Decode(bytes.data() + from, cut - from, &d.Data, &d.ToServer);
        d.Events.insert(d.Events.end(), events.begin(), events.end());
        from = cut;
    }
    const auto events =
        codec.Decode(bytes.data() + from, bytes.size() - from, &d.Data, &d.ToServer);
    d.Events.insert(d.Events.end(), events.begin(), events.end());
    return d;
}

// What a link makes of bytes, checked to be the same fed whole, byte by byte and cut in two
// anywhere (at random places for long streams), and never to answer with more than came in.
TDecoded Decode(const TBytes &bytes)
{
    const TDecoded whole = FeedCut(bytes, {});
    std::vector<std::size_t> every;
    for (std::size_t i = 1; i < bytes.size(); ++i)
        every.push_back(i);
    EXPECT_EQ(FeedCut(bytes, every), whole) << "byte by byte";
    std::mt19937 random(7);
    for (std::size_t i = 1; i < bytes.size(); ++i) {
        const std::size_t cut = bytes.size() <= 200 ? i : 1 + random() % (bytes.size() - 1);
        EXPECT_EQ(FeedCut(bytes, {cut}), whole) << "cut at " << cut;
        if (bytes.size() > 200 && i == 200)
            break;
    }
    EXPECT_LE(whole.ToServer.size(), bytes.size());
    return whole;
}

TTelnetEvent LineSet(std::uint8_t setting, std::int64_t value)
{
    return {TTelnetEvent::LineSet, setting, value};
}

TEST(TelnetCodec, DataPassesThroughAndADoubledIacIsOneDataByte)
{
    TBytes all;
    for (int v = 0; v < 255; ++v)
        all.push_back(static_cast<std::uint8_t>(v));
    EXPECT_EQ(Decode(all), (TDecoded{all, {}, {}}));

    EXPECT_EQ(Decode(Bytes({'A', 255, 255, 'B', 255, 255, 255, 255, 'C'})).Data,
              Bytes({'A', 255, 'B', 255, 255, 'C'}));
    EXPECT_EQ(Decode({}), TDecoded{});

    // A flood of escaped 0xFF is data, half as long, and asks nothing back.
    EXPECT_EQ(Decode(TBytes(4096, 255)), (TDecoded{TBytes(2048, 255), {}, {}}));
}

TEST(TelnetCodec, EscapedDataReadsBackAsSentAndTheLineRequestDoublesIac)
{
    TBytes all;
    for (int v = 0; v < 256; ++v)
        all.push_back(static_cast<std::uint8_t>(v));
    all = all + Bytes({255, 255, 0, 255});
    TBytes escaped;
    for (std::uint8_t b : all)
        T::Escape(b, &escaped);
    EXPECT_EQ(escaped.size(), all.size() + 4);
    EXPECT_EQ(Decode(escaped).Data, all);

    TBytes request;
    T::RequestLine(255, &request);
    EXPECT_EQ(request, Bytes({255, 250, 44, 1, 0, 0,   0,   255, 255, 255, 240, // 255 baud
                              255, 250, 44, 2, 8, 255, 240,                     // 8 data bits
                              255, 250, 44, 3, 1, 255, 240,                     // no parity
                              255, 250, 44, 4, 1, 255, 240}));                  // one stop bit
    request.clear();
    T::RequestLine(19200, &request);
    EXPECT_EQ(TBytes(request.begin(), request.begin() + 10),
              Bytes({255, 250, 44, 1, 0, 0, 0x4B, 0, 255, 240}));
}

// The link asks once; a server that agrees to what was asked is not answered again, so the two
// never answer each other's answers.
TEST(TelnetCodec, TheLinksRequestsAreAskedOnceAndAgreementIsNotAnswered)
{
    TTelnetCodec codec;
    TBytes requests;
    codec.Start(&requests);
    EXPECT_EQ(requests, Bytes({255, 251, 0, 255, 253, 0, 255, 251, 3, 255, 253, 3, 255, 251, 44}));

    const TDecoded agreed =
        Decode(Bytes({255, 253, 0, 255, 251, 0, 255, 253, 3, 255, 251, 3, 255, 253, 44}));
    EXPECT_TRUE(agreed.ToServer.empty());
    EXPECT_EQ(agreed.Events, std::vector<TTelnetEvent>{{TTelnetEvent::ComPortAgreed}});

    // Agreed again and again: still nothing to say, however often.
    const TDecoded repeated = Decode(Repeat(Bytes({255, 251, 0, 255, 253, 3}), 500));
    EXPECT_TRUE(repeated.ToServer.empty());
    EXPECT_TRUE(repeated.Data.empty());
}

TEST(TelnetCodec, OptionsTheLinkDoesNotUseAreRefusedAndWithdrawalsAcknowledgedOnce)
{
    // WILL ECHO, DO TTYPE, WILL 200, DO 200: each refused.
    EXPECT_EQ(Decode(Bytes({255, 251, 1, 255, 253, 24, 255, 251, 200, 255, 253, 200})).ToServer,
              Bytes({255, 254, 1, 255, 252, 24, 255, 254, 200, 255, 252, 200}));
    // The server offering to be the COM port's client is refused as well.
    EXPECT_EQ(Decode(Bytes({255, 251, 44})).ToServer, Bytes({255, 254, 44}));
    // Refusals of what was never on need no answer.
    EXPECT_TRUE(Decode(Bytes({255, 252, 1, 255, 254, 24, 255, 252, 44})).ToServer.empty());

    // Binary withdrawn by the server, both ways: acknowledged once; offered again: agreed again.
    EXPECT_EQ(Decode(Bytes({255, 254, 0, 255, 252, 0, 255, 254, 0, 255, 252, 0, //
                            255, 253, 0, 255, 251, 0}))
                  .ToServer,
              Bytes({255, 252, 0, 255, 254, 0, 255, 251, 0, 255, 253, 0}));
}

TEST(TelnetCodec, TheComPortOptionAgreedOrDeclinedIsAnEvent)
{
    const TDecoded declined = Decode(Bytes({'a', 255, 254, 44, 'b', 255, 253, 44, 'c'}));
    EXPECT_EQ(declined.Data, Bytes({'a', 'b', 'c'}));
    EXPECT_EQ(declined.ToServer, Bytes({255, 252, 44, 255, 251, 44}));
    EXPECT_EQ(declined.Events, (std::vector<TTelnetEvent>{{TTelnetEvent::ComPortDeclined},
                                                          {TTelnetEvent::ComPortAgreed}}));
}

TEST(TelnetCodec, TheServersLineAnswersCarryTheValuesItSet)
{
    const TDecoded d = Decode(Bytes({
        255, 250, 44,  101, 0,   0,   0x4B, 0,   255, 240,                     // 19200 baud
        'x', 255, 250, 44,  101, 0,   0,    0,   255, 255, 255, 240,           // 255: 0xFF doubled
        255, 250, 44,  101, 255, 255, 255,  255, 255, 255, 255, 255, 255, 240, // 2^32 - 1
        255, 250, 44,  102, 7,   255, 240, // 7 data bits: another value than asked
        255, 250, 44,  103, 1,   255, 240,  255, 250, 44,  104, 255, 255, 255, 240,
    }));
    EXPECT_EQ(d.Data, Bytes({'x'}));
    EXPECT_TRUE(d.ToServer.empty());
    EXPECT_EQ(d.Events, (std::vector<TTelnetEvent>{
                            LineSet(T::SetBaudRate, 19200), LineSet(T::SetBaudRate, 255),
                            LineSet(T::SetBaudRate, 4294967295), LineSet(T::SetDataSize, 7),
                            LineSet(T::SetParity, 1), LineSet(T::SetStopSize, 255)}));
}

// Notices the link does not wait for, other options' subnegotiations, the link's own requests
// echoed back, and answers too short to hold their value: none is an event or data.
TEST(TelnetCodec, SubnegotiationsThatDoNotSetTheLineArePassedOver)
{
    const TDecoded d = Decode(Bytes({
        255, 250, 44,  107, 48,  255, 240,                      // modem state notice
        255, 250, 44,  106, 0,   255, 240,                      // line state notice
        255, 250, 44,  100, 'i', 'd', 255,  240,                // the server's signature
        255, 250, 44,  105, 1,   255, 240,                      // a modem-line answer
        255, 250, 24,  0,   'v', 't', 255,  240,                // terminal type
        255, 250, 44,  1,   0,   0,   0x4B, 0,   255, 240,      // the baud request echoed
        255, 250, 44,  101, 0,   0,   255,  240,                // a baud rate of two bytes
        255, 250, 44,  102, 255, 240, 255,  250, 44,  255, 240, // no value at all
        255, 250, 255, 240, 'D',
    }));
    EXPECT_EQ(d, (TDecoded{Bytes({'D'}), {}, {}}));
}

// A subnegotiation whose IAC is followed by anything but SE or IAC ends without effect, and the
// stream goes on as data; an endless one keeps no more than its limit and still ends at IAC SE.
TEST(TelnetCodec, ASubnegotiationCutShortIsDroppedAndTheStreamGoesOn)
{
    EXPECT_EQ(Decode(Bytes({255, 250, 44, 102, 8, 255, 'x', 'A', 255, 255})),
              (TDecoded{Bytes({'A', 255}), {}, {}}));

    const TBytes endless = Bytes({255, 250, 44, 102, 8}) + TBytes(100'000, 'z') +
                           Bytes({255, 240, 'B', 255, 250, 44, 103, 1, 255, 240});
    EXPECT_EQ(Decode(endless),
              (TDecoded{Bytes({'B'}), {}, {LineSet(T::SetDataSize, 8), LineSet(T::SetParity, 1)}}));
}

TEST(TelnetCodec, OtherCommandsAndGarbageAfterIacCarryNothing)
{
    // NOP, GA, break, data mark, SE outside a subnegotiation, then IAC before plain bytes.
    EXPECT_EQ(Decode(Bytes({'a', 255, 241, 'b', 255, 249, 255, 243, 255, 242, 255, 240, 'c', 255,
                            'x', 'd', 255, 0, 'e'})),
              (TDecoded{Bytes({'a', 'b', 'c', 'd', 'e'}), {}, {}}));
    // A flood of NOPs is nothing at all.
    EXPECT_EQ(Decode(Repeat(Bytes({255, 241}), 2048)), TDecoded{});
}

// Whatever a server sends, the link answers at most with as many bytes as it was sent, and the
// same however the stream is cut; a refusal flood is answered in kind, never more.
TEST(TelnetCodec, FloodsAndGarbageAreAnsweredNoMoreThanTheyCarry)
{
    const TDecoded refusals = Decode(Repeat(Bytes({255, 251, 1}), 1000));
    EXPECT_EQ(refusals.ToServer, Repeat(Bytes({255, 254, 1}), 1000));

    std::mt19937 random(28);
    for (int round = 0; round < 20; ++round) {
        TBytes garbage(2000);
        for (std::uint8_t &b : garbage) {
            // Mostly commands, so that every state is reached.
            const unsigned r = random() % 16;
            b = r < 6    ? 255
                : r < 10 ? static_cast<std::uint8_t>(240 + random() % 15)
                         : static_cast<std::uint8_t>(random());
        }
        const TDecoded d = Decode(garbage);
        EXPECT_LE(d.Data.size(), garbage.size());
        for (std::size_t i = 0; i + 2 < d.ToServer.size(); i += 3) {
            EXPECT_EQ(d.ToServer[i], 255);
            EXPECT_TRUE(d.ToServer[i + 1] >= T::Will && d.ToServer[i + 1] <= T::Dont);
        }
        EXPECT_EQ(d.ToServer.size() % 3, 0u);
    }
}

} // namespace
} // namespace zor
