// Animated GIF of an engine run, as the simulation window shows the panel.
#pragma once

#include "sim/engine/Engine.h"
#include "sim/engine/PanelPainter.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace zor {

// Encodes the frames of a run (attach it as the engine's frame sink) into a GIF that loops
// forever: each frame is the panel's image in the square look at zoom scale (as the simulation
// window draws it, in the four panel colours), shown for 2 centiseconds; a run of identical frames
// becomes one image shown as long. The bytes stream out through the output as the frames come, so
// memory stays the same whatever the length of the run: two pictures of 1200 dots and one image
// line.
class TGifRecorder final : public TFrameSink
{
public:
    static constexpr int MinScale = TPanelLook::MinZoom;
    static constexpr int MaxScale = TPanelLook::MaxZoom;

    // Receives the file's bytes in order; returning false fails the recording.
    using TOutput = std::function<bool(std::string_view bytes)>;

    // scale is clamped to MinScale ... MaxScale.
    explicit TGifRecorder(TOutput output, int scale = 2);
    ~TGifRecorder() override;

    void PresentFrame(const TPanelPicture &frame) override;

    // Writes the last image and the end of the file. False, with the reason in *error, when no
    // frame was presented, giflib failed or the output refused bytes; the output may then hold
    // a partial file. Call it once.
    bool Finish(std::string *error = nullptr);

    // The images written or pending after merging identical runs of frames.
    std::size_t Images() const { return ImageCount; }
    // Whether the recording has already failed (the rest of the run is wasted).
    bool HasFailed() const { return !ErrorText.empty(); }

private:
    using TDots = TPanelPicture;
    struct TEncoder;

    bool Start();
    bool PutImage(const TDots &dots, const TDots *previous, std::uint64_t frames);
    bool Failed(int giflibError);

    TOutput Output;
    TPanelPainter Painter;
    std::size_t ImageCount = 0;
    TDots Pending; // the newest distinct picture, not yet written (its length still grows)
    TDots Written; // the picture written last, which the pending one is stored against
    bool HaveWritten = false;
    std::uint64_t PendingFrames = 0;
    std::unique_ptr<TEncoder> Encoder;
    std::string ErrorText;
};

// False in a build without GIF export (giflib has no Windows build here): every export then fails
// saying "this build has no GIF export".
bool HasGifExport();

// The GIF of a whole run in memory (tests, small runs); empty with the reason in *error when
// nothing was presented or encoding failed.
std::string EncodeGif(std::string_view program, std::uint64_t frames, int scale,
                      TClock *clock = nullptr, std::string *error = nullptr);

// The longest animation exported, in frames: five minutes. The GIF of a run that changes every
// frame stays near 20 MB on disk at that length; longer runs are mistakes.
inline constexpr std::uint64_t MaxAnimationFrames = 15000;
// Why a longer animation is refused, as Zor > Export animation and zor simulate --gif say it.
inline constexpr std::string_view AnimationTooLong = "a GIF holds at most 15000 frames (5 minutes)";

// One export of a program as an animated GIF file: what Zor > Export animation writes and what
// zor simulate --gif writes, byte for byte, for the same program, length, scale and clock.
struct TAnimationExport
{
    std::uint64_t Frames = 500;   // length of the run in frames, 1 ... MaxAnimationFrames
    int Scale = 2;                // TGifRecorder::MinScale ... MaxScale
    TClock *Clock = nullptr;      // null: the system clock
    TFrameTick *Tick = nullptr;   // null: as fast as the engine goes
    TFrameSink *AlsoTo = nullptr; // gets every frame too (the tool's dot printer)
    // Called every 256 frames and at the end with the frames done; false cancels the export.
    std::function<bool(std::uint64_t done)> Progress;
};

struct TAnimationResult
{
    bool Ok = false;
    bool Cancelled = false; // Progress said stop; the file was left as it was
    std::string Error;      // why it failed, for the operator
    TRunResult Run;         // the engine run
};

// Runs the program on a fresh engine for the given frames and writes the GIF to path
// atomically: on any failure or cancel the file at path is left as it was. More than
// MaxAnimationFrames fails with AnimationTooLong before anything runs.
TAnimationResult ExportAnimation(std::string_view program, const std::string &path,
                                 const TAnimationExport &options);

// The frames of one pass of the program: until the end of its command part sends it back to
// the start, or until it ends; at most cap frames (cap from 1). Fresh engine, given clock.
std::uint64_t OnePassFrames(std::string_view program, std::uint64_t cap, TClock *clock = nullptr);

} // namespace zor
