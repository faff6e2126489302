#include "sim/engine/GifExport.h"

#include "base/AtomicFile.h"

#include <gif_lib.h>

#include <algorithm>

namespace zor {

namespace {

constexpr int CentisecondsPerFrame = 2;
constexpr int MaxDelay = 65535; // the GIF delay field is 16 bits
// giflib hands over a few bytes at a time; they leave in pieces of this size.
constexpr std::size_t OutputChunk = 64 * 1024;
// Frames between two progress reports of an export.
constexpr std::uint64_t ProgressEvery = 256;

} // namespace

struct TGifRecorder::TEncoder
{
    GifFileType *Gif = nullptr;
    std::string Buffer;
    bool OutputFailed = false;
    TOutput *Output = nullptr;
    std::vector<GifPixelType> Line;

    ~TEncoder()
    {
        if (Gif)
            EGifCloseFile(Gif, nullptr);
    }

    bool Flush()
    {
        if (!Buffer.empty() && !OutputFailed && !(*Output)(Buffer))
            OutputFailed = true;
        Buffer.clear();
        return !OutputFailed;
    }

    static int Append(GifFileType *gif, const GifByteType *data, int length)
    {
        auto *self = static_cast<TEncoder *>(gif->UserData);
        if (self->OutputFailed)
            return 0;
        // The buffer never grows past its first reservation: a long run needs no more memory.
        if (self->Buffer.size() + static_cast<std::size_t>(length) > OutputChunk && !self->Flush())
            return 0;
        self->Buffer.append(reinterpret_cast<const char *>(data), static_cast<std::size_t>(length));
        return length;
    }
};

TGifRecorder::TGifRecorder(TOutput output, int scale)
    : Output(std::move(output)), Painter({.Zoom = scale, .Led = false})
{
}

TGifRecorder::~TGifRecorder() = default;

bool TGifRecorder::Failed(int giflibError)
{
    if (ErrorText.empty()) {
        if (Encoder && Encoder->OutputFailed) {
            ErrorText = "the file could not be written";
        } else {
            const char *text = GifErrorString(giflibError);
            ErrorText = std::string("GIF encoding failed: ") + (text ? text : "unknown error");
        }
    }
    return false;
}

bool TGifRecorder::Start()
{
    Encoder = std::make_unique<TEncoder>();
    Encoder->Output = &Output;
    Encoder->Buffer.reserve(OutputChunk);
    int err = 0;
    GifFileType *gif = EGifOpen(Encoder.get(), TEncoder::Append, &err);
    if (!gif)
        return Failed(err);
    Encoder->Gif = gif;
    EGifSetGifVersion(gif, true);

    GifColorType colours[PanelPalette.size()];
    for (std::size_t i = 0; i < PanelPalette.size(); ++i)
        colours[i] = {PanelPalette[i].Red, PanelPalette[i].Green, PanelPalette[i].Blue};
    ColorMapObject *map = GifMakeMapObject(static_cast<int>(PanelPalette.size()), colours);
    if (!map)
        return Failed(E_GIF_ERR_NOT_ENOUGH_MEM);
    const int width = Painter.Width();
    const int height = Painter.Height();
    const int screen = EGifPutScreenDesc(gif, width, height, 2, 0, map);
    GifFreeMapObject(map);
    if (screen == GIF_ERROR)
        return Failed(gif->Error);

    // Loop forever.
    GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, sizeof netscape, netscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return Failed(gif->Error);
    Encoder->Line.resize(static_cast<std::size_t>(width));
    return true;
}

bool TGifRecorder::PutImage(const TDots &dots, const TDots *previous, std::uint64_t frames)
{
    GifFileType *gif = Encoder->Gif;
    // Only the rectangle of dots that changed is stored; the rest stays from the image before
    // (disposal: do not dispose).
    TPixelRect area{0, 0, Painter.Width(), Painter.Height()};
    if (previous) {
        int x0 = PanelColumns, x1 = -1, y0 = PanelRows, y1 = -1;
        for (int y = 0; y < PanelRows; ++y)
            for (int x = 0; x < PanelColumns; ++x)
                if (dots.Dot(x, y) != previous->Dot(x, y)) {
                    x0 = std::min(x0, x), x1 = std::max(x1, x);
                    y0 = std::min(y0, y), y1 = std::max(y1, y);
                }
        area = Painter.DotsRect(x0, y0, x1, y1);
    }

    std::uint64_t remaining = frames * CentisecondsPerFrame;
    bool first = true;
    while (remaining > 0) {
        const int delay = static_cast<int>(std::min<std::uint64_t>(remaining, MaxDelay));
        remaining -= static_cast<std::uint64_t>(delay);
        GraphicsControlBlock gcb{};
        gcb.DisposalMode = DISPOSE_DO_NOT;
        gcb.DelayTime = delay;
        gcb.TransparentColor = NO_TRANSPARENT_COLOR;
        GifByteType ext[4];
        const std::size_t extLength = EGifGCBToExtension(&gcb, ext);
        if (EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(extLength), ext) ==
            GIF_ERROR)
            return Failed(gif->Error);
        // A delay longer than the field holds goes on as a one-pixel image of no change.
        const int pl = first ? area.Left : 0, pt = first ? area.Top : 0;
        const int pw = first ? area.Width : 1, ph = first ? area.Height : 1;
        if (EGifPutImageDesc(gif, pl, pt, pw, ph, false, nullptr) == GIF_ERROR)
            return Failed(gif->Error);
        GifPixelType *line = Encoder->Line.data();
        for (int py = pt; py < pt + ph; ++py) {
            Painter.IndexRow(dots, py, pl, pw, line);
            if (EGifPutLine(gif, line, pw) == GIF_ERROR)
                return Failed(gif->Error);
        }
        first = false;
    }
    return true;
}

void TGifRecorder::PresentFrame(const TPanelPicture &frame)
{
    if (HasFailed())
        return;
    if (PendingFrames > 0 && Pending == frame) {
        ++PendingFrames;
        return;
    }
    if (PendingFrames == 0) {
        if (!Start())
            return;
    } else {
        // The pending picture's length is known now: it goes out, and the new one waits.
        if (!PutImage(Pending, HaveWritten ? &Written : nullptr, PendingFrames))
            return;
        Written = Pending;
        HaveWritten = true;
    }
    Pending = frame;
    PendingFrames = 1;
    ++ImageCount;
}

bool TGifRecorder::Finish(std::string *error)
{
    auto fail = [&] {
        if (error)
            *error = ErrorText;
        return false;
    };
    if (HasFailed())
        return fail();
    if (PendingFrames == 0) {
        ErrorText = "no frame to write";
        return fail();
    }
    if (!PutImage(Pending, HaveWritten ? &Written : nullptr, PendingFrames))
        return fail();
    GifFileType *gif = Encoder->Gif;
    Encoder->Gif = nullptr;
    int err = 0;
    if (EGifCloseFile(gif, &err) == GIF_ERROR) {
        Failed(err);
        return fail();
    }
    if (!Encoder->Flush()) {
        Failed(0);
        return fail();
    }
    PendingFrames = 0;
    return true;
}

std::string EncodeGif(std::string_view program, std::uint64_t frames, int scale, TClock *clock,
                      std::string *error)
{
    std::string out;
    TGifRecorder recorder(
        [&out](std::string_view bytes) {
            out.append(bytes);
            return true;
        },
        scale);
    TDisplayEngine engine;
    engine.SetClock(clock);
    engine.SetFrameSink(&recorder);
    engine.RunDisplayEngine(program, 0, frames);
    if (!recorder.Finish(error))
        return {};
    return out;
}

namespace {

// Counts the frames for the progress report and hands them on.
class TExportSink final : public TFrameSink
{
public:
    TExportSink(TDisplayEngine &engine, TGifRecorder &recorder, const TAnimationExport &options)
        : Engine(engine), Recorder(recorder), Options(options)
    {
    }

    void PresentFrame(const TPanelPicture &frame) override
    {
        Recorder.PresentFrame(frame);
        if (Options.AlsoTo)
            Options.AlsoTo->PresentFrame(frame);
        ++Done;
        if (Recorder.HasFailed()) {
            Engine.RequestStop();
        } else if (Options.Progress && Done % ProgressEvery == 0 && !Options.Progress(Done)) {
            Cancelled = true;
            Engine.RequestStop();
        }
    }

    TDisplayEngine &Engine;
    TGifRecorder &Recorder;
    const TAnimationExport &Options;
    std::uint64_t Done = 0;
    bool Cancelled = false;
};

} // namespace

TAnimationResult ExportAnimation(std::string_view program, const std::string &path,
                                 const TAnimationExport &options)
{
    TAnimationResult result;
    if (options.Frames > MaxAnimationFrames) {
        result.Error = AnimationTooLong;
        return result;
    }
    TAtomicFileWriter file(path);
    if (!file.IsOpen()) {
        result.Error = file.Error();
        return result;
    }
    TGifRecorder recorder([&file](std::string_view bytes) { return file.Write(bytes); },
                          options.Scale);
    TDisplayEngine engine;
    engine.SetClock(options.Clock);
    engine.SetFrameTick(options.Tick);
    TExportSink sink(engine, recorder, options);
    engine.SetFrameSink(&sink);
    result.Run = engine.RunDisplayEngine(program, 0, std::max<std::uint64_t>(options.Frames, 1));
    if (sink.Cancelled) {
        result.Cancelled = true;
        return result;
    }
    if (!recorder.Finish(&result.Error)) {
        if (!file.Error().empty())
            result.Error = file.Error();
        return result;
    }
    if (!file.Commit()) {
        result.Error = file.Error();
        return result;
    }
    if (options.Progress)
        options.Progress(sink.Done);
    result.Ok = true;
    return result;
}

bool HasGifExport()
{
    return true;
}

std::uint64_t OnePassFrames(std::string_view program, std::uint64_t cap, TClock *clock)
{
    TDisplayEngine engine;
    engine.SetClock(clock);
    const TRunResult run = engine.RunDisplayEngine(program, 0, std::max<std::uint64_t>(cap, 1));
    if (engine.FirstPassFrames() != 0)
        return std::min(engine.FirstPassFrames(), run.Frames);
    return run.Frames;
}

} // namespace zor
