// The port factory of a build that has no serial port of its own yet: every open fails with a
// reason, and no port is listed. Stands in for the Win32 port until comm/Win32*.cpp exist.
#include "comm/PortFactory.h"

namespace zor {

namespace {

class TNoSerialPort final : public TSerialPort
{
public:
    bool Open(const std::string &device) override
    {
        Problem = device + ": this build has no serial port";
        return false;
    }
    std::string OpenProblem() const override { return Problem; }
    bool IsOpen() const override { return false; }
    bool SetLine(std::int32_t) override { return false; }
    bool SetTimeouts(const TPortTimeouts &) override { return false; }
    void Write(std::uint8_t) override {}
    bool PurgeReceive() override { return false; }
    bool Read(std::uint8_t *, std::size_t, std::size_t *received) override
    {
        *received = 0;
        return false;
    }
    bool ReadWithin(std::uint8_t *, std::size_t, std::size_t *received, int) override
    {
        *received = 0;
        return false;
    }
    bool Flush() override { return false; }
    bool Close() override { return true; }

private:
    std::string Problem;
};

class TNoPorts final : public TPortEnumerator
{
public:
    std::vector<TPortInfo> Ports() const override { return {}; }
};

} // namespace

std::unique_ptr<TSerialPort> CreateSerialPort()
{
    return std::make_unique<TNoSerialPort>();
}

std::unique_ptr<TPortEnumerator> CreatePortEnumerator()
{
    return std::make_unique<TNoPorts>();
}

struct TPortRuntime::TImpl
{
};

TPortRuntime::TPortRuntime() = default;
TPortRuntime::~TPortRuntime() = default;

} // namespace zor
