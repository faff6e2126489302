// The panel emulator fed arbitrary bytes: whole and byte by byte it must answer the same, and
// every answer must be a sound reply.
#include "comm/Frames.h"
#include "comm/PanelEmulator.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    zor::TPanelEmulator whole(8);
    const auto replies = whole.Feed(data, size);

    zor::TPanelEmulator bytewise(8);
    std::vector<std::uint8_t> replies2;
    for (std::size_t i = 0; i < size; ++i) {
        const auto r = bytewise.Feed(data + i, 1);
        replies2.insert(replies2.end(), r.begin(), r.end());
    }
    if (replies != replies2 || replies.size() % zor::ReplyLength != 0 ||
        whole.Transfers() != bytewise.Transfers())
        std::abort();
    for (std::size_t i = 0; i < replies.size(); i += zor::ReplyLength)
        if (zor::ComputeCrc(replies.data() + i, zor::ReplyLength) != 0)
            std::abort();
    return 0;
}
