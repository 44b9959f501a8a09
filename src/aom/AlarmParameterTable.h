#pragma once
// The vocabulary of alarm parameters: names, codes, display order, which
// check types and which values a condition on each may have, and which
// parameters may be subtracted from one another.

#include "aom/AomChoiceList.h"
#include "aom/AomStation.h"
#include "aom/AomUnits.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

enum CheckType : int {
    CheckNone = -1,
    CheckGreaterOrEqual = 0,
    CheckLessOrEqual = 1,
    CheckBetween = 2,
    CheckNotBetween = 3,
    CheckTrending = 4,
    CheckTrue = 5,
    CheckEqual = 6,
    CheckMinus = 7,
    CheckMissing = 8,
};
inline constexpr int kCheckTypeCount = 9;

// "Greater Than or =" ... "Missing"; empty outside 0-8.
std::string CheckTypeText(int checkType);
// CheckNone when the text names no check type.
int CheckTypeFromText(const std::string& text);

enum class ValueKind {
    Temperature,
    DewPoint,
    WindChill,
    HeatIndex,
    Humidity,
    Reception,
    Barometer,
    RainDaily,   // daily and storm rain
    RainTotal,   // monthly and yearly rain
    RainRate,
    EtDaily,
    EtTotal,     // monthly and yearly ET
    WindSpeed,
    WindDirection,
    SolarRadiation,
    UvIndex,
    SoilMoisture,
    LeafWetness,
    TimeOfDay,
    BatteryVoltage,
    Flag,        // no value
};

// The check types a parameter's conditions may use.
enum class CheckSet {
    N,  // numeric values: all but "True"
    R,  // as N without "Minus"
    B,  // as R without "Trending"
    D,  // as B with "True"
    T,  // bar trend states: "True", "Missing"
    F,  // low battery flags: "True"
    H,  // time of day: "Between", "Not Between", "="
};
bool CheckSetOffers(CheckSet set, int checkType);

enum MinusGroup : int {
    MinusNone = 0,
    MinusTemperatures = 1,
    MinusHumidities = 2,
    MinusWindSpeeds = 3,
    MinusRainAndEt = 4,
};

struct AlarmParameter {
    std::string name;
    int code;      // table code; the module code except for extra sensors
    int position;  // 1-based place in the display order
    ValueKind kind;
    CheckSet checks;
    MinusGroup group;
};

// The table codes that stand for the eighth extra sensors; never sent.
inline constexpr int kExtraTemperature8 = 1000;
inline constexpr int kExtraHumidity8 = 1001;
// ResolveParameterCode: no such parameter / an extra sensor the station lacks.
inline constexpr int kNoParameter = -1;
inline constexpr int kMissingSensor = -2;

class AlarmParameterTable {
public:
    AlarmParameterTable();
    // Rows in table-code order.
    const std::vector<AlarmParameter>& Rows() const { return rows_; }
    // Table codes in display order.
    const std::vector<int>& DisplayOrder() const { return displayOrder_; }
    const AlarmParameter* ByCode(int tableCode) const;
    const AlarmParameter* ByName(const std::string& name) const;
    // Members of a group as the second operand's list shows them.
    const std::vector<int>& GroupMembers(MinusGroup group) const;

private:
    std::vector<AlarmParameter> rows_;
    std::vector<int> displayOrder_;
    std::map<int, std::size_t> byCode_;
    std::map<std::string, std::size_t> byName_;
};

// Process-wide and constant.
const AlarmParameterTable& AlarmParameters();

// Transmitter ID (1-8) to module code of the extra sensor it carries: the
// k-th transmitter with a temperature sensor (counted from 0, ascending IDs)
// maps to 24 + k, the k-th with a humidity sensor to 31 + k; the module has
// room for seven of each.
class ExtraSensorCodes {
public:
    void Rebuild(const ConsoleTransmitterList& transmitters);
    void Clear();
    // kMissingSensor when the transmitter carries no such sensor.
    int TemperatureCode(int id) const;
    int HumidityCode(int id) const;
    // The transmitter ID mapped to a module code, 0 when none is.
    int TemperatureTransmitter(int moduleCode) const;
    int HumidityTransmitter(int moduleCode) const;

private:
    std::map<int, int> temperature_;
    std::map<int, int> humidity_;
};

// Process-wide; empty until rebuilt.
ExtraSensorCodes& ExtraSensors();
// Rebuilds ExtraSensors() from ConsoleTransmitters().
void RebuildExtraSensorCodes();

// The table codes a station offers: those every station has, and those named
// after the first field of stationConfig ("Solar Radiation" also bringing the
// three ET totals).
std::set<int> OfferedTableCodes(const std::string& stationConfig);

// Module code of a parameter name: kMissingSensor for an extra sensor whose
// transmitter lacks it, kNoParameter for an empty or unknown name.
int ResolveParameterCode(const std::string& name);

// Position in list of the name of the parameter with this module code (by
// prefix match), -1 when there is no such name or it is not in the list.
int SelectParameterByCode(const ChoiceList& list, int moduleCode);

// Empties list and adds the parameters the station offers (AOM_STATION_CONFIG),
// in display order; the second form only the offered members of group.
void FillParameterList(ChoiceList& list);
void FillParameterList(ChoiceList& list, MinusGroup group);

// Fills the check types a condition on the parameter may use. The text that
// was selected stays selected when it is still offered.
void FillCheckTypeList(ChoiceList& list, int moduleCode);

// The parameter's value kind; none for a name outside the table.
std::optional<ValueKind> ValueKindOf(const std::string& name);
std::string UnitLabelForKind(ValueKind kind, const AomUnitSettings& units);
// Empty for a name that does not resolve to a module code.
std::string UnitLabelFor(const std::string& name, const AomUnitSettings& units);

// Whether a module code names an extra sensor (named after its transmitter).
bool IsExtraSensorCode(int moduleCode);

// Whether a module code may take part in a subtraction.
bool IsMinusCapable(int moduleCode);
MinusGroup MinusGroupOf(int tableCode);
