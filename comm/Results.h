// Result codes of the communication path and the fixed message shown for each.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zor {

enum class TResultBox { Information, Error };

struct TResultMessage
{
    std::string_view Text; // line breaks are carriage returns, blanks belong to the text
    TResultBox Box;
};

// 0 for success, -1 to -8 for failures; any other code has no message.
std::optional<TResultMessage> ResultMessage(int code);

// The code's message with its line breaks as '\n', for a message box or a terminal; "result N"
// for a code without a message.
std::string ResultText(int code);

inline constexpr int ResultOk = 0;
inline constexpr int ResultUnknownError = -1;
inline constexpr int ResultCrcError = -2;
inline constexpr int ResultHardwareFailure = -3;
inline constexpr int ResultTimeout = -4;
inline constexpr int ResultNoMemory = -5;
inline constexpr int ResultProgramDisabled = -6;
inline constexpr int ResultSettingsFileError = -7;
inline constexpr int ResultTooManySegments = -8;

// The transfer was stopped on request (comm/TransferStop.h). Not one of the panel's outcomes:
// it has no message of its own, the caller says "Transfer cancelled" or reports the interrupt.
inline constexpr int ResultCancelled = -9;

} // namespace zor
