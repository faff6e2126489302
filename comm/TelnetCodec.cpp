#include "comm/TelnetCodec.h"

#include <algorithm>

namespace zor {

void TTelnetCodec::Start(std::vector<std::uint8_t> *toServer)
{
    State = TState::Data;
    Command = 0;
    Sub.clear();
    std::fill(std::begin(Ours), std::end(Ours), false);
    std::fill(std::begin(Theirs), std::end(Theirs), false);
    toServer->insert(toServer->end(),
                     {Iac, Will, OptBinary, Iac, Do, OptBinary, Iac, Will, OptSuppressGoAhead, Iac,
                      Do, OptSuppressGoAhead, Iac, Will, OptComPort});
    Ours[OptBinary] = Ours[OptSuppressGoAhead] = Ours[OptComPort] = true;
    Theirs[OptBinary] = Theirs[OptSuppressGoAhead] = true;
}

std::vector<TTelnetEvent> TTelnetCodec::Decode(const std::uint8_t *bytes, std::size_t count,
                                               std::vector<std::uint8_t> *data,
                                               std::vector<std::uint8_t> *toServer)
{
    std::vector<TTelnetEvent> events;
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i];
        switch (State) {
        case TState::Data:
            if (b == Iac)
                State = TState::Iac;
            else
                data->push_back(b);
            break;
        case TState::Iac:
            if (b == Iac) {
                data->push_back(Iac);
                State = TState::Data;
            } else if (b >= Will && b <= Dont) {
                Command = b;
                State = TState::Option;
            } else if (b == Sb) {
                Sub.clear();
                State = TState::Sub;
            } else {
                State = TState::Data; // NOP, GA, break and the like carry nothing for us
            }
            break;
        case TState::Option:
            Negotiate(Command, b, toServer, &events);
            State = TState::Data;
            break;
        case TState::Sub:
            if (b == Iac)
                State = TState::SubIac;
            else if (Sub.size() < SubLimit)
                Sub.push_back(b);
            break;
        case TState::SubIac:
            if (b == Iac) {
                if (Sub.size() < SubLimit)
                    Sub.push_back(Iac);
                State = TState::Sub;
            } else {
                if (b == Se)
                    SubNegotiation(&events);
                State = TState::Data;
            }
            break;
        }
    }
    return events;
}

void TTelnetCodec::Negotiate(std::uint8_t command, std::uint8_t option,
                             std::vector<std::uint8_t> *toServer, std::vector<TTelnetEvent> *events)
{
    const bool weDo = option == OptBinary || option == OptSuppressGoAhead || option == OptComPort;
    const bool theyMay = option == OptBinary || option == OptSuppressGoAhead;
    switch (command) {
    case Do:
        if (option == OptComPort)
            events->push_back({TTelnetEvent::ComPortAgreed});
        if (!weDo)
            toServer->insert(toServer->end(), {Iac, Wont, option});
        else if (!Ours[option]) {
            Ours[option] = true;
            toServer->insert(toServer->end(), {Iac, Will, option});
        }
        break;
    case Dont:
        if (option == OptComPort)
            events->push_back({TTelnetEvent::ComPortDeclined});
        if (Ours[option]) {
            Ours[option] = false;
            toServer->insert(toServer->end(), {Iac, Wont, option});
        }
        break;
    case Will:
        if (!theyMay)
            toServer->insert(toServer->end(), {Iac, Dont, option});
        else if (!Theirs[option]) {
            Theirs[option] = true;
            toServer->insert(toServer->end(), {Iac, Do, option});
        }
        break;
    case Wont:
        if (Theirs[option]) {
            Theirs[option] = false;
            toServer->insert(toServer->end(), {Iac, Dont, option});
        }
        break;
    default:
        break;
    }
}

void TTelnetCodec::SubNegotiation(std::vector<TTelnetEvent> *events) const
{
    if (Sub.size() < 3 || Sub[0] != OptComPort || Sub[1] <= ServerOffset)
        return;
    const int command = Sub[1] - ServerOffset;
    if (command == SetBaudRate && Sub.size() >= 6)
        events->push_back({TTelnetEvent::LineSet, SetBaudRate,
                           (std::int64_t{Sub[2]} << 24) | (Sub[3] << 16) | (Sub[4] << 8) | Sub[5]});
    else if (command >= SetDataSize && command <= SetStopSize)
        events->push_back(
            {TTelnetEvent::LineSet, static_cast<std::uint8_t>(command), std::int64_t{Sub[2]}});
    // Line and modem state notices, and the answers to modem-line requests, are not waited for.
}

void TTelnetCodec::Escape(std::uint8_t byte, std::vector<std::uint8_t> *toServer)
{
    toServer->push_back(byte);
    if (byte == Iac)
        toServer->push_back(Iac);
}

void TTelnetCodec::RequestLine(std::int32_t baud, std::vector<std::uint8_t> *toServer)
{
    const auto put = [toServer](std::uint8_t command, std::initializer_list<std::uint8_t> value) {
        toServer->insert(toServer->end(), {Iac, Sb, OptComPort, command});
        for (std::uint8_t b : value)
            Escape(b, toServer);
        toServer->insert(toServer->end(), {Iac, Se});
    };
    const auto u = static_cast<std::uint32_t>(baud);
    put(SetBaudRate, {static_cast<std::uint8_t>(u >> 24), static_cast<std::uint8_t>(u >> 16),
                      static_cast<std::uint8_t>(u >> 8), static_cast<std::uint8_t>(u)});
    put(SetDataSize, {DataSize8});
    put(SetParity, {ParityNone});
    put(SetStopSize, {StopBitsOne});
}

} // namespace zor
