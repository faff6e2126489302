// The Test button of the Panels page: opens a panel's device as a transfer would (for a device
// server: connects, and for RFC 2217 has the line set) and closes it again, without sending a
// frame, and says in one sentence what it found; for a gateway's panel (mqtt://, mqtts://), asks
// its broker whether the gateway is online. Plain C++, no Qt.
#pragma once

#include "comm/MqttSend.h"
#include "comm/SerialPort.h"
#include "comm/TransferStop.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>

namespace zor {

struct TDeviceTestResult
{
    bool Ok = false;
    // "Opened /dev/ttyUSB0 at 9600 baud", "Connected to 10.0.0.21:4001, line set to 9600 baud
    // 8N1", or why the device could not be opened, connected to or set up. For a gateway's panel
    // "gateway online", "gateway offline", "no gateway has announced itself for this panel at its
    // broker" (marked for the editor's catalogue, context "DeviceTest"), or why its broker could
    // not be asked.
    TMessage Sentence;
};

// How long the test of a gateway's panel waits for its broker, connection included.
inline constexpr int GatewayTestSeconds = 3;

// Tests device (as typed; a bare name is a node in /dev) at baud through port, which must be
// closed and is closed again afterwards. Returns within the port's own bounds (a name lookup, a
// connection and the line settings wait at most 3 s each, and give up early once stop is
// requested; stop may be null). Run it off the window's thread: a local port's open may take a
// moment, a device server's seconds.
// A gateway's panel is asked of its broker with mqtt (its password and CA), within
// GatewayTestSeconds; port is left alone.
TDeviceTestResult TestDevice(TSerialPort &port, const std::string &device, std::int32_t baud,
                             const TTransferStop *stop = nullptr,
                             const TMqttSendOptions &mqtt = {});

// One device test on a thread of its own, so that a window stays live while a device server
// takes seconds to answer.
class TDeviceTestRun
{
public:
    // Called once on the test's thread with what the test found, also after a stop.
    using TDone = std::function<void(const TDeviceTestResult &result)>;

    // Starts TestDevice(*port, device, baud) (with mqtt for a gateway's panel). The port goes with
    // the run and is released on its thread before done is called (a Qt port belongs to the thread
    // that opened it).
    TDeviceTestRun(std::unique_ptr<TSerialPort> port, std::string device, std::int32_t baud,
                   TDone done, TMqttSendOptions mqtt = {});
    // Stops the test and waits for its thread.
    ~TDeviceTestRun();
    TDeviceTestRun(const TDeviceTestRun &) = delete;
    TDeviceTestRun &operator=(const TDeviceTestRun &) = delete;

    // Asks the test to give up within the port's bounds; does not wait. done is still called.
    void RequestStop();

private:
    std::jthread Worker;
};

} // namespace zor
