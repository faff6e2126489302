#include "sim/engine/GifExport.h"

#include "base/AtomicFile.h"

#include <gif_lib.h>

#include <algorithm>
#include <cstring>

namespace zor {

namespace {

constexpr int CentisecondsPerFrame = 2;
constexpr int MaxDelay = 65535; // the GIF delay field is 16 bits

int AppendToString(GifFileType *gif, const GifByteType *data, int length)
{
    static_cast<std::string *>(gif->UserData)
        ->append(reinterpret_cast<const char *>(data), static_cast<std::size_t>(length));
    return length;
}

struct TGifCloser
{
    GifFileType *Gif = nullptr;
    ~TGifCloser()
    {
        if (Gif)
            EGifCloseFile(Gif, nullptr);
    }
};

bool Failed(int giflibError, std::string *error)
{
    if (error) {
        const char *text = GifErrorString(giflibError);
        *error = std::string("GIF encoding failed: ") + (text ? text : "unknown error");
    }
    return false;
}

} // namespace

TGifRecorder::TGifRecorder(int scale) : Scale(std::clamp(scale, MinScale, MaxScale)) {}

void TGifRecorder::PresentFrame(const TFrameBitmap &bitmap)
{
    ++Presented;
    TDots dots(PanelColumns * PanelRows);
    for (int y = 0; y < PanelRows; ++y)
        for (int x = 0; x < PanelColumns; ++x)
            dots[static_cast<std::size_t>(y * PanelColumns + x)] =
                static_cast<std::uint8_t>(bitmap.Dot(x, y));
    if (!Pictures.empty() && Pictures.back() == dots) {
        ++Durations.back();
        return;
    }
    Pictures.push_back(std::move(dots));
    Durations.push_back(1);
}

std::string TGifRecorder::Encode(std::string *error) const
{
    if (Pictures.empty()) {
        if (error)
            *error = "no frame to write";
        return {};
    }
    std::string out;
    int err = 0;
    TGifCloser closer{EGifOpen(&out, AppendToString, &err)};
    GifFileType *gif = closer.Gif;
    if (!gif)
        return Failed(err, error), std::string();
    EGifSetGifVersion(gif, true);

    const GifColorType colours[4] = {{0, 0, 0}, {0, 255, 0}, {255, 0, 0}, {255, 255, 0}};
    ColorMapObject *map = GifMakeMapObject(4, colours);
    if (!map)
        return Failed(E_GIF_ERR_NOT_ENOUGH_MEM, error), std::string();
    const int width = FrameBitmapWidth * Scale;
    const int height = FrameBitmapHeight * Scale;
    const int screen = EGifPutScreenDesc(gif, width, height, 2, 0, map);
    GifFreeMapObject(map);
    if (screen == GIF_ERROR)
        return Failed(gif->Error, error), std::string();

    // Loop forever.
    GifByteType netscape[] = {'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0'};
    GifByteType loop[] = {1, 0, 0};
    if (EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, sizeof netscape, netscape) == GIF_ERROR ||
        EGifPutExtensionBlock(gif, sizeof loop, loop) == GIF_ERROR ||
        EGifPutExtensionTrailer(gif) == GIF_ERROR)
        return Failed(gif->Error, error), std::string();

    std::vector<GifPixelType> line(static_cast<std::size_t>(width));
    const TDots *previous = nullptr;
    for (std::size_t i = 0; i < Pictures.size(); ++i) {
        const TDots &dots = Pictures[i];
        // Only the rectangle of dots that changed is stored; the rest stays from the frame
        // before (disposal: do not dispose).
        int x0 = 0, x1 = PanelColumns - 1, y0 = 0, y1 = PanelRows - 1;
        int left = 0, top = 0, w = width, h = height;
        if (previous) {
            x0 = PanelColumns, x1 = -1, y0 = PanelRows, y1 = -1;
            for (int y = 0; y < PanelRows; ++y)
                for (int x = 0; x < PanelColumns; ++x)
                    if (dots[static_cast<std::size_t>(y * PanelColumns + x)] !=
                        (*previous)[static_cast<std::size_t>(y * PanelColumns + x)]) {
                        x0 = std::min(x0, x), x1 = std::max(x1, x);
                        y0 = std::min(y0, y), y1 = std::max(y1, y);
                    }
            left = (2 * x0 + 1) * Scale, top = (2 * y0 + 1) * Scale;
            w = (2 * (x1 - x0) + 1) * Scale, h = (2 * (y1 - y0) + 1) * Scale;
        }

        std::uint64_t remaining = Durations[i] * CentisecondsPerFrame;
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
                return Failed(gif->Error, error), std::string();
            // A delay longer than the field holds goes on as a one-pixel image of no change.
            const int pl = first ? left : 0, pt = first ? top : 0;
            const int pw = first ? w : 1, ph = first ? h : 1;
            if (EGifPutImageDesc(gif, pl, pt, pw, ph, false, nullptr) == GIF_ERROR)
                return Failed(gif->Error, error), std::string();
            for (int py = pt; py < pt + ph; ++py) {
                const int ry = py / Scale;
                const int y = (ry - 1) / 2;
                for (int px = pl; px < pl + pw; ++px) {
                    const int rx = px / Scale;
                    line[static_cast<std::size_t>(px - pl)] =
                        (ry % 2 == 1 && ry < 20 && rx % 2 == 1 && rx < 240)
                            ? dots[static_cast<std::size_t>(y * PanelColumns + (rx - 1) / 2)]
                            : 0;
                }
                if (EGifPutLine(gif, line.data(), pw) == GIF_ERROR)
                    return Failed(gif->Error, error), std::string();
            }
            first = false;
        }
        previous = &dots;
    }
    closer.Gif = nullptr;
    if (EGifCloseFile(gif, &err) == GIF_ERROR)
        return Failed(err, error), std::string();
    return out;
}

bool TGifRecorder::Write(const std::string &path, std::string *error) const
{
    const std::string bytes = Encode(error);
    if (bytes.empty())
        return false;
    return WriteFileAtomically(path, bytes, error);
}

} // namespace zor
