#include "aom/AomStation.h"

#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "base/WaitCursor.h"


namespace {

constexpr int kTimeoutParameter = 1;
constexpr int kLinkAttempts = 5;
// The logger's time-out is kept short while the console itself is asked for
// its EEPROM, and the exchange gets a second to settle before it goes back.
constexpr const char* kShortTimeout = "1";
constexpr int kAfterEepromPauseMs = 1000;

enum TransmitterKind { KindTemperature = 1, KindHumidity = 2, KindTemperatureHumidity = 3 };

std::vector<std::string> SplitFields(const std::string& value)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        const auto end = value.find('$', start);
        if (end == std::string::npos) {
            fields.push_back(value.substr(start));
            return fields;
        }
        fields.push_back(value.substr(start, end - start));
        start = end + 1;
    }
}

// Lowers the logger's time-out, keeping the one it had. A reply that does
// not come leaves nothing to restore later, so the time-out is not lowered
// on that attempt.
bool LowerModuleTimeout(std::string& saved)
{
    for (int attempt = 0; attempt < kLinkAttempts; ++attempt) {
        WakeConsoleQuick();
        if (ModuleQuery(kTimeoutParameter) != 0) continue;
        const std::string reply = ModuleReadLine();
        if (reply.empty()) continue;
        saved = reply;
        if (ModuleSet(kTimeoutParameter, kShortTimeout) == 0) return true;
    }
    return false;
}

void RestoreModuleTimeout(const std::string& saved)
{
    for (int attempt = 0; attempt < kLinkAttempts; ++attempt) {
        WakeConsoleQuick();
        if (ModuleSet(kTimeoutParameter, saved) == 0) return;
    }
}

}  // namespace

StationConfig ParseStationConfig(const std::string& value)
{
    StationConfig config;
    const std::vector<std::string> fields = SplitFields(value);
    config.model = ReadInt(fields.front());
    for (std::size_t i = 1; i < fields.size(); ++i) {
        // The "$" that ends the last field leaves an empty one behind it.
        if (i + 1 == fields.size() && fields[i].empty()) break;
        config.codes.push_back(ReadInt(fields[i]));
    }
    return config;
}

std::string FormatStationConfig(int model, const std::vector<int>& codes)
{
    std::string value = std::to_string(model) + "$";
    for (int code : codes) value += std::to_string(code) + "$";
    return value;
}

void ConsoleTransmitterList::Decode(const std::uint8_t* block)
{
    sensors_ = {};
    for (int i = 0; i < kTransmitterCount; ++i) {
        const int kind = block[2 * i] & 0x0F;
        sensors_[i].hasTemperature = kind == KindTemperature || kind == KindTemperatureHumidity;
        sensors_[i].hasHumidity = kind == KindHumidity || kind == KindTemperatureHumidity;
    }
}

TransmitterSensors ConsoleTransmitterList::At(int id) const
{
    if (id < 1 || id > kTransmitterCount) return {};
    return sensors_[id - 1];
}

ConsoleTransmitterList& ConsoleTransmitters()
{
    static ConsoleTransmitterList list;
    return list;
}

void ReadTransmitterList()
{
    WaitCursorGuard cursor;
    std::string savedTimeout;
    if (!LowerModuleTimeout(savedTimeout)) return;

    bool fresh = false;
    const std::uint8_t* block = ReadTransmitterEeprom(&fresh);
    // A block that did not arrive, or failed its CRC, says nothing about the
    // transmitters; the list read earlier is the better guess.
    if (fresh) ConsoleTransmitters().Decode(block);

    PauseMs(kAfterEepromPauseMs);
    RestoreModuleTimeout(savedTimeout);
}
