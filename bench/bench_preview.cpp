// The live preview: what an edit costs once the delay has passed (translation of a 16,384-
// character document and the restart of the run), and the picture of one frame at zoom 8.
#include "commands/Vocabulary.h"
#include "editor/DocumentIO.h"
#include "sim/Preview.h"

#include <QApplication>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

using namespace zor;

// 16384 characters with a command symbol every five; variant changes one letter, so that
// every round is a new program and restarts the run.
void FillDocument(QTextDocument &document, char variant)
{
    document.clear();
    QTextCursor c(&document);
    QTextCharFormat symbol;
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
    TPreviewPlayer player;
    bool flip = false;
    for (auto _ : state) {
        flip = !flip;
        const std::string program = PreviewProgram(flip ? a : b);
        benchmark::DoNotOptimize(player.SetProgram(program));
    }
}
BENCHMARK(BM_PreviewTranslateAndRestart16384)->Unit(benchmark::kMillisecond);

void BM_PreviewPaintZoom8(benchmark::State &state)
{
    // A frame with text on it: every dot of the picture is drawn either way.
    TDisplayEngine engine;
    engine.RunDisplayEngine(std::string("F3T0\x1FPreview 1234567890\x1F\x1F"), 0, 1);
    const TPanelFrame frame = engine.LastFrame();
    QImage target(FrameBitmapWidth * 8, FrameBitmapHeight * 8, QImage::Format_RGB32);
    const bool led = state.range(0) != 0;
    for (auto _ : state) {
        // The picture is made on the player's thread, then painted as a plain copy, as the
        // panel view's paint event does into the window.
        const QImage picture = PanelPicture(frame, 8, led);
        QPainter p(&target);
        p.drawImage(0, 0, picture);
        p.end();
        benchmark::DoNotOptimize(target.constBits());
    }
}
BENCHMARK(BM_PreviewPaintZoom8)->Arg(0)->Arg(1)->ArgName("led")->Unit(benchmark::kMicrosecond);

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
