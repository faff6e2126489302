// The numeric message: accident-free days and accidents since 1 January as the panel shows them.
#pragma once

#include <cstdint>
#include <string_view>

namespace zor {

inline constexpr std::uint8_t NumericInvalidMark = 0xFF;

// Checks and pads the two entries as the operator typed them (days: up to 3 characters,
// accidents: up to 2). On success message[0..5] holds the days right-aligned in 3 characters,
// the accidents right-aligned in 2, padded with blanks, then a zero byte. An entry with anything
// but the digits 0-9 in its counted positions marks the message invalid by putting
// NumericInvalidMark into message[0] (the rest is then unspecified). message holds at least
// 6 bytes. Returns whether the message is valid. Characters beyond a field's width are
// ignored, as the edit boxes never hold them.
bool BuildMessage(std::string_view days, std::string_view accidents, std::uint8_t *message);

} // namespace zor
