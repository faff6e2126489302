// zor send: sends a display program to the panel, the way the editor's Send command does.
#include "comm/QtSerialPort.h"
#include "comm/Serial.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Input.h"
#include "tools/zor/Interrupt.h"
#include "tools/zor/Subcommand.h"

#include <QCoreApplication>

#include <memory>

namespace zor::tool {

namespace {

struct TSendArgs
{
    std::string Document;
    std::string ProgramFile;
    TCommOptions Comm;
};

int RunSend(const TSendArgs &a)
{
    if (a.Document.empty() == a.ProgramFile.empty())
        return Fail("send", "give either one document or --program FILE", UsageStatus);
    std::string text;
    const int status = a.Document.empty() ? ReadProgramFile("send", a.ProgramFile, &text)
                                          : TranslateDocumentFile("send", a.Document, &text);
    if (status != 0)
        return status;

    const TCommArgs comm = ResolveCommArgs(a.Comm);
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

const TSubcommand SendRegistration("send", "Send a document (or a translated program) to the panel",
                                   [](CLI::App &app) -> TSubcommand::Run {
                                       auto a = std::make_shared<TSendArgs>();
                                       auto *document =
                                           app.add_option("document", a->Document,
                                                          "The document (RTF or plain text)")
                                               ->type_name("DOC.zor");
                                       app.add_option("--program", a->ProgramFile,
                                                      "Send this program text as it is")
                                           ->type_name("FILE")
                                           ->excludes(document);
                                       AddCommOptions(app, a->Comm, true);
                                       return [a] { return RunSend(*a); };
                                   });

} // namespace

} // namespace zor::tool
