#pragma once
// What the alarm output forms know about the station: the console model and
// accessories the user declared (AOM_STATION_CONFIG), and the extra sensors
// the console's transmitters carry, read from the console itself.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// AOM_STATION_CONFIG: fields each ended by "$", the model position first,
// then accessory codes. Every field is read as a decimal number (text that
// is not a number is 0); an empty value has one empty field, model 0.
struct StationConfig {
    int model = 0;
    std::vector<int> codes;
};
StationConfig ParseStationConfig(const std::string& value);
// model, "$", then each code followed by "$" ("-1$" when no model).
std::string FormatStationConfig(int model, const std::vector<int>& codes);

inline constexpr int kTransmitterCount = 8;
inline constexpr int kTransmitterBlockSize = 16;

struct TransmitterSensors {
    bool hasTemperature = false;
    bool hasHumidity = false;
};

// The console's eight transmitters, IDs 1-8.
class ConsoleTransmitterList {
public:
    // A 16-byte block from the console's EEPROM at 0x19: two bytes per
    // transmitter, the low four bits of the first giving its kind.
    void Decode(const std::uint8_t* block);
    // No entry for an ID outside 1-8.
    TransmitterSensors At(int id) const;
    void Clear() { sensors_ = {}; }

private:
    std::array<TransmitterSensors, kTransmitterCount> sensors_{};
};

// Process-wide; all flags false until the first successful read.
ConsoleTransmitterList& ConsoleTransmitters();

// Reads the transmitter block from the console with the module's time-out
// lowered to one second meanwhile, and rebuilds ConsoleTransmitters() from
// it. When the time-out cannot be lowered, or the block does not arrive
// intact, the list keeps what it held.
void ReadTransmitterList();
