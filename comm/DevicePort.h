// The port every transfer uses: a network port (comm/NetPort.h) for a socket:// or rfc2217://
// name, the platform's own serial port for every other, chosen at each Open.
#pragma once

#include "comm/SerialPort.h"

#include <functional>
#include <memory>
#include <string>

namespace zor {

// A TNetPort for a network device name and a port made by local for every other, chosen at each
// Open. A TNetPort is kept from one Open to the next, so that its kept connection serves the
// next Open of the same device.
class TDevicePort : public TSerialPort
{
public:
    using TLocalFactory = std::function<std::unique_ptr<TSerialPort>()>;
    explicit TDevicePort(TLocalFactory local) : Local(std::move(local)) {}

    bool Open(const std::string &device) override;
    TMessage OpenProblem() const override;
    void WatchStop(const TTransferStop *stop) override;
    TMessage LostProblem() const override;
    bool IsOpen() const override { return Chosen && Chosen->IsOpen(); }
    bool SetLine(std::int32_t baud) override { return Chosen && Chosen->SetLine(baud); }
    bool SetTimeouts(const TPortTimeouts &timeouts) override
    {
        return Chosen && Chosen->SetTimeouts(timeouts);
    }
    void Write(std::uint8_t byte) override
    {
        if (Chosen)
            Chosen->Write(byte);
    }
    bool PurgeReceive() override { return Chosen && Chosen->PurgeReceive(); }
    bool Read(std::uint8_t *buffer, std::size_t count, std::size_t *received) override;
    bool ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                    int timeoutMs) override;
    std::int64_t NowMs() const override { return Chosen ? Chosen->NowMs() : TSerialPort::NowMs(); }
    bool Flush() override { return Chosen && Chosen->Flush(); }
    bool Close() override { return Chosen && Chosen->Close(); }

private:
    TLocalFactory Local;
    std::unique_ptr<TSerialPort> Chosen; // the port of the last Open, kept for its messages
    bool ChosenNet = false;              // and a TNetPort, kept for its connection too
    const TTransferStop *Stop = nullptr;
};

} // namespace zor
