// zor translate DOC.zor [-o FILE] [--hex]: the program text of a document.
#include "base/AtomicFile.h"
#include "comm/Results.h"
#include "commands/DocumentTranslation.h"
#include "editor/rtf/Rtf.h"
#include "tools/zor/Subcommand.h"

#include <cstdio>
#include <string>
#include <utility>

namespace zor::tool {
namespace {

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

int RunTranslate(const std::vector<std::string> &args)
{
    std::string input, output;
    bool hex = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "-o" && i + 1 < args.size())
            output = args[++i];
        else if (args[i] == "--hex")
            hex = true;
        else if (input.empty() && !args[i].empty() && args[i][0] != '-')
            input = args[i];
        else {
            std::fprintf(stderr, "zor translate: unexpected argument '%s'\n", args[i].c_str());
            return 2;
        }
    }
    if (input.empty()) {
        std::fprintf(stderr, "usage: zor translate DOC.zor [-o FILE] [--hex]\n");
        return 2;
    }
    std::string bytes;
    if (!ReadWholeFile(input, &bytes)) {
        std::fprintf(stderr, "zor translate: cannot read %s\n", input.c_str());
        return 1;
    }
    rtf::ReadResult read = rtf::Read(bytes);
    // Moved, not copied: a document of short runs is many times the size of its file.
    const rtf::Document document = read.Ok() ? std::move(read.Doc) : rtf::ReadPlainText(bytes);
    const TTranslation t = TranslateDocument(document);
    if (t.TooManySegments()) {
        std::string message(ResultMessage(ResultTooManySegments)->Text);
        for (char &c : message)
            if (c == '\r')
                c = '\n';
        std::fprintf(stderr, "%s\n", message.c_str());
        return 8;
    }
    const std::string out = hex ? Hex(t.Program) : t.Program;
    if (output.empty()) {
        std::fwrite(out.data(), 1, out.size(), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    std::string error;
    if (!WriteFileAtomically(output, out, &error)) {
        std::fprintf(stderr, "zor translate: %s\n", error.c_str());
        return 1;
    }
    return 0;
}

const TSubcommand Translate("translate", "translate DOC.zor [-o FILE] [--hex]", RunTranslate);

} // namespace
} // namespace zor::tool
