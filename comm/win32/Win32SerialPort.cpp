#include "comm/win32/Win32SerialPort.h"

#include <setupapi.h>

#include <algorithm>
#include <cwctype>
#include <map>
#include <set>
#include <vector>

namespace zor {

namespace {

constexpr std::string_view DevicePrefix = R"(\\.\)";

std::wstring Widen(const std::string &text)
{
    if (text.empty())
        return {};
    const int size =
        ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(size, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                          size);
    return wide;
}

std::string Narrow(const std::wstring &wide)
{
    if (wide.empty())
        return {};
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<std::size_t>(std::max(size, 0)), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), size,
                          nullptr, nullptr);
    return text;
}

// The name the operator knows a port by: COM5 rather than \\.\COM5.
std::string ShownName(const std::string &path)
{
    return path.starts_with(DevicePrefix) ? path.substr(DevicePrefix.size()) : path;
}

DWORD Milliseconds(int ms)
{
    return ms > 0 ? static_cast<DWORD>(ms) : 0;
}

// The port number of a name COMn (any case), 0 for any other name.
int ComNumber(const std::wstring &name)
{
    if (name.size() < 4 || std::towupper(name[0]) != L'C' || std::towupper(name[1]) != L'O' ||
        std::towupper(name[2]) != L'M')
        return 0;
    int n = 0;
    for (std::size_t i = 3; i < name.size(); ++i) {
        if (name[i] < L'0' || name[i] > L'9' || n > 100000)
            return 0;
        n = n * 10 + (name[i] - L'0');
    }
    return n;
}

bool SameTimeouts(const COMMTIMEOUTS &a, const COMMTIMEOUTS &b)
{
    return a.ReadIntervalTimeout == b.ReadIntervalTimeout &&
           a.ReadTotalTimeoutMultiplier == b.ReadTotalTimeoutMultiplier &&
           a.ReadTotalTimeoutConstant == b.ReadTotalTimeoutConstant &&
           a.WriteTotalTimeoutMultiplier == b.WriteTotalTimeoutMultiplier &&
           a.WriteTotalTimeoutConstant == b.WriteTotalTimeoutConstant;
}

// The write time-outs as set, and read ones for a read bounded as given. With all three read
// values zero a Win32 read would wait for the whole count without end; the other ports return
// at once with what has arrived, and so does this one then.
COMMTIMEOUTS ToCommTimeouts(const TPortTimeouts &t, int interval, int perByte, int constant)
{
    COMMTIMEOUTS c{};
    c.ReadIntervalTimeout = Milliseconds(interval);
    c.ReadTotalTimeoutMultiplier = Milliseconds(perByte);
    c.ReadTotalTimeoutConstant = Milliseconds(constant);
    if (c.ReadIntervalTimeout == 0 && c.ReadTotalTimeoutMultiplier == 0 &&
        c.ReadTotalTimeoutConstant == 0)
        c.ReadIntervalTimeout = MAXDWORD;
    c.WriteTotalTimeoutMultiplier = Milliseconds(t.WritePerByte);
    c.WriteTotalTimeoutConstant = Milliseconds(t.WriteConstant);
    return c;
}

} // namespace

std::string Win32ErrorText(DWORD error)
{
    wchar_t *buffer = nullptr;
    const DWORD length = ::FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t *>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer ? std::wstring(buffer, length) : std::wstring();
    if (buffer)
        ::LocalFree(buffer);
    for (wchar_t &c : text)
        if (c == L'\r' || c == L'\n')
            c = L' ';
    while (!text.empty() && (text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return text.empty() ? "error " + std::to_string(error) : Narrow(text);
}

std::string DescribeWin32OpenError(const std::string &device, DWORD error)
{
    const std::string name = ShownName(device);
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_DEV_NOT_EXIST:
        return "The port " + name + " does not exist.";
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return "The port " + name + " is in use by another program.";
    case ERROR_ACCESS_DENIED:
        // Also what opening a folder gives, which no port is.
        if (const DWORD attributes = ::GetFileAttributesW(Widen(device).c_str());
            attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            return name + " is a folder, not a serial port.";
        // What Windows answers both for a port another program holds and for one this user may
        // not open; the first is by far the more common.
        return "The port " + name +
               " is in use by another program, or this user may not open it (access denied).";
    default:
        return "Cannot open " + name + ": " + Win32ErrorText(error) + ".";
    }
}

TWin32SerialPort::~TWin32SerialPort()
{
    Close();
}

bool TWin32SerialPort::Open(const std::string &device)
{
    if (IsOpen())
        return false;
    Problem.clear();
    Lost.clear();
    const std::string path = NormalizeDevicePath(device);
    Name = ShownName(path);
    if (path.empty()) {
        Problem = "No serial port is named.";
        return false;
    }
    // Not shared, existing only, synchronous.
    const HANDLE handle = ::CreateFileW(Widen(path).c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Problem = DescribeWin32OpenError(path, ::GetLastError());
        return false;
    }
    DCB before{};
    before.DCBlength = sizeof before;
    if (!::GetCommState(handle, &before)) {
        ::CloseHandle(handle);
        Problem = Name + " is not a serial device.";
        return false;
    }
    Before = before;
    BeforeKnown = true;
    TimeoutsBeforeKnown = ::GetCommTimeouts(handle, &TimeoutsBefore) != 0;
    AppliedKnown = false;
    Timeouts = {};
    Handle = handle;
    return true;
}

bool TWin32SerialPort::SetLine(std::int32_t baud)
{
    if (!IsOpen() || baud <= 0)
        return false;
    DCB dcb{};
    dcb.DCBlength = sizeof dcb;
    if (!::GetCommState(Handle, &dcb))
        return false;
    // Flow control, the modem lines and the special characters stay as the port has them.
    dcb.BaudRate = static_cast<DWORD>(baud);
    dcb.ByteSize = 8;
    dcb.Parity = NOPARITY;
    dcb.fParity = FALSE;
    dcb.StopBits = ONESTOPBIT;
    dcb.fBinary = TRUE;
    return ::SetCommState(Handle, &dcb) != 0;
}

bool TWin32SerialPort::Apply(const COMMTIMEOUTS &timeouts)
{
    if (AppliedKnown && SameTimeouts(Applied, timeouts))
        return true;
    COMMTIMEOUTS copy = timeouts;
    if (!::SetCommTimeouts(Handle, &copy)) {
        AppliedKnown = false;
        return false;
    }
    Applied = timeouts;
    AppliedKnown = true;
    return true;
}

bool TWin32SerialPort::SetTimeouts(const TPortTimeouts &timeouts)
{
    if (!IsOpen())
        return false;
    Timeouts = timeouts;
    return Apply(ToCommTimeouts(timeouts, timeouts.ReadInterval, timeouts.ReadPerByte,
                                timeouts.ReadConstant));
}

void TWin32SerialPort::MarkLost(DWORD error)
{
    switch (error) {
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_ACCESS_DENIED:
    case ERROR_INVALID_HANDLE:
    case ERROR_FILE_NOT_FOUND:
        // What a USB adapter pulled out mid-transfer gives.
        Lost = "The port " + Name + " went away";
        break;
    default:
        Lost = "The port " + Name + " failed (" + Win32ErrorText(error) + ")";
    }
}

void TWin32SerialPort::Write(std::uint8_t byte)
{
    if (!IsOpen())
        return;
    DWORD written = 0;
    if (!::WriteFile(Handle, &byte, 1, &written, nullptr)) {
        MarkLost(::GetLastError());
        return;
    }
    if (written != 1) {
        // Given up after the write time-out: the byte must not go out later, in the middle of
        // the next frame.
        ::PurgeComm(Handle, PURGE_TXABORT | PURGE_TXCLEAR);
    }
}

bool TWin32SerialPort::PurgeReceive()
{
    if (!IsOpen())
        return false;
    if (!::PurgeComm(Handle, PURGE_RXCLEAR)) {
        MarkLost(::GetLastError());
        return false;
    }
    return true;
}

bool TWin32SerialPort::ReadAll(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    DWORD read = 0;
    const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, MAXDWORD));
    if (!::ReadFile(Handle, buffer, want, &read, nullptr)) {
        MarkLost(::GetLastError());
        return false;
    }
    *received = read;
    return true;
}

bool TWin32SerialPort::Read(std::uint8_t *buffer, std::size_t count, std::size_t *received)
{
    *received = 0;
    if (!IsOpen())
        return false;
    if (!Apply(ToCommTimeouts(Timeouts, Timeouts.ReadInterval, Timeouts.ReadPerByte,
                              Timeouts.ReadConstant))) {
        MarkLost(::GetLastError());
        return false;
    }
    return ReadAll(buffer, count, received);
}

bool TWin32SerialPort::ReadWithin(std::uint8_t *buffer, std::size_t count, std::size_t *received,
                                  int timeoutMs)
{
    *received = 0;
    if (!IsOpen())
        return false;
    if (!Apply(ToCommTimeouts(Timeouts, 0, 0, timeoutMs))) {
        MarkLost(::GetLastError());
        return false;
    }
    return ReadAll(buffer, count, received);
}

bool TWin32SerialPort::Flush()
{
    return IsOpen() && ::FlushFileBuffers(Handle) != 0;
}

bool TWin32SerialPort::Close()
{
    if (!IsOpen())
        return false;
    ::PurgeComm(Handle, PURGE_TXABORT | PURGE_TXCLEAR);
    if (BeforeKnown)
        ::SetCommState(Handle, &Before);
    if (TimeoutsBeforeKnown)
        ::SetCommTimeouts(Handle, &TimeoutsBefore);
    const bool closed = ::CloseHandle(Handle) != 0;
    Handle = INVALID_HANDLE_VALUE;
    BeforeKnown = TimeoutsBeforeKnown = AppliedKnown = false;
    return closed;
}

namespace {

struct TPortNames
{
    std::wstring Friendly;     // as Device Manager shows it: "USB Serial Port (COM5)"
    std::wstring Manufacturer; // the driver's maker
};

// What the ports class of Device Manager says of each port present, by port number; nothing for
// ports that no driver registered there (virtual ports, Wine's).
std::map<int, TPortNames> PortNamesByNumber()
{
    // GUID_DEVCLASS_PORTS, spelled out: devguid.h defines it only with initguid.h in front.
    static const GUID portsClass = {
        0x4d36e978, 0xe325, 0x11ce, {0xbf, 0xc1, 0x08, 0x00, 0x2b, 0xe1, 0x03, 0x18}};
    std::map<int, TPortNames> names;
    const HDEVINFO set = ::SetupDiGetClassDevsW(&portsClass, nullptr, nullptr, DIGCF_PRESENT);
    if (set == INVALID_HANDLE_VALUE)
        return names;
    SP_DEVINFO_DATA device{};
    device.cbSize = sizeof device;
    const auto property = [&](DWORD which) {
        wchar_t text[256] = {};
        DWORD type = 0;
        // One character short of the buffer, so that the text always ends.
        if (!::SetupDiGetDeviceRegistryPropertyW(set, &device, which, &type,
                                                 reinterpret_cast<BYTE *>(text),
                                                 sizeof text - sizeof(wchar_t), nullptr) ||
            type != REG_SZ)
            return std::wstring();
        return std::wstring(text);
    };
    for (DWORD i = 0; ::SetupDiEnumDeviceInfo(set, i, &device); ++i) {
        const HKEY key =
            ::SetupDiOpenDevRegKey(set, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key == INVALID_HANDLE_VALUE)
            continue;
        wchar_t port[64] = {};
        DWORD size = sizeof port - sizeof(wchar_t);
        DWORD type = 0;
        const LONG status = ::RegQueryValueExW(key, L"PortName", nullptr, &type,
                                               reinterpret_cast<BYTE *>(port), &size);
        ::RegCloseKey(key);
        if (status != ERROR_SUCCESS || type != REG_SZ)
            continue;
        if (const int n = ComNumber(port))
            names[n] = {property(SPDRP_FRIENDLYNAME), property(SPDRP_MFG)};
    }
    ::SetupDiDestroyDeviceInfoList(set);
    return names;
}

} // namespace

std::vector<TPortInfo> TWin32PortEnumerator::Ports() const
{
    std::set<std::pair<int, std::wstring>> found; // (number, name), in number order
    HKEY key = nullptr;
    if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"HARDWARE\\DEVICEMAP\\SERIALCOMM", 0, KEY_READ,
                        &key) == ERROR_SUCCESS) {
        for (DWORD i = 0;; ++i) {
            wchar_t value[256];
            DWORD valueLength = 256;
            wchar_t data[64];
            DWORD dataSize = sizeof data;
            DWORD type = 0;
            const LONG status = ::RegEnumValueW(key, i, value, &valueLength, nullptr, &type,
                                                reinterpret_cast<BYTE *>(data), &dataSize);
            if (status == ERROR_NO_MORE_ITEMS)
                break;
            if (status != ERROR_SUCCESS || type != REG_SZ)
                continue;
            std::wstring name(data, dataSize / sizeof(wchar_t));
            while (!name.empty() && name.back() == L'\0')
                name.pop_back();
            if (const int n = ComNumber(name))
                found.emplace(n, L"COM" + std::to_wstring(n));
        }
        ::RegCloseKey(key);
    }
    // Ports made by drivers that do not register there (and Wine's) are in the DOS device table.
    std::vector<wchar_t> names(16384);
    for (;;) {
        const DWORD length =
            ::QueryDosDeviceW(nullptr, names.data(), static_cast<DWORD>(names.size()));
        if (length > 0) {
            names.resize(length);
            break;
        }
        if (::GetLastError() != ERROR_INSUFFICIENT_BUFFER || names.size() > (1u << 22)) {
            names.clear();
            break;
        }
        names.resize(names.size() * 2);
    }
    for (std::size_t i = 0; i < names.size() && names[i] != L'\0';) {
        const std::wstring name(names.data() + i);
        if (const int n = ComNumber(name))
            found.emplace(n, L"COM" + std::to_wstring(n));
        i += name.size() + 1;
    }
    const std::map<int, TPortNames> known = PortNamesByNumber();
    std::vector<TPortInfo> ports;
    for (const auto &[number, name] : found) {
        TPortInfo port;
        port.Device = Narrow(name);
        if (const auto names = known.find(number); names != known.end()) {
            port.Description = Narrow(names->second.Friendly);
            port.Manufacturer = Narrow(names->second.Manufacturer);
        }
        ports.push_back(std::move(port));
    }
    return ports;
}

} // namespace zor
