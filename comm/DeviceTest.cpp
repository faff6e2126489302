#include "comm/DeviceTest.h"

#include "base/TranslateNoop.h"

#include "comm/MqttAddress.h"
#include "comm/NetPort.h"
#include "comm/PortList.h"

#include <stop_token>

namespace zor {

namespace {

TDeviceTestResult TestGateway(const std::string &device, const TMqttSendOptions &mqtt,
                              const TTransferStop *stop)
{
    const TGatewayProbe probe = ProbeGateway(device, mqtt, GatewayTestSeconds, stop);
    switch (probe.Status) {
    case TGatewayStatus::Online:
        return {true,
                TMessage::Tr("DeviceTest", ZOR_TRANSLATE_NOOP("DeviceTest", "gateway online"))};
    case TGatewayStatus::Offline:
        return {false,
                TMessage::Tr("DeviceTest", ZOR_TRANSLATE_NOOP("DeviceTest", "gateway offline"))};
    case TGatewayStatus::Unannounced:
        return {false, TMessage::Tr("DeviceTest",
                                    ZOR_TRANSLATE_NOOP("DeviceTest", "no gateway has announced "
                                                                     "itself for this panel at its "
                                                                     "broker"))};
    case TGatewayStatus::Unknown:
        break;
    }
    if (probe.Problem.empty())
        return {false,
                TMessage::Tr("DeviceTest", ZOR_TRANSLATE_NOOP("DeviceTest", "Test stopped."))};
    std::string sentence = probe.Problem + ".";
    if (sentence[0] >= 'a' && sentence[0] <= 'z')
        sentence[0] = static_cast<char>(sentence[0] - 'a' + 'A');
    return {false, sentence};
}

} // namespace

TDeviceTestResult TestDevice(TSerialPort &port, const std::string &device, std::int32_t baud,
                             const TTransferStop *stop, const TMqttSendOptions &mqtt)
{
    const auto say = [](const char *format, std::vector<TMessage> args = {}) {
        return TMessage::Tr("DeviceTest", format, std::move(args));
    };
    const std::string path = NormalizeDevicePath(device);
    if (path.empty())
        return {false, say(ZOR_TRANSLATE_NOOP("DeviceTest", "No device given."))};
    const TMessage stopped = say(ZOR_TRANSLATE_NOOP("DeviceTest", "Test stopped."));
    if (stop && stop->Requested())
        return {false, stopped};
    if (IsMqttDevice(path))
        return TestGateway(path, mqtt, stop);
    port.WatchStop(stop);
    if (!port.Open(path)) {
        if (stop && stop->Requested())
            return {false, stopped};
        const TMessage why = port.OpenProblem();
        return {false, why.empty()
                           ? say(ZOR_TRANSLATE_NOOP("DeviceTest", "Cannot open %1."), {path})
                           : why};
    }
    TNetAddress address;
    const bool network = ParseNetworkDevice(path, &address);
    const std::string server =
        (address.Host.find(':') != std::string::npos ? "[" + address.Host + "]" : address.Host) +
        ":" + address.Port;
    const std::string rate = std::to_string(baud);
    TDeviceTestResult result;
    if (!port.SetLine(baud)) {
        const TMessage why = port.OpenProblem();
        result = {false, !why.empty() ? why
                                      : say(ZOR_TRANSLATE_NOOP("DeviceTest",
                                                               "Opened %1, but it does not take %2 "
                                                               "baud 8N1."),
                                            {path, rate})};
    } else if (!network) {
        result = {true,
                  say(ZOR_TRANSLATE_NOOP("DeviceTest", "Opened %1 at %2 baud."), {path, rate})};
    } else if (address.Scheme == TNetScheme::Raw) {
        result = {true, say(ZOR_TRANSLATE_NOOP("DeviceTest", "Connected to %1 (raw TCP: the "
                                                             "server's own line settings apply)."),
                            {server})};
    } else {
        result = {true,
                  say(ZOR_TRANSLATE_NOOP("DeviceTest", "Connected to %1, line set to %2 baud 8N1."),
                      {server, rate})};
    }
    port.Close();
    return result;
}

TDeviceTestRun::TDeviceTestRun(std::unique_ptr<TSerialPort> port, std::string device,
                               std::int32_t baud, TDone done, TMqttSendOptions mqtt)
    : Worker([port = std::move(port), device = std::move(device), baud, done = std::move(done),
              mqtt = std::move(mqtt)](std::stop_token token) mutable {
          TTransferStop stop;
          const std::stop_callback relay(token, [&stop] { stop.Request(TStopReason::Cancelled); });
          const TDeviceTestResult result = TestDevice(*port, device, baud, &stop, mqtt);
          port.reset();
          if (done)
              done(result);
      })
{
}

TDeviceTestRun::~TDeviceTestRun()
{
    Worker.request_stop();
    Worker.join();
}

void TDeviceTestRun::RequestStop()
{
    Worker.request_stop();
}

} // namespace zor
