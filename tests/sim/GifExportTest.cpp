// An exported animation reads back with the frames, delays and colours of the run.
#include "sim/engine/GifExport.h"
#include "tests/sim/EngineTestSupport.h"

#include <QImage>
#include <QImageReader>

#include <gif_lib.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>

namespace zor::test {
namespace {

TEST(GifExport, FramesDelaysAndPicture)
{
    // 12 scrolling frames, then 100 identical ones, then the program ends.
    TDisplayEngine engine;
    TGifRecorder recorder(3);
    engine.SetFrameSink(&recorder);
    engine.RunDisplayEngine(Program("I2F1T0W2)", {"A"}), 0);
    ASSERT_EQ(recorder.FramesPresented(), 112u);

    const auto path = std::filesystem::temp_directory_path() / "zor-gif-export-test.gif";
    std::string error;
    ASSERT_TRUE(recorder.Write(path.string(), &error)) << error;

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
    EXPECT_EQ(static_cast<std::size_t>(delays.size()), recorder.Images());

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
    std::filesystem::remove(path);
}

TEST(GifExport, NothingToWriteIsAnError)
{
    TGifRecorder recorder;
    std::string error;
    EXPECT_TRUE(recorder.Encode(&error).empty());
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(recorder.Write("/nonexistent-folder/x.gif", &error));
}

} // namespace
} // namespace zor::test
