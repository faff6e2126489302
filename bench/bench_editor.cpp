// The editor end to end: opening a document into a window, and translating an open window.
#include "app/Zoredit.h"
#include "commands/DocumentTranslation.h"
#include "commands/Vocabulary.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"
#include "editor/rtf/RtfCodec.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

namespace {

using namespace zor;

// 16384 characters with a command symbol every five.
doc::Document SymbolEveryFive()
{
    doc::Document doc;
    doc::CharFormat symbol;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = 2;
    symbol.HalfPoints = 36;
    symbol.Colour = KindColour(TCommandKind::ckTransition);
    for (int i = 0; i < 16384 / 5; ++i) {
        doc.Append(doc::DefaultFormat(), i % 12 == 11 ? U"abc\n" : U"abcd");
        doc.Append(symbol, U';');
    }
    return doc;
}

struct TFixture
{
    TFixture()
    {
        TStartupOptions o;
        o.FontFolders = {QStringLiteral(ZOR_SYMBOL_FONT_DIR)};
        o.SettingsFile = Dir.filePath("zoredit.INI");
        Form = std::make_unique<TMainForm>(o);
        File = Dir.filePath("doc.zor");
        const std::string rtf = rtf::Write(SymbolEveryFive());
        QFile f(File);
        f.open(QIODevice::WriteOnly);
        f.write(rtf.data(), qint64(rtf.size()));
    }
    QTemporaryDir Dir;
    std::unique_ptr<TMainForm> Form;
    QString File;
};

void OpenDocumentIntoWindow(benchmark::State &state)
{
    TFixture f;
    for (auto _ : state) {
        TMDIChild *w = f.Form->CreateDocumentWindow(f.File);
        benchmark::DoNotOptimize(w->Editor->document()->characterCount());
        state.PauseTiming();
        w->Editor->document()->setModified(false);
        delete w;
        state.ResumeTiming();
    }
}
BENCHMARK(OpenDocumentIntoWindow)->Unit(benchmark::kMillisecond);

void TranslateOpenWindow(benchmark::State &state)
{
    TFixture f;
    TMDIChild *w = f.Form->CreateDocumentWindow(f.File);
    for (auto _ : state) {
        // What Send and Simulation do before handing the program on.
        TTranslation t = TranslateDocument(DocumentFromText(*w->Editor->document()));
        benchmark::DoNotOptimize(t.Program.data());
    }
}
BENCHMARK(TranslateOpenWindow)->Unit(benchmark::kMillisecond);

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
