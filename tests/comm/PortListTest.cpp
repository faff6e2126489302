// The port list behind the Parameters dialog and the port entries it writes.
#include "comm/PortList.h"
#include "base/AtomicFile.h"
#include "comm/Results.h"
#include "comm/Settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace zor {
namespace {

namespace fs = std::filesystem;

class PortFiles : public testing::Test
{
protected:
    PortFiles()
    {
        Dir = fs::temp_directory_path() / ("zor-ports-" + std::to_string(::getpid()));
        fs::create_directories(Dir / "by-id");
    }
    ~PortFiles() override
    {
        std::error_code ec;
        fs::remove_all(Dir, ec);
    }
    std::string Touch(const std::string &name)
    {
        const fs::path p = Dir / name;
        std::ofstream(p) << "";
        return p.string();
    }
    std::string Read(const std::string &path)
    {
        std::string text;
        ReadWholeFile(path, &text);
        return text;
    }
    fs::path Dir;
};

#ifndef _WIN32
// The kernel's by-id links: POSIX only.
TPortInfo Port(const std::string &device)
{
    TPortInfo p;
    p.Device = device;
    return p;
}

TEST_F(PortFiles, ByIdLinksAreMatchedToTheDevicesTheyPointAt)
{
    const std::string usb0 = Touch("ttyUSB0"), usb1 = Touch("ttyUSB1"), s0 = Touch("ttyS0");
    fs::create_symlink("../ttyUSB1", Dir / "by-id" / "usb-Maker_Adapter_B-if00-port0");
    fs::create_symlink(usb0, Dir / "by-id" / "usb-Maker_Adapter_A-if00-port0");
    fs::create_symlink("../gone", Dir / "by-id" / "usb-dangling"); // unplugged: ignored
    std::vector<TPortInfo> ports{Port(usb0), Port(usb1), Port(s0), Port("/nonexistent/ttyACM0")};
    AttachByIdNames(ports, (Dir / "by-id").string());
    EXPECT_EQ(ports[0].ById, (Dir / "by-id" / "usb-Maker_Adapter_A-if00-port0").string());
    EXPECT_EQ(ports[1].PreferredPath(),
              (Dir / "by-id" / "usb-Maker_Adapter_B-if00-port0").string());
    EXPECT_EQ(ports[2].ById, "");
    EXPECT_EQ(ports[2].PreferredPath(), s0) << "a built-in port keeps its device name";
    EXPECT_EQ(ports[3].ById, "");

    std::vector<TPortInfo> none{Port(usb0)};
    AttachByIdNames(none, (Dir / "missing").string());
    EXPECT_EQ(none[0].ById, "") << "no by-id folder without USB adapters";
}
#endif

TEST_F(PortFiles, SavingWritesOnlyThePortEntriesThatChangedInTheSameFile)
{
    const std::string ini = (Dir / "zoredit.INI").string();
    std::ofstream(ini, std::ios::binary)
        << "; panel in the hall\n[Ports]\nCOM1=/dev/ttyUSB0\n[PC]\nPort=1\n";
    TProfileFile before;
    ASSERT_TRUE(before.Load(ini));
    TPortDevices devices = LoadPortDevices(before);
    devices.Device[2] = "/dev/serial/by-id/usb-X";
    ASSERT_EQ(SaveCommSettings(ini, {3, 9600, false, "/tmp/zor.log"}, devices), ResultOk);
    EXPECT_EQ(Read(ini), "; panel in the hall\n[Ports]\nCOM1=/dev/ttyUSB0\n"
                         "COM3=/dev/serial/by-id/usb-X\n[PC]\nPort=3\nFile=0\nBaud=9600\n"
                         "Path=/tmp/zor.log\n");

    // Unchanged devices (defaults included) add nothing.
    ASSERT_EQ(SaveCommSettings(ini, {3, 9600, false, "/tmp/zor.log"}, devices), ResultOk);
    EXPECT_EQ(Read(ini).find("COM2"), std::string::npos);
    EXPECT_EQ(Read(ini).find("COM4"), std::string::npos);
}

} // namespace
} // namespace zor
