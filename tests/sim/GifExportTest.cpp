// An exported animation reads back with the frames, delays and colours of the run, streams out
// in bounded memory, and the file is written whole or not at all.
#include "sim/engine/GifExport.h"
#include "tests/sim/EngineTestSupport.h"

#include <QImage>
#include <QImageReader>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <new>

// Live heap bytes of this test program and their peak, to show that a longer run needs no more.
namespace {
std::atomic<std::size_t> LiveBytes{0};
std::atomic<std::size_t> PeakBytes{0};
} // namespace

void *operator new(std::size_t size)
{
    auto *block = static_cast<std::size_t *>(std::malloc(size + sizeof(std::max_align_t)));
    if (!block)
        throw std::bad_alloc();
    *block = size;
    const std::size_t live = LiveBytes += size;
    std::size_t peak = PeakBytes.load();
    while (live > peak && !PeakBytes.compare_exchange_weak(peak, live)) {
    }
    return reinterpret_cast<char *>(block) + sizeof(std::max_align_t);
}

void operator delete(void *p) noexcept
{
    if (!p)
        return;
    auto *block =
        reinterpret_cast<std::size_t *>(static_cast<char *>(p) - sizeof(std::max_align_t));
    LiveBytes -= *block;
    std::free(block);
}

void operator delete(void *p, std::size_t) noexcept
{
    operator delete(p);
}

namespace zor::test {
namespace {

std::string ReadAll(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST(GifExport, FramesDelaysAndPicture)
{
    // 12 scrolling frames, then 100 identical ones, then the program ends.
    const auto path = std::filesystem::temp_directory_path() / "zor-gif-export-test.gif";
    TAnimationExport options;
    options.Frames = 1000;
    options.Scale = 3;
    const TAnimationResult written = ExportAnimation(Program("I2F1T0W2)", {"A"}), path, options);
    ASSERT_TRUE(written.Ok) << written.Error;
    EXPECT_EQ(written.Run.Frames, 112u);
    EXPECT_EQ(written.Run.End, TRunEnd::ProgramEnd);

    int err = 0;
    GifFileType *gif = DGifOpenFileName(path.string().c_str(), &err);
    ASSERT_NE(gif, nullptr);
    ASSERT_EQ(DGifSlurp(gif), GIF_OK);
    EXPECT_EQ(gif->SWidth, 241 * 3);
    EXPECT_EQ(gif->SHeight, 21 * 3);
    int total = 0;
    std::vector<int> delays;
    for (int i = 0; i < gif->ImageCount; ++i) {
        GraphicsControlBlock gcb{};
        ASSERT_EQ(DGifSavedExtensionToGCB(gif, i, &gcb), GIF_OK);
        delays.push_back(gcb.DelayTime);
        total += gcb.DelayTime;
    }
    DGifCloseFile(gif, &err);
    EXPECT_EQ(total, 2 * 112);
    // Each scroll column stays for two frames; the last scroll step shows with the pause.
    EXPECT_EQ(delays.front(), 2 * 2);
    EXPECT_EQ(delays.back(), 2 * 100);

    QImageReader reader(QString::fromStdString(path.string()));
    EXPECT_EQ(reader.imageCount(), static_cast<int>(delays.size()));
    EXPECT_EQ(reader.loopCount(), -1);
    QImage last;
    for (int i = 0; i < reader.imageCount(); ++i)
        last = reader.read();
    ASSERT_FALSE(last.isNull());
    // The apex of the A (dot 116, 2) in red at pixel (2x + 1, 2y + 1) times the scale; black
    // between dots.
    EXPECT_EQ(last.pixelColor((2 * 116 + 1) * 3 + 1, (2 * 2 + 1) * 3 + 1), QColor(255, 0, 0));
    EXPECT_EQ(last.pixelColor((2 * 116 + 2) * 3 + 1, (2 * 2 + 1) * 3 + 1), QColor(0, 0, 0));

    // The file is the streamed encoding of the same run, byte for byte.
    EXPECT_EQ(ReadAll(path), EncodeGif(Program("I2F1T0W2)", {"A"}), 1000, 3));
    std::filesystem::remove(path);
}

TEST(GifExport, ALongPauseIsSplitIntoDelaysTheFieldHolds)
{
    // W0 pauses 256 seconds; 65535 centiseconds is the most one image may last.
    const std::string gif = EncodeGif(Program("T1W0W0W0)", {"x"}), 200000, 1);
    ASSERT_FALSE(gif.empty());
    int err = 0;
    std::string copy = gif;
    struct TReader
    {
        std::string *Data;
        std::size_t At = 0;
    } source{&copy};
    GifFileType *file = DGifOpen(
        &source,
        [](GifFileType *g, GifByteType *out, int n) {
            auto *s = static_cast<TReader *>(g->UserData);
            const int take = static_cast<int>(std::min<std::size_t>(n, s->Data->size() - s->At));
            std::memcpy(out, s->Data->data() + s->At, static_cast<std::size_t>(take));
            s->At += static_cast<std::size_t>(take);
            return take;
        },
        &err);
    ASSERT_NE(file, nullptr);
    ASSERT_EQ(DGifSlurp(file), GIF_OK);
    long total = 0;
    for (int i = 0; i < file->ImageCount; ++i) {
        GraphicsControlBlock gcb{};
        ASSERT_EQ(DGifSavedExtensionToGCB(file, i, &gcb), GIF_OK);
        EXPECT_LE(gcb.DelayTime, 65535);
        total += gcb.DelayTime;
    }
    DGifCloseFile(file, &err);
    TDisplayEngine engine;
    const std::uint64_t frames = engine.RunDisplayEngine(Program("T1W0W0W0)", {"x"}), 0).Frames;
    EXPECT_EQ(total, static_cast<long>(2 * frames));
}

TEST(GifExport, PeakMemoryDoesNotGrowWithTheRun)
{
    // Text that keeps moving: nearly every frame is a new image.
    const std::string program = Program("F0T1F13T2F7T1E1", {"Moving text", "Back again"});
    auto peakOf = [&](std::uint64_t frames) {
        std::uint64_t bytes = 0;
        TGifRecorder recorder(
            [&bytes](std::string_view piece) {
                bytes += piece.size();
                return true;
            },
            1);
        TDisplayEngine engine;
        engine.SetFrameSink(&recorder);
        const std::size_t before = LiveBytes.load();
        PeakBytes = before;
        engine.RunDisplayEngine(program, 0, frames);
        EXPECT_TRUE(recorder.Finish());
        EXPECT_GT(bytes, frames); // the images really were written
        EXPECT_GT(recorder.Images(), frames / 4);
        return PeakBytes.load() - before;
    };
    const std::size_t short_ = peakOf(100);
    const std::size_t long_ = peakOf(10000);
    // The same handful of buffers either way; a kept frame list would be megabytes.
    EXPECT_LE(long_, short_ + 4096) << "100 frames: " << short_ << " bytes, 10000: " << long_;
}

TEST(GifExport, FailuresLeaveTheTargetAsItWas)
{
    const auto dir = std::filesystem::temp_directory_path() / "zor-gif-export-failures";
    std::filesystem::create_directories(dir);
    const auto target = dir / "kept.gif";
    {
        std::ofstream(target) << "old";
    }

    // Nothing to show: a program that ends before its first frame.
    TAnimationExport options;
    TAnimationResult r = ExportAnimation(")\x1F\x1F", target.string(), options);
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());
    EXPECT_EQ(ReadAll(target), "old");

    // Longer than a GIF may be: refused before anything runs, for the editor and the tool alike.
    options.Frames = MaxAnimationFrames + 1;
    r = ExportAnimation(Program("F0T1", {"abc"}), target.string(), options);
    EXPECT_FALSE(r.Ok);
    EXPECT_EQ(r.Error, AnimationTooLong);
    EXPECT_EQ(r.Run.Frames, 0u);
    EXPECT_EQ(ReadAll(target), "old");

    // Cancelled half way.
    options.Frames = MaxAnimationFrames;
    options.Progress = [](std::uint64_t done) { return done < 1024; };
    r = ExportAnimation(Program("F0T1", {"abc"}), target.string(), options);
    EXPECT_FALSE(r.Ok);
    EXPECT_TRUE(r.Cancelled);
    EXPECT_EQ(ReadAll(target), "old");
    EXPECT_LT(r.Run.Frames, 2000u);

    // A folder that does not exist.
    options.Progress = nullptr;
    r = ExportAnimation(Program("F0T1", {"abc"}), (dir / "no" / "x.gif").string(), options);
    EXPECT_FALSE(r.Ok);
    EXPECT_FALSE(r.Error.empty());

    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto &e : std::filesystem::directory_iterator(dir))
        ++files;
    EXPECT_EQ(files, 1);
    std::filesystem::remove_all(dir);
}

TEST(GifExport, OnePassEndsWhereTheProgramStartsAgain)
{
    // T0 scrolls 2 characters in at full speed (12 frames), W1 holds for 50.
    EXPECT_EQ(OnePassFrames(Program("T0W1", {"ab"}), 3000), 12u + 50u);
    EXPECT_EQ(OnePassFrames(Program("T0W1", {"ab"}), 20), 20u);
    // A program that ends with ')' ends its pass there.
    EXPECT_EQ(OnePassFrames(Program("W1)"), 3000), 50u);
    // A pass that shows nothing is still one frame.
    EXPECT_EQ(OnePassFrames(Program("S0"), 3000), 1u);
}

} // namespace
} // namespace zor::test
