// The choice between a network port and the platform's own, apart from both so that every build
// has it.
#include "comm/DevicePort.h"

#include "comm/NetPort.h"

namespace zor {

bool TDevicePort::Open(const std::string &device)
{
    if (IsOpen())
        return false;
    const bool net = IsNetworkDevice(device);
    if (!net)
        Chosen = Local();
    else if (!Chosen || !ChosenNet)
        Chosen = std::make_unique<TNetPort>();
    ChosenNet = net;
    Chosen->WatchStop(Stop);
    return Chosen->Open(device);
}

TMessage TDevicePort::OpenProblem() const
{
    return Chosen ? Chosen->OpenProblem() : TMessage();
}

void TDevicePort::WatchStop(const TTransferStop *stop)
{
    Stop = stop;
    if (Chosen)
        Chosen->WatchStop(stop);
}

TMessage TDevicePort::LostProblem() const
{
    return Chosen ? Chosen->LostProblem() : TMessage();
}

bool TDevicePort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    *received = 0;
    return Chosen && Chosen->Read(buffer, count, received);
}

bool TDevicePort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                             int timeoutMs)
{
    *received = 0;
    return Chosen && Chosen->ReadWithin(buffer, count, received, timeoutMs);
}

} // namespace zor
