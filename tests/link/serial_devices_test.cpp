// The serial devices offered for a COM number, from a /dev tree the test
// lays out: stable by-id names first, then USB, ACM and built-in ports, with
// numbers counted.

#include "SerialDevices.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(SerialDevices, ByIdNamesFirstThenEachKindInNumberOrder)
{
    TempWorkDir root(nullptr);
    fs::create_directories(root.Path() / "dev/serial/by-id");
    for (const char* name : {"ttyS10", "ttyS2", "ttyS0", "ttyACM0", "ttyUSB1", "ttyUSB0", "ttyUSB", "tty0",
                             "ttySX", "null", "ttyAMA0"})
        root.WriteFile(std::string("dev/") + name, "");
    fs::create_symlink("../../ttyUSB1", root.Path() / "dev/serial/by-id/usb-Prolific_PL2303-if00-port0");
    fs::create_symlink("../../ttyUSB0", root.Path() / "dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0");

    EXPECT_EQ(ListSerialDevices(root.Path()),
              (std::vector<std::string>{"/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0",
                                        "/dev/serial/by-id/usb-Prolific_PL2303-if00-port0", "/dev/ttyUSB0",
                                        "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS2", "/dev/ttyS10"}));
    EXPECT_TRUE(ListSerialDevices(root.Path() / "nowhere").empty());
}
