#include "comm/PanelEmulator.h"

#include "comm/Frames.h"

#include <algorithm>
#include <charconv>

namespace zor {

bool ParsePanelFault(std::string_view text, TPanelFaultKind kind, int defaultCount,
                     TPanelFault *fault)
{
    TPanelFault f;
    f.Kind = kind;
    f.Count = defaultCount;
    const auto colon = text.find(':');
    if (colon != std::string_view::npos) {
        const std::string_view count = text.substr(colon + 1);
        const auto [end, ec] = std::from_chars(count.data(), count.data() + count.size(), f.Count);
        if (ec != std::errc() || end != count.data() + count.size() || f.Count < 0)
            return false;
        text = text.substr(0, colon);
    }
    if (text == "any")
        f.Frames.Kind = TPanelFrameKind::Any;
    else if (text == "open")
        f.Frames.Kind = TPanelFrameKind::Open;
    else if (text == "close")
        f.Frames.Kind = TPanelFrameKind::Close;
    else if (text == "numeric")
        f.Frames.Kind = TPanelFrameKind::Numeric;
    else if (text.starts_with("block")) {
        f.Frames.Kind = TPanelFrameKind::Block;
        const std::string_view number = text.substr(5);
        if (!number.empty()) {
            const auto [end, ec] =
                std::from_chars(number.data(), number.data() + number.size(), f.Frames.Block);
            if (ec != std::errc() || end != number.data() + number.size() || f.Frames.Block < 1)
                return false;
        }
    } else
        return false;
    *fault = f;
    return true;
}

bool ParsePanelLateness(std::string_view text, TPanelLateness *lateness)
{
    const auto number = [](std::string_view t, int *value) {
        const auto [end, ec] = std::from_chars(t.data(), t.data() + t.size(), *value);
        return ec == std::errc() && end == t.data() + t.size() && *value >= 0;
    };
    const auto dash = text.find('-');
    int low = 0, high = 0;
    if (dash == std::string_view::npos) {
        if (!number(text, &low))
            return false;
        high = low;
    } else if (!number(text.substr(0, dash), &low) || !number(text.substr(dash + 1), &high) ||
               high < low) {
        return false;
    }
    lateness->MinMs = low;
    lateness->MaxMs = high;
    return true;
}

namespace {

TPanelFrameKind KindOf(const std::vector<std::uint8_t> &f)
{
    switch (f[1]) {
    case KindOpen:
        return TPanelFrameKind::Open;
    case KindClose:
        return TPanelFrameKind::Close;
    case KindNumeric:
        return TPanelFrameKind::Numeric;
    default:
        return TPanelFrameKind::Block;
    }
}

bool Matches(const TPanelFrameFilter &filter, TPanelFrameKind kind, int block)
{
    return filter.Kind == TPanelFrameKind::Any ||
           (filter.Kind == kind && (filter.Block == 0 || filter.Block == block));
}

} // namespace

std::size_t PanelFrameLength(std::uint8_t kind)
{
    return (kind == KindOpen || kind == KindClose || kind == KindNumeric) ? ControlFrameLength
                                                                          : BlockFrameLength;
}

std::string TPanelFrameReader::Check(const std::uint8_t *f, std::size_t length)
{
    if (length != PanelFrameLength(f[1]))
        return length == ControlFrameLength ? "Block frame: wrong header CRC" : "wrong length";
    switch (f[1]) {
    case KindOpen:
        if (ComputeCrc(f, 10) != 0)
            return "Open frame: wrong CRC";
        if (f[2] != OpenMarker || f[3] > 29 || GetWord(f + 4) > 1439)
            return "Open frame: bad time";
        return {};
    case KindClose:
        if (ComputeCrc(f, 10) != 0)
            return "Close frame: wrong CRC";
        if (f[2] != f[3] || GetWord(f + 4) != GetWord(f + 6))
            return "Close frame: repeated fields differ";
        return {};
    case KindNumeric:
        if (ComputeCrc(f, 10) != 0)
            return "Numeric frame: wrong CRC";
        if (f[7] != 0xFF)
            return "Numeric frame: no end mark";
        return {};
    default:
        if (ComputeCrc(f, 10) != 0)
            return "Block frame: wrong header CRC";
        if (GetWord(f + 2) != GetWord(f + 4) || GetWord(f + 2) == 0 || f[6] != 0xFF || f[7] != 0x7F)
            return "Block frame: bad header";
        if (ComputeCrc(f, BlockFrameLength) != 0)
            return "Block frame: wrong CRC";
        return {};
    }
}

void TPanelFrameReader::Feed(const std::uint8_t *data, std::size_t count,
                             std::vector<std::vector<std::uint8_t>> *frames)
{
    Buffer.insert(Buffer.end(), data, data + count);
    std::size_t start = 0;
    for (;;) {
        while (start < Buffer.size() && Buffer[start] != FrameStart)
            ++start;
        if (Buffer.size() - start < 2)
            break;
        const std::size_t length = PanelFrameLength(Buffer[start + 1]);
        // A block's header carries its own CRC: a false start is found after 10 bytes
        // instead of swallowing the next 76.
        if (length == BlockFrameLength && Buffer.size() - start >= ControlFrameLength &&
            ComputeCrc(Buffer.data() + start, ControlFrameLength) != 0) {
            frames->emplace_back(Buffer.begin() + static_cast<long>(start),
                                 Buffer.begin() + static_cast<long>(start + ControlFrameLength));
            ++start;
            continue;
        }
        if (Buffer.size() - start < length)
            break;
        frames->emplace_back(Buffer.begin() + static_cast<long>(start),
                             Buffer.begin() + static_cast<long>(start + length));
        if (Check(Buffer.data() + start, length).empty())
            start += length;
        else
            ++start;
    }
    Buffer.erase(Buffer.begin(), Buffer.begin() + static_cast<long>(start));
}

TPanelEmulator::TPanelEmulator(std::uint16_t freeBlocks, std::vector<TPanelFault> faults,
                               TPanelLateness lateness)
    : FreeBlocks(freeBlocks), Faults(std::move(faults)), Lateness(lateness)
{
}

int TPanelEmulator::TakeLateness(TPanelFrameKind kind, int block)
{
    if (Lateness.MaxMs <= 0 || Lateness.Count == 0 || !Matches(Lateness.Frames, kind, block))
        return 0;
    if (Lateness.Count > 0)
        --Lateness.Count;
    const auto spread = static_cast<unsigned>(Lateness.MaxMs - Lateness.MinMs) + 1;
    return Lateness.MinMs + static_cast<int>(Random() % spread);
}

std::vector<TPanelEvent> TPanelEmulator::TakeEvents()
{
    return std::exchange(Events, {});
}

const TPanelFault *TPanelEmulator::TakeFault(TPanelFrameKind kind, int block)
{
    for (auto &f : Faults) {
        if (f.Count == 0)
            continue;
        if (!Matches(f.Frames, kind, block))
            continue;
        if (f.Count > 0)
            --f.Count;
        return &f;
    }
    return nullptr;
}

std::vector<TPanelReply> TPanelEmulator::FeedReplies(const std::uint8_t *data, std::size_t count)
{
    std::vector<std::vector<std::uint8_t>> frames;
    Reader.Feed(data, count, &frames);
    std::vector<TPanelReply> replies;
    for (const auto &frame : frames) {
        const std::string problem = TPanelFrameReader::Check(frame.data(), frame.size());
        if (!problem.empty()) {
            Events.push_back({TPanelEvent::Note, problem});
            continue;
        }
        TPanelReply reply;
        Answer(frame, &reply.Bytes);
        if (reply.Bytes.empty())
            continue;
        const TPanelFrameKind kind = KindOf(frame);
        reply.LateMs =
            TakeLateness(kind, kind == TPanelFrameKind::Block ? GetWord(frame.data() + 2) : 0);
        replies.push_back(std::move(reply));
    }
    return replies;
}

std::vector<std::uint8_t> TPanelEmulator::Feed(const std::uint8_t *data, std::size_t count)
{
    std::vector<std::uint8_t> out;
    for (const auto &reply : FeedReplies(data, count))
        out.insert(out.end(), reply.Bytes.begin(), reply.Bytes.end());
    return out;
}

void TPanelEmulator::Answer(const std::vector<std::uint8_t> &f, std::vector<std::uint8_t> *out)
{
    const std::uint8_t kind = f[1];
    const TPanelFrameKind frameKind = KindOf(f);
    const int block = frameKind == TPanelFrameKind::Block ? GetWord(f.data() + 2) : 0;

    std::uint8_t reply[ReplyLength];
    const auto send = [&](std::uint16_t word, std::uint8_t status) {
        BuildReply(reply, kind, word, status);
        out->insert(out->end(), reply, reply + ReplyLength);
    };

    if (const TPanelFault *fault = TakeFault(frameKind, block)) {
        switch (fault->Kind) {
        case TPanelFaultKind::Refuse:
            send(0, StatusRefused);
            return;
        case TPanelFaultKind::Silent:
            return;
        case TPanelFaultKind::UnknownStatus:
            send(0, UnknownStatus);
            return;
        case TPanelFaultKind::BadCrc:
            BuildReply(reply, kind, frameKind == TPanelFrameKind::Open ? FreeBlocks : 0,
                       StatusAccepted);
            reply[9] ^= 0x5A;
            out->insert(out->end(), reply, reply + ReplyLength);
            return;
        }
    }

    switch (frameKind) {
    case TPanelFrameKind::Open:
        Blocks.clear();
        LastClosed = 0;
        send(FreeBlocks, StatusAccepted);
        return;
    case TPanelFrameKind::Block:
        if (block > FreeBlocks) {
            Events.push_back({TPanelEvent::Note, "Block " + std::to_string(block) +
                                                     " beyond the free memory: refused"});
            send(0, StatusRefused);
            return;
        }
        LastClosed = 0;
        Blocks[block].assign(f.begin() + 10, f.begin() + 10 + BlockDataLength);
        send(0, StatusAccepted);
        return;
    case TPanelFrameKind::Close: {
        const int n = GetWord(f.data() + 4);
        // The editor repeats a Close whose reply it missed; the program is already taken.
        if (Blocks.empty() && n == LastClosed) {
            send(0, StatusAccepted);
            return;
        }
        std::string program;
        for (int k = n; k >= 1; --k) {
            const auto it = Blocks.find(k);
            if (it == Blocks.end()) {
                Events.push_back({TPanelEvent::Note, "Close frame for " + std::to_string(n) +
                                                         " blocks without block " +
                                                         std::to_string(k) + ": refused"});
                Blocks.clear();
                send(0, StatusRefused);
                return;
            }
            program.append(it->second.begin(), it->second.end());
        }
        Blocks.clear();
        LastClosed = n;
        program.erase(std::min(program.find('\0'), program.size()));
        Events.push_back({TPanelEvent::Program, std::move(program)});
        ++TransferCount;
        send(0, StatusAccepted);
        return;
    }
    case TPanelFrameKind::Numeric:
        Events.push_back({TPanelEvent::Numeric, std::string(f.begin() + 2, f.begin() + 7)});
        ++TransferCount;
        send(0, StatusAccepted);
        return;
    case TPanelFrameKind::Any:
        return;
    }
}

} // namespace zor
