// Animated GIF of an engine run, as the simulation window shows the panel.
#pragma once

#include "sim/engine/Engine.h"

#include <cstdint>
#include <string>
#include <vector>

namespace zor {

// Collects the frames of a run (attach it as the engine's frame sink) and encodes them as a GIF
// that loops forever: each frame is the 241 x 21 frame picture (dots with black gaps, the four
// panel colours) enlarged scale times, shown for 2 centiseconds; a run of identical frames
// becomes one frame shown as long. Keeps 1200 bytes per distinct frame until Encode.
class TGifRecorder final : public TFrameSink
{
public:
    static constexpr int MinScale = 1;
    static constexpr int MaxScale = 8;

    // scale is clamped to MinScale ... MaxScale.
    explicit TGifRecorder(int scale = 2);

    void PresentFrame(const TFrameBitmap &bitmap) override;

    // Frames presented so far, and the images they make after merging identical runs.
    std::uint64_t FramesPresented() const { return Presented; }
    std::size_t Images() const { return Durations.size(); }

    // The GIF file's bytes for the frames presented so far; an empty string (and the reason in
    // *error) when giflib fails or no frame was presented.
    std::string Encode(std::string *error = nullptr) const;

    // Encode, written atomically to path: the file is either the whole GIF or left as it was.
    bool Write(const std::string &path, std::string *error = nullptr) const;

private:
    using TDots = std::vector<std::uint8_t>; // 1200 colour numbers, row by row

    int Scale;
    std::uint64_t Presented = 0;
    std::vector<TDots> Pictures;
    std::vector<std::uint64_t> Durations; // in frames
};

} // namespace zor
