// The editor's side of the exchange fed with arbitrary replies: input is a text length byte,
// then chunks of [length][bytes], one chunk answering each frame.
#include "comm/Results.h"
#include "comm/Serial.h"
#include "tests/support/FakeSerialPort.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size < 1)
        return 0;
    const std::string text(static_cast<std::size_t>(data[0]) * 4, 'x');
    auto port = std::make_unique<zor::TFakeSerialPort>();
    zor::TFakeSerialPort *fake = port.get();
    for (std::size_t i = 1; i < size;) {
        const std::size_t n = std::min<std::size_t>(data[i], size - i - 1);
        fake->Replies.emplace_back(data + i + 1, data + i + 1 + n);
        i += 1 + n;
    }
    zor::TSerial serial(std::move(port), zor::TPortDevices::Single("/dev/fuzz"));
    const int result = serial.SendProgram(text, 1, 1, 1, 9600);

    const std::size_t blocks = text.size() / 64 + 1;
    const bool known = result == zor::ResultOk || result == zor::ResultTimeout ||
                       result == zor::ResultNoMemory || result == zor::ResultProgramDisabled;
    if (!known || fake->IsOpen() || fake->Frames.size() > 3 * (blocks + 2))
        std::abort();
    return 0;
}
