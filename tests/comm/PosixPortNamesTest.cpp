// How ports are named where they are device nodes.
#include "comm/PortList.h"
#include "comm/ProfileFile.h"
#include "comm/Settings.h"

#include <gtest/gtest.h>

namespace zor {
namespace {

TEST(PosixPortNames, TypedDevicePathsAreTidied)
{
    EXPECT_EQ(NormalizeDevicePath("  /dev/ttyUSB0 "), "/dev/ttyUSB0");
    EXPECT_EQ(NormalizeDevicePath("ttyACM0"), "/dev/ttyACM0");
    EXPECT_EQ(NormalizeDevicePath(" rfc2217://hall1.example:4001"), "rfc2217://hall1.example:4001");
    EXPECT_EQ(NormalizeDevicePath("   "), "");
}

TEST(PosixPortNames, EachPortNumberDefaultsToTheMachinesSerialPort)
{
    const TPortDevices defaults = LoadPortDevices(TProfileFile(""));
    EXPECT_EQ(defaults.ForPort(1), "/dev/ttyS0");
    EXPECT_EQ(defaults.ForPort(3), "/dev/ttyS2");
    EXPECT_EQ(defaults.ForPort(4), "/dev/ttyS3");
    EXPECT_EQ(defaults.ForPort(9), "/dev/ttyS3") << "every other number is the fourth";
}

} // namespace
} // namespace zor
