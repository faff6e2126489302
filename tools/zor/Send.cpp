// zor send: sends a display program to the panel, the way the editor's Send command does.
#include "comm/QtSerialPort.h"
#include "comm/Serial.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Interrupt.h"
#include "tools/zor/Subcommand.h"

#include "base/AtomicFile.h"

#include <QCoreApplication>

#if __has_include("commands/DocumentTranslation.h")
#include "commands/DocumentTranslation.h"
#define ZOR_SEND_DOCUMENTS 1
#endif

namespace zor::tool {

namespace {

int RunSend(const std::vector<std::string> &args)
{
    std::vector<std::string> rest;
    std::string programFile;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--program" && i + 1 < args.size())
            programFile = args[++i];
        else
            rest.push_back(args[i]);
    }
    TCommArgs comm;
    if (!ParseCommArgs("send", rest, true, &comm))
        return 2;
    if (programFile.empty() == comm.Positional.empty() || comm.Positional.size() > 1) {
        std::fprintf(stderr, "zor send: give either one document or --program FILE\n");
        return 2;
    }
    std::string text;
    if (!programFile.empty()) {
        if (!ReadWholeFile(programFile, &text)) {
            std::fprintf(stderr, "zor send: cannot read %s\n", programFile.c_str());
            return 2;
        }
    } else {
#ifdef ZOR_SEND_DOCUMENTS
        const std::string &document = comm.Positional.front();
        std::string bytes;
        if (!ReadWholeFile(document, &bytes)) {
            std::fprintf(stderr, "zor send: cannot read %s\n", document.c_str());
            return 2;
        }
        const rtf::ReadResult read = rtf::Read(bytes);
        if (!read.Ok()) {
            std::fprintf(stderr, "zor send: %s: %s\n", document.c_str(), read.Error.c_str());
            return 2;
        }
        const TTranslation translation = TranslateDocument(read.Doc);
        if (translation.TooManySegments())
            return ReportResult(ResultTooManySegments);
        text = translation.Program;
#else
        std::fprintf(stderr,
                     "zor send: sending a document is not supported yet (its translation is "
                     "missing); send a translated program with --program FILE\n");
        return 2;
#endif
    }

    int argc = 1;
    char name[] = "zor";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TSerial serial(CreateSerialPort(), comm.Devices,
                   {comm.Settings.LogToFile, comm.Settings.LogPath});
    TTransferStop stop;
    serial.Stop = &stop;
    const TInterruptGuard interrupt(stop);
    const int code = serial.SendProgram(text, 1, 1, comm.Settings.Port, comm.Settings.Baud);
    return ReportTransfer("send", serial, code);
}

const TSubcommand Registration(
    "send",
    "send (DOC.zor | --program FILE) [--port N | --device PATH] [--baud B] [--log FILE] "
    "[--settings FILE]",
    RunSend);

} // namespace

} // namespace zor::tool
