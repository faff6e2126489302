// Translation of documents into program text, without a window.
#include "commands/DocumentTranslation.h"
#include "commands/Translate.h"
#include "commands/Vocabulary.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

using namespace zor;

// About 1 MB of characters: text with a command symbol (and now and then its digits) every
// few characters, lines of about 60.
std::vector<TCharacter> MixedCharacters(std::size_t count)
{
    std::vector<TCharacter> chars;
    chars.reserve(count);
    const char *text = "Welcome to the plant, safety first! ";
    const std::uint32_t transition = KindColour(TCommandKind::ckTransition);
    const std::uint32_t parameter = KindColour(TCommandKind::ckParameter);
    for (std::size_t i = 0; chars.size() < count; ++i) {
        if (i % 7 == 0) {
            chars.push_back({';', transition});
        } else if (i % 11 == 0) {
            chars.push_back({'r', parameter});
            chars.push_back({'5', parameter});
        } else if (i % 60 == 0) {
            chars.push_back({0x0D, 0});
            chars.push_back({0x0A, 0});
        } else {
            chars.push_back({static_cast<unsigned char>(text[i % 36]), 0});
        }
    }
    return chars;
}

void TranslateCore(benchmark::State &state)
{
    const auto chars = MixedCharacters(1 << 20);
    for (auto _ : state) {
        TTranslation t = Translate(chars);
        benchmark::DoNotOptimize(t.Program.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(chars.size()));
}
BENCHMARK(TranslateCore)->Unit(benchmark::kMillisecond);

void TranslateDocumentModel(benchmark::State &state)
{
    doc::Document doc;
    doc::CharFormat symbol;
    symbol.Face = "ZorSymbolFont";
    symbol.Charset = 2;
    symbol.Colour = KindColour(TCommandKind::ckTransition);
    for (int i = 0; i < 16384 / 5; ++i) {
        doc.Append(doc::DefaultFormat(), U"Text");
        doc.Append(symbol, U';');
    }
    for (auto _ : state) {
        TTranslation t = TranslateDocument(doc);
        benchmark::DoNotOptimize(t.Program.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations()) * std::int64_t(doc.Length()));
}
BENCHMARK(TranslateDocumentModel)->Unit(benchmark::kMicrosecond);

} // namespace
