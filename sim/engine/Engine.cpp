#include "sim/engine/Engine.h"

namespace zor {

TRunResult TDisplayEngine::RunDisplayEngine(std::string_view program, std::size_t startOffset,
                                            std::uint64_t frameLimit)
{
    return RunDisplayEngine(
        std::span(reinterpret_cast<const std::uint8_t *>(program.data()), program.size()),
        startOffset, frameLimit);
}

TRunResult TDisplayEngine::RunDisplayEngine(std::span<const std::uint8_t> program,
                                            std::size_t startOffset, std::uint64_t frameLimit)
{
    Renderer.BeginRun(frameLimit);
    try {
        Reader.Read(program, startOffset);
    } catch (const TPanelRenderer::TEndRun &end) {
        return {end.End, Renderer.Frames()};
    }
    return {TRunEnd::ProgramEnd, Renderer.Frames()};
}

} // namespace zor
