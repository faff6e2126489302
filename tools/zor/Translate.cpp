// zor translate DOC.zor [-o FILE] [--hex]: the program text of a document.
#include "base/AtomicFile.h"
#include "tools/zor/ProgramInput.h"
#include "tools/zor/Subcommand.h"

#include <cstdio>
#include <memory>
#include <string>
#include <utility>

namespace zor::tool {
namespace {

struct TTranslateArgs
{
    std::string Document;
    std::string Output;
    bool Hex = false;
};

std::string Hex(const std::string &bytes)
{
    static const char digits[] = "0123456789ABCDEF";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        out += digits[b >> 4];
        out += digits[b & 15];
        out += (i + 1) % 16 == 0 || i + 1 == bytes.size() ? '\n' : ' ';
    }
    return out;
}

int RunTranslate(const TTranslateArgs &a)
{
    std::string program;
    if (const int status = TranslateDocumentFile("translate", a.Document, &program))
        return status;
    const std::string out = a.Hex ? Hex(program) : program;
    if (a.Output.empty()) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        return 0; // main reports a failed standard output
    }
    std::string error;
    if (!WriteFileAtomically(a.Output, out, &error))
        return Fail("translate", error, 1);
    return 0;
}

const TSubcommand TranslateRegistration(
    "translate", "Print the program text of a document, or write it to a file",
    [](CLI::App &app) -> TSubcommand::Run {
        auto a = std::make_shared<TTranslateArgs>();
        app.add_option("document", a->Document, "The document (RTF or plain text)")
            ->type_name("DOC.zor")
            ->required();
        app.add_option("-o,--output", a->Output, "Write the program to FILE instead of stdout")
            ->type_name("FILE");
        app.add_flag("--hex", a->Hex, "Print the bytes in hexadecimal, 16 a line");
        return [a] { return RunTranslate(*a); };
    });

} // namespace
} // namespace zor::tool
