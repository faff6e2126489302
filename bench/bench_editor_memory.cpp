// Peak memory of the editor reading a document of short runs (`{\b a}a` repeated, in a font with
// a 250-character name), for 6 MB and 60 MB of RTF: into a text document, and into a document
// window that is then shown. Qt allocates with malloc, out of reach of a counting operator new,
// so each reading runs in a fresh process of this program and is measured by the kernel: the
// peak resident set (VmHWM) from the start of the reading to its end, less what the process held
// just before (peak_bytes), and that over the size of the file (per_input_byte).
#include "bench/ShortRuns.h"
#include "editor/Child.h"
#include "editor/DocumentIO.h"

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QTextDocument>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using zor::bench::ShortRuns;

constexpr const char *MeasureArgument = "--measure";

// A line of /proc/self/status in bytes ("VmRSS", "VmHWM").
long long StatusBytes(const char *field)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    const std::string prefix = std::string(field) + ":";
    while (std::getline(status, line))
        if (line.rfind(prefix, 0) == 0)
            return std::atoll(line.c_str() + prefix.size()) * 1024;
    return -1;
}

// In the child: reads the file as the editor does into a text document of its own (fill) or into
// a document window that is then shown (window), and prints the peak over the resident set
// before; nothing when the file did not open or the peak cannot be reset.
int Measure(int argc, char **argv)
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const bool inWindow = std::strcmp(argv[2], "window") == 0;
    const QString path = QString::fromLocal8Bit(argv[3]);
    QWidget area;
    area.resize(800, 600);
    area.show();
    auto *window = new zor::TMDIChild(&area);
    QTextDocument document;
    QApplication::processEvents();
    {
        // Writing 5 resets the peak to the present resident set.
        std::ofstream reset("/proc/self/clear_refs");
        reset << "5";
        if (!reset.flush())
            return 1;
    }
    const long long before = StatusBytes("VmRSS");
    QString error;
    if (!inWindow) {
        if (!zor::LoadDocumentFile(path, document, &error))
            return 1;
    } else {
        // As the document manager opens a file: the window shows once its text is in.
        if (!window->LoadFile(path, &error))
            return 1;
        window->Editor->document()->setModified(false);
        window->showMaximized();
        QApplication::processEvents();
        window->Editor->viewport()->repaint();
    }
    std::printf("%lld\n", StatusBytes("VmHWM") - before);
    return 0;
}

void OpenShortRuns(benchmark::State &state, const char *how)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("short-runs.zor"));
    const std::string rtf = ShortRuns(static_cast<std::size_t>(state.range(0)) << 20);
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) ||
            file.write(rtf.data(), qint64(rtf.size())) != qint64(rtf.size())) {
            state.SkipWithError("cannot write the document");
            return;
        }
    }
    // Through the shell /proc/self/exe would be the shell.
    const std::string self = std::filesystem::read_symlink("/proc/self/exe").string();
    const std::string command =
        "'" + self + "' " + MeasureArgument + " " + how + " '" + path.toStdString() + "'";
    long long peak = -1;
    for (auto _ : state) {
        FILE *child = popen(command.c_str(), "r");
        if (!child || std::fscanf(child, "%lld", &peak) != 1)
            peak = -1;
        if (child)
            pclose(child);
    }
    if (peak < 0) {
        state.SkipWithError("the document did not open, or the peak could not be measured");
        return;
    }
    state.counters["peak_bytes"] = static_cast<double>(peak);
    state.counters["per_input_byte"] = static_cast<double>(peak) / static_cast<double>(rtf.size());
}

// The editor's own part: the model read and moved into a text document.
void BM_FillDocumentShortRuns(benchmark::State &state)
{
    OpenShortRuns(state, "fill");
}
BENCHMARK(BM_FillDocumentShortRuns)->Arg(6)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);

// The whole opening: the window lays the text out, for this document one paragraph of a format
// change every character, which the toolkit's layout holds per change (60 MB takes minutes).
void BM_OpenShortRunsInWindow(benchmark::State &state)
{
    OpenShortRuns(state, "window");
}
BENCHMARK(BM_OpenShortRunsInWindow)->Arg(6)->Arg(60)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char **argv)
{
    if (argc == 4 && std::strcmp(argv[1], MeasureArgument) == 0)
        return Measure(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
