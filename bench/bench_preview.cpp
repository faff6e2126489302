// The live preview: what an edit costs once the delay has passed (translation of a 16,384-
// character document and the restart of the run), and the paint of one frame at zoom 8.
#include "commands/Vocabulary.h"
#include "editor/DocumentIO.h"
#include "sim/Preview.h"

#include <QApplication>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;

// 16384 characters with a command symbol every five; variant changes one letter, so that
// every round is a new program and restarts the run.
void FillDocument(QTextDocument &document, char variant)
{
    document.clear();
    QTextCursor c(&document);
    QTextCharFormat symbol;
    symbol.setFontFamilies(QStringList{"ZorSymbolFont"});
    symbol.setForeground(ColourToQColor(KindColour(TCommandKind::ckTransition)));
    const QTextCharFormat plain;
    for (int i = 0; i < 16384 / 5; ++i) {
        c.insertText(i == 0 ? QString(QLatin1Char(variant)) + "bcd" : "abcd", plain);
        c.insertText(";", symbol);
    }
}

void BM_PreviewTranslateAndRestart16384(benchmark::State &state)
{
    QTextDocument a, b;
    FillDocument(a, 'a');
    FillDocument(b, 'b');
    TFramePlayer player;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        const std::string program = PreviewProgram(flip ? a : b);
        benchmark::DoNotOptimize(player.SetProgram(program));
    }
}
BENCHMARK(BM_PreviewTranslateAndRestart16384)->Unit(benchmark::kMillisecond);

// Frames that change as they do while text moves: a text scrolling in from the right, one
// frame after another.
std::vector<TPanelPicture> ScrollFrames()
{
    struct TKeep final : TFrameSink
    {
        std::vector<TPanelPicture> Frames;
        void PresentFrame(const TPanelPicture &frame) override
        {
            if (Frames.empty() || frame != Frames.back())
                Frames.push_back(frame);
        }
    } keep;
    TDisplayEngine engine;
    engine.SetFrameSink(&keep);
    engine.RunDisplayEngine(std::string("F1T0\x1FPreview 1234567890 Preview\x1F\x1F"), 0, 400);
    return keep.Frames;
}

// What one frame costs the editor's thread at zoom 8: the view takes the frame and paints
// itself into a picture of its size, as a paint event does into the window. The whole view is
// painted every round, more than the window asks for, which is only the changed rows.
void PaintFrames(benchmark::State &state, const std::vector<TPanelPicture> &frames)
{
    TPanelView view;
    view.SetLook(8, state.range(0) != 0);
    QImage target(view.size(), QImage::Format_RGB32);
    view.SetFrame(frames.back()); // each round then shows a frame unlike the one before
    const std::uint64_t drawnBefore = view.FramesDrawn();
    std::size_t next = 0;
    for (auto _ : state) {
        view.SetFrame(frames[next]);
        next = (next + 1) % frames.size();
        view.render(&target, QPoint(), QRegion(), QWidget::RenderFlags());
        benchmark::DoNotOptimize(target.constBits());
    }
    if (view.FramesDrawn() - drawnBefore != static_cast<std::uint64_t>(state.iterations()))
        state.SkipWithError("a frame did not change the picture");
}

void BM_PreviewPaintZoom8(benchmark::State &state)
{
    static const std::vector<TPanelPicture> frames = ScrollFrames();
    PaintFrames(state, frames);
}
BENCHMARK(BM_PreviewPaintZoom8)->Arg(0)->Arg(1)->ArgName("led")->Unit(benchmark::kMicrosecond);

// The same frames through the window's own path: the view on screen (the offscreen one here)
// takes the frame, and the event loop repaints the changed rows into the window's buffer.
void BM_PreviewWindowZoom8(benchmark::State &state)
{
    static const std::vector<TPanelPicture> frames = ScrollFrames();
    TPanelView view;
    view.SetLook(8, state.range(0) != 0);
    view.show();
    view.SetFrame(frames.back());
    QApplication::processEvents();
    const std::uint64_t paintsBefore = view.Paints();
    std::size_t next = 0;
    for (auto _ : state) {
        view.SetFrame(frames[next]);
        next = (next + 1) % frames.size();
        QApplication::processEvents();
    }
    if (view.Paints() - paintsBefore != static_cast<std::uint64_t>(state.iterations()))
        state.SkipWithError("a frame was not painted");
}
BENCHMARK(BM_PreviewWindowZoom8)->Arg(0)->Arg(1)->ArgName("led")->Unit(benchmark::kMicrosecond);

// The worst case: every dot changes colour from one frame to the next.
void BM_PreviewPaintZoom8AllDots(benchmark::State &state)
{
    std::vector<TPanelPicture> frames(2);
    frames[1].Dots.fill(3);
    PaintFrames(state, frames);
}
BENCHMARK(BM_PreviewPaintZoom8AllDots)
    ->Arg(0)
    ->Arg(1)
    ->ArgName("led")
    ->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
