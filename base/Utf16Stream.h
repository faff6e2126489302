// UTF-8 text written piece by piece, turned into UTF-16 for a system that takes wide text (a
// Windows console). Plain C++.
#pragma once

#include <string>
#include <string_view>

namespace zor {

// Converts a stream of UTF-8 bytes that may arrive cut anywhere: a character split across two
// pieces comes out whole once its last byte has come. Bytes that are no UTF-8 (overlong forms,
// surrogates, values above U+10FFFF, stray continuation bytes) become U+FFFD, one for each
// maximal part of a broken sequence, and what follows is read afresh.
class TUtf8ToUtf16Stream
{
public:
    // Appends to out the UTF-16 of every character that bytes complete. A sequence still open at
    // the end of bytes is kept for the next call (at most 3 bytes).
    void Feed(std::string_view bytes, std::u16string &out);

    // Ends the stream: a sequence still open becomes U+FFFD.
    void Finish(std::u16string &out);

private:
    std::string Pending;
};

} // namespace zor
