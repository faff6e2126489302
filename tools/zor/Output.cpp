#include "tools/zor/Output.h"

#include "base/Platform.h"

#include <atomic>
#include <cstdarg>
#include <string>

namespace zor::tool {

namespace {

std::atomic<bool> OutputLost{false};

} // namespace

void PrintText(std::FILE *to, std::string_view text)
{
    const bool output = to == stdout;
    if (!WriteStandardText(output ? TStandardStream::Output : TStandardStream::Error, text) &&
        output)
        OutputLost = true;
}

void Print(std::FILE *to, const char *format, ...)
{
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    if (length > 0) {
        std::string text(static_cast<std::size_t>(length) + 1, '\0');
        std::vsnprintf(text.data(), text.size(), format, again);
        text.resize(static_cast<std::size_t>(length));
        PrintText(to, text);
    }
    va_end(again);
}

bool StandardOutputFailed()
{
    return OutputLost;
}

} // namespace zor::tool
