// Reading and writing a document of about 1 MB of RTF: text in two fonts with bold and colour
// changes, command symbols in the symbol font (each followed by digit symbols now and then),
// accented letters and line ends. Throughput is reported against the size of the RTF bytes.
#include <benchmark/benchmark.h>

#include "editor/rtf/RtfCodec.h"

namespace {

zor::doc::Document MixedDocument(std::size_t rtfBytes)
{
    using zor::doc::CharFormat;
    CharFormat text;
    CharFormat bold = text;
    bold.Face = "Times New Roman";
    bold.Bold = true;
    bold.Colour = 0x0000FF;
    CharFormat symbol;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = zor::doc::SymbolCharset;
    symbol.HalfPoints = 36;
    const char32_t symbols[] = {U':', U'a', U'e', U'i', U'\xE8', U'\xFE', U'K', U'w'};
    const std::uint32_t colours[] = {0xF90000, 0x010080, 0x018000, 0x810000, 0x0100FF};

    zor::doc::Document doc;
    for (std::size_t i = 0; zor::rtf::Write(doc).size() < rtfBytes; ++i) {
        // Writing the whole document each round would be quadratic; grow in blocks.
        for (int k = 0; k < 500; ++k, ++i) {
            symbol.Colour = colours[i % 5];
            doc.Append(symbol, symbols[i % 8]);
            if (i % 3 == 0) {
                doc.Append(symbol, U'1');
                doc.Append(symbol, U'5');
            }
            doc.Append(text, U"Příliš žluťoučký kůň ");
            doc.Append(bold, U"úpěl {ódy} ");
            if (i % 4 == 0) {
                doc.Append(text, U"\n");
            }
        }
    }
    return doc;
}

const zor::doc::Document &Doc()
{
    static const zor::doc::Document doc = MixedDocument(1024 * 1024);
    return doc;
}

void BM_RtfWrite(benchmark::State &state)
{
    const auto &doc = Doc();
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string out = zor::rtf::Write(doc);
        bytes = out.size();
        benchmark::DoNotOptimize(out);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
    state.counters["chars"] = static_cast<double>(doc.Length());
}
BENCHMARK(BM_RtfWrite)->Unit(benchmark::kMillisecond);

void BM_RtfRead(benchmark::State &state)
{
    const std::string rtf = zor::rtf::Write(Doc());
    for (auto _ : state) {
        auto result = zor::rtf::Read(rtf);
        benchmark::DoNotOptimize(result);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * rtf.size()));
    state.counters["rtf_bytes"] = static_cast<double>(rtf.size());
}
BENCHMARK(BM_RtfRead)->Unit(benchmark::kMillisecond);

} // namespace
