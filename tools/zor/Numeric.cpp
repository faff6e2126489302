// zor numeric: sends the two counters to the panel, the way the Numeric fields command does.
#include "comm/NumericMessage.h"
#include "comm/QtSerialPort.h"
#include "comm/Serial.h"
#include "tools/zor/CommArgs.h"
#include "tools/zor/Interrupt.h"
#include "tools/zor/Subcommand.h"

#include <QCoreApplication>

namespace zor::tool {

namespace {

int RunNumeric(const std::vector<std::string> &args)
{
    TCommArgs comm;
    if (!ParseCommArgs("numeric", args, false, &comm))
        return 2;
    if (comm.Positional.size() != 2) {
        std::fprintf(stderr, "zor numeric: give the accident-free days and the accidents\n");
        return 2;
    }
    std::uint8_t message[8] = {};
    if (comm.Positional[0].size() > 3 || comm.Positional[1].size() > 2 ||
        !BuildMessage(comm.Positional[0], comm.Positional[1], message)) {
        std::fprintf(stderr, "Only numeric value\n");
        return 2;
    }

    int argc = 1;
    char name[] = "zor";
    char *argv[] = {name, nullptr};
    QCoreApplication app(argc, argv);
    TSerial serial(CreateSerialPort(), comm.Devices);
    TTransferStop stop;
    serial.Stop = &stop;
    const TInterruptGuard interrupt(stop);
    const int code = serial.SendNumeric(message, comm.Settings.Port, comm.Settings.Baud);
    return ReportTransfer("numeric", serial, code);
}

const TSubcommand
    Registration("numeric",
                 "numeric DAYS ACCIDENTS [--port N | --device PATH] [--baud B] [--settings FILE]",
                 RunNumeric);

} // namespace

} // namespace zor::tool
