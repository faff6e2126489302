// zor's text on standard output and error, in UTF-8 whatever takes it: through WriteStandardText,
// so that a Windows console shows it as written.
#pragma once

#include <cstdio>
#include <string_view>

#if defined(__MINGW_PRINTF_FORMAT)
#define ZOR_PRINTF_FORMAT(f, a) __attribute__((format(__MINGW_PRINTF_FORMAT, f, a)))
#else
#define ZOR_PRINTF_FORMAT(f, a) __attribute__((format(printf, f, a)))
#endif

namespace zor::tool {

// Writes text to to, which is stdout or stderr.
void PrintText(std::FILE *to, std::string_view text);

// printf's formatting, written as PrintText does.
void Print(std::FILE *to, const char *format, ...) ZOR_PRINTF_FORMAT(2, 3);

// Whether text meant for standard output could not all be written (a full disk, a closed pipe, a
// console gone).
bool StandardOutputFailed();

} // namespace zor::tool
