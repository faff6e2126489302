// The frames of the panel protocol: their layout, the CRC that closes each of them, and the
// check of the panel's 10-byte reply. Pure functions on byte buffers, shared by the editor's
// side (TSerial) and the panel emulator.
//
// Every frame starts with 0x01; 16-bit values are stored low byte first, and so is the
// CRC-16/ARC that ends each frame, so the CRC over a whole frame is 0.
#pragma once

#include "base/Clock.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace zor {

inline constexpr std::size_t ControlFrameLength = 10; // Open, Close, Numeric
inline constexpr std::size_t BlockFrameLength = 76;
inline constexpr std::size_t BlockDataLength = 64;
inline constexpr std::size_t ReplyLength = 10;
inline constexpr std::size_t NumericMessageLength = 5;

inline constexpr std::uint8_t FrameStart = 0x01;
inline constexpr std::uint8_t KindOpen = 0x00;
inline constexpr std::uint8_t KindClose = 0x02;
inline constexpr std::uint8_t KindNumeric = 0x09;
inline constexpr std::uint8_t OpenMarker = 0x45;

inline constexpr std::uint8_t StatusAccepted = 0x00;
inline constexpr std::uint8_t StatusRefused = 0xFE;

// CRC-16/ARC (reflected 0x8005, initial 0, no final XOR) over count bytes; count 0 gives 0.
std::uint16_t ComputeCrc(const std::uint8_t *data, std::size_t count);

// The 256-entry table behind ComputeCrc.
const std::uint16_t *CrcTable();

// Stores value at data[0] (low byte) and data[1].
void PutWord(std::uint8_t *data, std::uint16_t value);
std::uint16_t GetWord(const std::uint8_t *data);

// Days since 31 December 1990 (1 January 1991 is day 1), every fourth year a leap year, as the
// panel counts them. Dates before 1991 give the day of the year. Only the low 16 bits are sent.
int DayNumber(int year, int month, int day);

// The frame builders write into frame (at least the frame's length) and return that length.
std::size_t BuildOpenFrame(std::uint8_t *frame, const TLocalDateTime &now);
std::size_t BuildCloseFrame(std::uint8_t *frame, std::uint16_t blocks, std::uint8_t closeSelector);
std::size_t BuildNumericFrame(std::uint8_t *frame, const std::uint8_t *message);
std::size_t BuildBlockFrame(std::uint8_t *frame, const std::uint8_t *data, std::uint16_t block,
                            std::uint8_t selector);

// Number of 64-byte blocks that hold a text of length bytes together with its terminating zero.
std::size_t BlockCount(std::size_t length);

// The 64 data bytes of block k (1..count) of a transfer of text in count blocks: block 1 holds the
// end of the text, block count its beginning; bytes past the text are zero.
void BlockData(std::string_view text, std::size_t count, std::size_t k, std::uint8_t *data);

struct TReply
{
    bool Valid = false;           // CRC over the 10 bytes (reply and its CRC) is 0, not all zero
    std::uint8_t Status = 0;      // byte 7
    std::uint16_t FreeBlocks = 0; // bytes 2-3, meaningful in the reply to an Open frame
};

// Reads a reply out of a 10-byte buffer; bytesRead is how many bytes the last read delivered
// (the rest of the buffer may still hold an earlier reply). No bytes read means not valid, and so
// do ten zero bytes (a line held low), though their CRC checks.
TReply CheckReply(const std::uint8_t *buffer, std::size_t bytesRead);

// Builds a reply as the panel sends it: start byte, kind echoed, word at bytes 2-3, status, CRC.
void BuildReply(std::uint8_t *reply, std::uint8_t kind, std::uint16_t word, std::uint8_t status);

} // namespace zor
