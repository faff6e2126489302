// Feeds arbitrary bytes to the RTF reader. Whatever it reads must also survive a write and a
// second read unchanged, so the fuzzer checks the writer and the round trip as well.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "editor/rtf/RtfCodec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const std::string_view bytes(reinterpret_cast<const char *>(data), size);
    const zor::rtf::ReadResult first = zor::rtf::Read(bytes);
    if (!first.Ok()) {
        return 0;
    }
    const std::string written = zor::rtf::Write(first.Doc);
    const zor::rtf::ReadResult second = zor::rtf::Read(written);
    if (!second.Ok() || !second.Warning.empty() || second.Source != zor::rtf::SourceKind::Rtf ||
        !(second.Doc == first.Doc)) {
        std::abort();
    }
    if (zor::rtf::Write(second.Doc) != written) {
        std::abort();
    }
    return 0;
}
