// The GIF export of a build without giflib: every export fails, saying so, and writes nothing.
#include "sim/engine/GifExport.h"

namespace zor {

namespace {

constexpr const char *NoGifExport = "this build has no GIF export";

} // namespace

bool HasGifExport()
{
    return false;
}

std::string EncodeGif(std::string_view, std::uint64_t, int, TClock *, std::string *error)
{
    if (error)
        *error = NoGifExport;
    return {};
}

TAnimationResult ExportAnimation(std::string_view, const std::string &, const TAnimationExport &)
{
    TAnimationResult result;
    result.Error = NoGifExport;
    return result;
}

} // namespace zor
