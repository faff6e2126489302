// The worst case for a document's memory: an RTF file of one-character runs that alternate
// between two formats, with a 250-character font name.
#pragma once

#include <cstddef>
#include <string>

namespace zor::bench {

// An RTF document of about `bytes` bytes (at least the header's).
inline std::string ShortRuns(std::size_t bytes)
{
    std::string rtf = "{\\rtf1\\ansi\\ansicpg1250\\deff0{\\fonttbl{\\f0\\fnil\\fcharset238 " +
                      std::string(250, 'N') + ";}}\n\\f0\\fs24 ";
    while (rtf.size() + 8 < bytes)
        rtf += "{\\b a}a";
    rtf += "}";
    return rtf;
}

} // namespace zor::bench
