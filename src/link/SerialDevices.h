#pragma once
// The serial devices present on this computer, for choosing the device
// behind a COM number.

#include <filesystem>
#include <string>
#include <vector>

// /dev/serial/by-id/* first (names that stay the same whichever USB socket
// the cable is in), then /dev/ttyUSB*, /dev/ttyACM* and /dev/ttyS*, each
// group in name order with numbers counted (ttyS2 before ttyS10). root is
// where /dev lies ("/" on a running system); the names returned are the
// device paths as the program opens them, without root.
std::vector<std::string> ListSerialDevices(const std::filesystem::path& root = "/");
