// A stand-in for the display panel, for tests and for trying the editor without hardware: it
// reads the frames the editor sends, checks each one, answers with a 10-byte reply and
// reassembles the transferred program. Faults can be injected per frame. Pure logic: the caller
// moves the bytes (tools/zor/Emulate.cpp serves a pseudo-terminal with it).
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <random>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zor {

enum class TPanelFrameKind { Any, Open, Block, Close, Numeric };

// Which received frames a fault applies to. Block 0 means every block.
struct TPanelFrameFilter
{
    TPanelFrameKind Kind = TPanelFrameKind::Any;
    int Block = 0;
};

enum class TPanelFaultKind {
    Refuse,        // answer with status 0xFE
    Silent,        // no answer at all
    BadCrc,        // an answer whose CRC is wrong
    UnknownStatus, // an answer with a status that is neither accepted nor refused
};

struct TPanelFault
{
    TPanelFaultKind Kind = TPanelFaultKind::Silent;
    TPanelFrameFilter Frames;
    int Count = 1; // frames it applies to; negative means every matching frame
};

// Parses "open", "close", "numeric", "block", "blockK" or "any", optionally followed by ":N" for
// the count (defaultCount without it). False on anything else.
bool ParsePanelFault(std::string_view text, TPanelFaultKind kind, int defaultCount,
                     TPanelFault *fault);

// Replies held back, as from a slow adapter or a busy panel: each matching reply goes out MinMs
// to MaxMs after its frame came in (spread evenly, the same sequence on every run).
struct TPanelLateness
{
    int MinMs = 0;
    int MaxMs = 0;
    TPanelFrameFilter Frames;
    int Count = -1; // replies it applies to; negative means every matching one
};

// Parses "MS" or "MIN-MAX" (milliseconds) into lateness. False on anything else.
bool ParsePanelLateness(std::string_view text, TPanelLateness *lateness);

// One reply with the time it is to be held back.
struct TPanelReply
{
    std::vector<std::uint8_t> Bytes;
    int LateMs = 0;
};

struct TPanelEvent
{
    enum TKind { Program, Numeric, Note } Kind = Note;
    std::string Data; // the program text (up to its zero byte), the 5 characters, or a note
};

// Splits a byte stream into frames: a frame starts with 0x01; its second byte tells its length
// (10 bytes for Open, Close and Numeric, 76 for a Block). Bytes before a start byte are skipped.
// A frame that fails its check is dropped and the search for the next start resumes at its
// second byte; a block whose header fails its CRC is dropped as soon as the header is in.
class TPanelFrameReader
{
public:
    // Adds bytes; every complete frame (checked or not) is appended to frames, and so is the
    // header of a block whose header CRC is wrong.
    void Feed(const std::uint8_t *data, std::size_t count,
              std::vector<std::vector<std::uint8_t>> *frames);
    // Forgets a partial frame (after the line has been idle).
    void Reset() { Buffer.clear(); }
    bool Pending() const { return !Buffer.empty(); }

    // Checks a complete frame: empty when it is sound, else what is wrong with it.
    static std::string Check(const std::uint8_t *frame, std::size_t length);

private:
    std::vector<std::uint8_t> Buffer;
};

// Expected length of a frame whose first two bytes are given.
std::size_t PanelFrameLength(std::uint8_t kind);

class TPanelEmulator
{
public:
    explicit TPanelEmulator(std::uint16_t freeBlocks = 200, std::vector<TPanelFault> faults = {},
                            TPanelLateness lateness = {});

    // Takes received bytes; returns the replies to send back, in order.
    std::vector<std::uint8_t> Feed(const std::uint8_t *data, std::size_t count);
    // The same, reply by reply, each with the time to hold it back.
    std::vector<TPanelReply> FeedReplies(const std::uint8_t *data, std::size_t count);
    void LineIdle() { Reader.Reset(); }
    bool PartialFrame() const { return Reader.Pending(); }

    // Programs completed, numeric messages received and notes since the last call.
    std::vector<TPanelEvent> TakeEvents();

    // Completed transfers: programs and numeric messages accepted so far.
    int Transfers() const { return TransferCount; }

    static constexpr std::uint8_t UnknownStatus = 0x55;

private:
    // Answers one checked frame; appends the reply (if any) to out.
    void Answer(const std::vector<std::uint8_t> &frame, std::vector<std::uint8_t> *out);
    // The fault for this frame, consuming one of its count; null when none applies.
    const TPanelFault *TakeFault(TPanelFrameKind kind, int block);
    int TakeLateness(TPanelFrameKind kind, int block);

    std::uint16_t FreeBlocks;
    std::vector<TPanelFault> Faults;
    TPanelLateness Lateness;
    std::minstd_rand Random{20010717};
    TPanelFrameReader Reader;
    std::map<int, std::vector<std::uint8_t>> Blocks;
    std::vector<TPanelEvent> Events;
    int TransferCount = 0;
    int LastClosed = 0; // blocks of the program last taken by a Close, until the next frame
};

} // namespace zor
