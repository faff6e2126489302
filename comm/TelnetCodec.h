// The Telnet side of an rfc2217:// link (RFC 854, 855 and the COM-PORT-OPTION of RFC 2217), as
// pure logic: bytes from the server go in, and the panel's data bytes, the answers the server's
// option requests call for and what the server says about the line come out. No socket and no
// clock: the caller (TNetPort, comm/NetPort.h) moves the bytes and times the waits.
//
// The link asks for eight-bit data both ways, no go-aheads and the COM-PORT-OPTION, and refuses
// every other option either side offers (an echo would send the frames back as replies). Options
// are answered only when their state changes, so that two sides never answer each other's
// answers for ever. A command split anywhere across two calls of Decode reads as if it had come
// in one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zor {

// What the server said that the link waits for.
struct TTelnetEvent
{
    enum TKind {
        ComPortAgreed,   // DO COM-PORT-OPTION: the line settings may be sent
        ComPortDeclined, // DONT COM-PORT-OPTION: the server will not set the line
        LineSet,         // the server's answer to one line setting, with the value it set
    } Kind = ComPortAgreed;
    std::uint8_t Setting = 0; // LineSet: TTelnetCodec::SetBaudRate .. SetStopSize
    std::int64_t Value = 0;   // LineSet: the baud rate (0 to 2^32 - 1) or the setting's byte

    bool operator==(const TTelnetEvent &) const = default;
};

class TTelnetCodec
{
public:
    // Telnet commands and the options the link uses.
    static constexpr std::uint8_t Iac = 255, Dont = 254, Do = 253, Wont = 252, Will = 251, Sb = 250,
                                  Se = 240;
    static constexpr std::uint8_t OptBinary = 0, OptSuppressGoAhead = 3, OptComPort = 44;
    // COM-PORT-OPTION commands; the server answers each with the command plus ServerOffset.
    static constexpr std::uint8_t SetBaudRate = 1, SetDataSize = 2, SetParity = 3, SetStopSize = 4;
    static constexpr std::uint8_t ServerOffset = 100;
    static constexpr std::uint8_t DataSize8 = 8, ParityNone = 1, StopBitsOne = 1;
    // A subnegotiation's bytes kept at most (the option byte included); the rest is dropped, as
    // none the link reads is longer.
    static constexpr std::size_t SubLimit = 64;

    // Forgets what was agreed and what was being read, and appends to toServer the link's own
    // requests, which count as asked from then on.
    void Start(std::vector<std::uint8_t> *toServer);

    // Takes in count bytes from the server: the data among them (0xFF undoubled) is appended to
    // data and the answers to the server's requests to toServer; returns the events, in order.
    // Any byte sequence is accepted; a subnegotiation that ends without IAC SE is dropped whole.
    // Over the whole stream the answers are never more bytes than came in.
    std::vector<TTelnetEvent> Decode(const std::uint8_t *bytes, std::size_t count,
                                     std::vector<std::uint8_t> *data,
                                     std::vector<std::uint8_t> *toServer);

    // Appends one data byte for the server, 0xFF doubled.
    static void Escape(std::uint8_t byte, std::vector<std::uint8_t> *toServer);

    // Appends the four requests that set the line to baud (above 0), 8 data bits, no parity and
    // one stop bit.
    static void RequestLine(std::int32_t baud, std::vector<std::uint8_t> *toServer);

private:
    void Negotiate(std::uint8_t command, std::uint8_t option, std::vector<std::uint8_t> *toServer,
                   std::vector<TTelnetEvent> *events);
    void SubNegotiation(std::vector<TTelnetEvent> *events) const;

    enum class TState { Data, Iac, Option, Sub, SubIac } State = TState::Data;
    std::uint8_t Command = 0;
    std::vector<std::uint8_t> Sub;
    bool Ours[256] = {};   // options we do (WILL agreed or asked)
    bool Theirs[256] = {}; // options the server does (DO agreed or asked)
};

} // namespace zor
