#pragma once
// What the simulated console and logger remember: the logger's parameters,
// the four circuit or relay states, the alarm output module's outputs and
// alarm log, and the console's transmitter list. Saved as key=value text so
// a state file can be read and edited by hand.

#include <array>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

enum class SimKind { Aloha, Aprs, Irr, Aom, None };

// "aloha", "aprs", "irr", "aom", "none".
const char* SimKindName(SimKind kind);
bool ParseSimKind(const std::string& text, SimKind& kind);
// The kind word of the identification line ("ALOHA", "APRS", "IRR", "AOM"; "" for none).
const char* SimKindWord(SimKind kind);
// The firmware number a logger of the kind reports unless told otherwise.
int SimDefaultFirmware(SimKind kind);

// One alarm condition as the alarm output module keeps it.
struct SimCondition {
    int parameter = 0;       // module code
    int check = 0;           // check type 0-8
    int extra = 0;           // trend minutes (check 4) or the subtracted module code (check 7)
    bool hasValues = false;  // the values of parameter 17 have arrived
    std::vector<int> values;

    bool operator==(const SimCondition&) const = default;
};

struct SimOutput {
    std::vector<SimCondition> conditions;
    int logic = 1;  // 0 OR, 1 AND, 2 XOR
    int releaseDelay = 0;
    int reactivationDelay = 0;
    int pulseWidth = 0;
    int circuit = 0;  // 0 normally open, 1 normally closed

    bool operator==(const SimOutput&) const = default;
};

// One alarm event as the module sends it: three numbers.
struct SimAlarmRecord {
    unsigned n1 = 0;
    unsigned n2 = 0;
    unsigned n3 = 0;

    bool operator==(const SimAlarmRecord&) const = default;
};

SimAlarmRecord EncodeAlarmRecord(int output, bool active, int mask, int month, int day,
                                 int hour, int minute, int second);

inline constexpr int kSimOutputs = 4;
inline constexpr int kSimMaxConditions = 8;
inline constexpr std::size_t kSimTransmitterBytes = 16;

struct SimState {
    // Plain parameters by number, in the form the logger answers them.
    std::map<int, std::string> params;
    // Irrigation circuits or alarm relays 0-3: 0 open, 1 closed.
    std::array<int, kSimOutputs> switches{};
    std::array<SimOutput, kSimOutputs> outputs{};
    std::vector<SimAlarmRecord> alarms;
    // Console EEPROM 0x19-0x28: two bytes per transmitter ID 1-8.
    std::array<std::uint8_t, kSimTransmitterBytes> transmitters{};

    // A logger of the kind fresh from the box, with a few sample alarm
    // conditions and events on the alarm output module.
    static SimState Defaults(SimKind kind);

    std::string ToText() const;
    // Applies each line of text over this state. Lines that cannot be read
    // are skipped; the first one is described in *error and false returned.
    bool ApplyText(const std::string& text, std::string* error = nullptr);

    bool operator==(const SimState&) const = default;
};

// The reply of the module's condition query: records separated by ";",
// fields by blanks.
std::string FormatConditions(const std::vector<SimCondition>& conditions);
bool ParseConditions(const std::string& text, std::vector<SimCondition>& conditions);
