// The Telnet codec of rfc2217:// links fed whatever a server on the network may send: whole, byte
// by byte and in uneven pieces it must read the same; it answers only with option replies, never
// more bytes than it was sent, and agrees only to the options the link uses; every event carries
// a value of its setting's size; and the data it passes on, escaped again, reads back as itself.
#include "comm/TelnetCodec.h"

#include <cstdlib>
#include <vector>

namespace {

using zor::TTelnetCodec;
using zor::TTelnetEvent;

struct TDecoded
{
    std::vector<std::uint8_t> Data;
    std::vector<std::uint8_t> ToServer;
    std::vector<TTelnetEvent> Events;
    bool operator==(const TDecoded &) const = default;
};

// Feeds size bytes in pieces of piece(i) bytes, the i-th piece.
template <typename TPiece> TDecoded Feed(const std::uint8_t *data, std::size_t size, TPiece piece)
{
    TTelnetCodec codec;
    std::vector<std::uint8_t> requests;
    codec.Start(&requests);
    TDecoded d;
    for (std::size_t at = 0, i = 0; at < size; ++i) {
        const std::size_t n = std::min(piece(i), size - at);
        const auto events = codec.Decode(data + at, n, &d.Data, &d.ToServer);
        d.Events.insert(d.Events.end(), events.begin(), events.end());
        at += n;
    }
    return d;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    using T = TTelnetCodec;
    const TDecoded whole = Feed(data, size, [size](std::size_t) { return size; });
    if (Feed(data, size, [](std::size_t) { return std::size_t{1}; }) != whole ||
        Feed(data, size, [](std::size_t i) { return 1 + i * 7 % 13; }) != whole)
        std::abort();

    if (whole.Data.size() > size || whole.ToServer.size() > size || whole.ToServer.size() % 3 != 0)
        std::abort();
    for (std::size_t i = 0; i < whole.ToServer.size(); i += 3) {
        const std::uint8_t command = whole.ToServer[i + 1], option = whole.ToServer[i + 2];
        if (whole.ToServer[i] != T::Iac || command < T::Will || command > T::Dont)
            std::abort();
        const bool ours = option == T::OptBinary || option == T::OptSuppressGoAhead;
        if ((command == T::Will && !ours && option != T::OptComPort) || (command == T::Do && !ours))
            std::abort();
    }
    for (const TTelnetEvent &e : whole.Events) {
        if (e.Kind != TTelnetEvent::LineSet)
            continue;
        const std::int64_t limit = e.Setting == T::SetBaudRate ? 0xFFFFFFFFLL : 0xFF;
        if (e.Setting < T::SetBaudRate || e.Setting > T::SetStopSize || e.Value < 0 ||
            e.Value > limit)
            std::abort();
    }

    std::vector<std::uint8_t> escaped;
    for (std::uint8_t b : whole.Data)
        T::Escape(b, &escaped);
    const TDecoded again =
        Feed(escaped.data(), escaped.size(), [&escaped](std::size_t) { return escaped.size(); });
    if (again != TDecoded{whole.Data, {}, {}})
        std::abort();
    return 0;
}
