// zor send: sends a display program to the panel (or to several at once), the way the editor's
// Send command does.
#include "commands/SendCheck.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Output.h"
#include "tools/zor/ProgramInput.h"
#include "tools/zor/Subcommand.h"
#include "tools/zor/Transfers.h"

#include <cstdio>
#include <memory>

namespace zor::tool {

namespace {

struct TSendArgs
{
    std::string Document;
    std::string ProgramFile;
    bool AllowEmpty = false;
    TCommOptions Comm;
};

// The characters the editor's Send asks about, one line each in the form of a compiler's
// diagnostics; the program goes all the same, with '?' for each.
void ListUnshowable(const std::string &path, const doc::Document &document)
{
    constexpr std::size_t Listed = 20;
    const TUnshowableReport report = FindUnshowable(document, Listed);
    for (const TUnshowable &u : report.First)
        Print(stderr, "%s:%d:%d: U+%04X cannot be shown, sent as ?\n", path.c_str(), u.Line,
              u.Column, static_cast<unsigned>(u.Character));
    if (report.Count > report.First.size())
        Print(stderr, "%s: %zu more characters cannot be shown, sent as ?\n", path.c_str(),
              report.Count - report.First.size());
}

int RunSend(const TSendArgs &a)
{
    if (a.Document.empty() == a.ProgramFile.empty())
        return Fail("send", "give either one document or --program FILE", UsageStatus);
    std::string text;
    doc::Document document;
    const int status = a.Document.empty()
                           ? ReadProgramFile("send", a.ProgramFile, &text)
                           : TranslateDocumentFile("send", a.Document, &text, &document);
    if (status != 0)
        return status;
    if (!a.AllowEmpty && IsEmptyProgram(text))
        return Fail("send",
                    (a.Document.empty() ? a.ProgramFile : a.Document) +
                        " shows nothing: sending it would clear the panel. Nothing was sent; "
                        "give --allow-empty to clear the panel",
                    UsageStatus);
    if (!a.Document.empty())
        ListUnshowable(a.Document, document);

    TCommArgs comm;
    if (const int refused = ResolveCommArgs("send", a.Comm, &comm))
        return refused;
    return RunTransfers("send", comm.Targets, TPanelJob::Program(text), comm.Mqtt);
}

const TSubcommand SendRegistration(
    "send", "Send a document (or a translated program) to the panel, or to several at once",
    [](CLI::App &app) -> TSubcommand::Run {
        auto a = std::make_shared<TSendArgs>();
        auto *document = app.add_option("document", a->Document, "The document (RTF or plain text)")
                             ->type_name("DOC.zor");
        app.add_option("--program", a->ProgramFile, "Send this program text as it is")
            ->type_name("FILE")
            ->excludes(document);
        app.add_flag("--allow-empty", a->AllowEmpty,
                     "Send a program that shows nothing, which clears the panel");
        AddCommOptions(app, a->Comm, true);
        return [a] { return RunSend(*a); };
    });

} // namespace

} // namespace zor::tool
