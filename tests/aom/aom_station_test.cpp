// The transmitter list read under module faults the simulator cannot stage.
#include "AomStation.h"
#include "Crc16.h"
#include "FakeLink.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

TEST(TransmitterList, RefusedLoweringRetriedAndRefusedRestoreGivenUpAfterFive)
{
    TempWorkDir dir;
    InstantPauses pauses;
    std::string data(kTransmitterBlockSize, '\0');
    data[0] = 3;
    const auto crc = Crc16Xmodem(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    FakeLink link;
    link.Respond("\n", "\n\r");
    link.Respond("MOD01 |\n", "60\n\r");
    link.Respond("MOD01 1\n", "ERR\n\r", 2);
    link.Respond("MOD01 1\n", "OK\n\r");
    link.Respond("MOD01 60\n", "ERR\n\r");
    link.Respond("EEBRD 19 10\n", "\x06" + data + char(crc >> 8) + char(crc & 0xFF));
    ReadTransmitterList();
    std::vector<std::string> expected;
    for (int i = 0; i < 3; ++i) expected.insert(expected.end(), {"\n", "MOD01 |\n", "MOD01 1\n"});
    expected.insert(expected.end(), {"\n", "EEBRD 19 10\n"});
    for (int i = 0; i < 5; ++i) expected.insert(expected.end(), {"\n", "MOD01 60\n"});
    EXPECT_EQ(link.Lines(), expected);
    EXPECT_TRUE(ConsoleTransmitters().At(1).hasHumidity);
    ConsoleTransmitters().Clear();
}

}  // namespace
