#include "aom/AlarmParameterTable.h"

#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"

#include <algorithm>
#include <cstdio>

namespace {

constexpr const char* kCheckTypeTexts[kCheckTypeCount] = {
    "Greater Than or =", "Less Than or =", "Between", "Not Between", "Trending",
    "True",              "=",              "Minus",   "Missing",
};

constexpr int kFirstExtraTemperature = 24;
constexpr int kFirstExtraHumidity = 31;
constexpr int kExtraSensorSlots = 7;
constexpr int kSolarRadiation = 22;
constexpr int kEtCodes[] = {14, 15, 16};

using K = ValueKind;
using S = CheckSet;

struct RowRange {
    const char* name;
    int firstCode;
    int firstPosition;
    int count;         // rows in the range, numbered in step
    ValueKind kind;
    CheckSet checks;
    MinusGroup group;
};

// A range numbers its names with "%i" from 1, or letters them with "%c" from A.
constexpr RowRange kRowRanges[] = {
    {"Current Barometer", 1, 9, 1, K::Barometer, S::B, MinusNone},
    {"Inside Temperature", 2, 22, 1, K::Temperature, S::N, MinusTemperatures},
    {"Inside Humidity", 3, 23, 1, K::Humidity, S::N, MinusHumidities},
    {"Bar Trend Rising Rapidly", 4, 10, 1, K::Flag, S::T, MinusNone},
    {"Bar Trend Rising Slowly", 5, 11, 1, K::Flag, S::T, MinusNone},
    {"Bar Trend Steady", 6, 12, 1, K::Flag, S::T, MinusNone},
    {"Bar Trend Falling Slowly", 7, 13, 1, K::Flag, S::T, MinusNone},
    {"Bar Trend Falling Rapidly", 8, 14, 1, K::Flag, S::T, MinusNone},
    {"Rain Rate", 9, 19, 1, K::RainRate, S::R, MinusNone},
    {"Daily Rain", 10, 15, 1, K::RainDaily, S::N, MinusRainAndEt},
    {"Monthly Rain", 11, 17, 1, K::RainTotal, S::N, MinusRainAndEt},
    {"Yearly Rain", 12, 18, 1, K::RainTotal, S::N, MinusRainAndEt},
    {"Storm Total Rain", 13, 16, 1, K::RainDaily, S::N, MinusRainAndEt},
    {"Daily ET", 14, 42, 1, K::EtDaily, S::N, MinusRainAndEt},
    {"Monthly ET", 15, 43, 1, K::EtTotal, S::N, MinusRainAndEt},
    {"Yearly ET", 16, 44, 1, K::EtTotal, S::N, MinusRainAndEt},
    {"Outside Temperature", 17, 1, 1, K::Temperature, S::N, MinusTemperatures},
    {"Outside Humidity", 18, 2, 1, K::Humidity, S::N, MinusHumidities},
    {"Current Wind Speed", 19, 4, 1, K::WindSpeed, S::N, MinusWindSpeeds},
    {"10 min Avg Wind Speed", 20, 5, 1, K::WindSpeed, S::N, MinusWindSpeeds},
    {"Wind Direction", 21, 6, 1, K::WindDirection, S::D, MinusNone},
    {"Solar Radiation", 22, 20, 1, K::SolarRadiation, S::R, MinusNone},
    {"UV Radiation", 23, 21, 1, K::UvIndex, S::R, MinusNone},
    {"Extra Temperature %i", 24, 26, 7, K::Temperature, S::N, MinusTemperatures},
    {"Extra Humidity %i", 31, 34, 7, K::Humidity, S::N, MinusHumidities},
    {"Leaf Wetness %i", 38, 53, 2, K::LeafWetness, S::B, MinusNone},
    {"Soil Moisture %i", 40, 45, 4, K::SoilMoisture, S::B, MinusNone},
    {"Leaf Temperature %i", 44, 55, 2, K::Temperature, S::N, MinusTemperatures},
    {"Soil Temperature %i", 46, 49, 4, K::Temperature, S::N, MinusTemperatures},
    {"Low Battery on Station ID #%i", 50, 57, 8, K::Flag, S::F, MinusNone},
    {"Time", 128, 75, 1, K::TimeOfDay, S::H, MinusNone},
    {"Outside Dewpoint", 129, 3, 1, K::DewPoint, S::N, MinusTemperatures},
    {"Inside Dewpoint", 130, 24, 1, K::DewPoint, S::N, MinusTemperatures},
    {"Wind Chill", 131, 7, 1, K::WindChill, S::N, MinusTemperatures},
    {"Outside Heat Index", 132, 8, 1, K::HeatIndex, S::N, MinusTemperatures},
    {"Inside Heat Index", 133, 25, 1, K::HeatIndex, S::N, MinusTemperatures},
    {"Console Batteries", 140, 65, 1, K::BatteryVoltage, S::D, MinusNone},
    {"ISS Reception", 141, 66, 1, K::Reception, S::B, MinusNone},
    {"Low Battery on Repeater %c", 142, 67, 8, K::Flag, S::F, MinusNone},
    // The eighth extra sensors have no module code of their own.
    {"Extra Temperature 8", kExtraTemperature8, 33, 1, K::Temperature, S::N, MinusTemperatures},
    {"Extra Humidity 8", kExtraHumidity8, 41, 1, K::Humidity, S::N, MinusHumidities},
};

std::vector<int> Range(int first, int last)
{
    std::vector<int> codes;
    for (int code = first; code <= last; ++code) codes.push_back(code);
    return codes;
}

std::vector<int> Concat(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

const std::vector<int>& GroupList(MinusGroup group)
{
    static const std::vector<int> temperatures =
        Concat({{17, 129, 131, 132, 2, 130, 133}, Range(24, 30), {kExtraTemperature8},
                {46, 47, 48, 49, 44, 45}});
    static const std::vector<int> humidities =
        Concat({{18, 3}, Range(31, 37), {kExtraHumidity8}});
    static const std::vector<int> windSpeeds = {19, 20};
    static const std::vector<int> rainAndEt = {10, 13, 11, 12, 14, 15, 16};
    static const std::vector<int> none;
    switch (group) {
    case MinusTemperatures: return temperatures;
    case MinusHumidities: return humidities;
    case MinusWindSpeeds: return windSpeeds;
    case MinusRainAndEt: return rainAndEt;
    default: return none;
    }
}

std::string RowName(const RowRange& range, int index)
{
    if (range.count == 1) return range.name;
    char text[64];
    if (std::string(range.name).find("%c") != std::string::npos)
        std::snprintf(text, sizeof text, range.name, 'A' + index);
    else
        std::snprintf(text, sizeof text, range.name, index + 1);
    return text;
}

bool IsAlwaysOffered(int tableCode)
{
    if (tableCode == kExtraTemperature8 || tableCode == kExtraHumidity8) return false;
    if (tableCode < kSolarRadiation) return tableCode < 14 || tableCode > 16;
    return tableCode > 49;
}

// "Extra Temperature N" / "Extra Humidity N" as (is temperature, N).
bool ExtraSensorName(const std::string& name, bool& temperature, int& id)
{
    const AlarmParameter* row = AlarmParameters().ByName(name);
    if (!row) return false;
    const int code = row->code;
    if ((code >= kFirstExtraTemperature && code < kFirstExtraTemperature + kExtraSensorSlots) ||
        code == kExtraTemperature8) {
        temperature = true;
        id = code == kExtraTemperature8 ? 8 : code - kFirstExtraTemperature + 1;
        return true;
    }
    if ((code >= kFirstExtraHumidity && code < kFirstExtraHumidity + kExtraSensorSlots) ||
        code == kExtraHumidity8) {
        temperature = false;
        id = code == kExtraHumidity8 ? 8 : code - kFirstExtraHumidity + 1;
        return true;
    }
    return false;
}

std::string ExtraSensorDisplayName(bool temperature, int id)
{
    char text[40];
    std::snprintf(text, sizeof text, temperature ? "Extra Temperature %i" : "Extra Humidity %i", id);
    return text;
}

}  // namespace

std::string CheckTypeText(int checkType)
{
    if (checkType < 0 || checkType >= kCheckTypeCount) return {};
    return kCheckTypeTexts[checkType];
}

int CheckTypeFromText(const std::string& text)
{
    for (int type = 0; type < kCheckTypeCount; ++type)
        if (text == kCheckTypeTexts[type]) return type;
    return CheckNone;
}

bool CheckSetOffers(CheckSet set, int checkType)
{
    switch (set) {
    case CheckSet::N: return checkType >= 0 && checkType < kCheckTypeCount && checkType != CheckTrue;
    case CheckSet::R:
        return CheckSetOffers(CheckSet::N, checkType) && checkType != CheckMinus;
    case CheckSet::B:
        return CheckSetOffers(CheckSet::R, checkType) && checkType != CheckTrending;
    case CheckSet::D: return CheckSetOffers(CheckSet::B, checkType) || checkType == CheckTrue;
    case CheckSet::T: return checkType == CheckTrue || checkType == CheckMissing;
    case CheckSet::F: return checkType == CheckTrue;
    case CheckSet::H:
        return checkType == CheckBetween || checkType == CheckNotBetween || checkType == CheckEqual;
    }
    return false;
}

AlarmParameterTable::AlarmParameterTable()
{
    for (const RowRange& range : kRowRanges)
        for (int i = 0; i < range.count; ++i)
            rows_.push_back({RowName(range, i), range.firstCode + i, range.firstPosition + i,
                             range.kind, range.checks, range.group});
    std::sort(rows_.begin(), rows_.end(),
              [](const AlarmParameter& a, const AlarmParameter& b) { return a.code < b.code; });
    for (std::size_t i = 0; i < rows_.size(); ++i) {
        byCode_[rows_[i].code] = i;
        byName_[rows_[i].name] = i;
    }
    std::vector<const AlarmParameter*> byPosition;
    for (const auto& row : rows_) byPosition.push_back(&row);
    std::sort(byPosition.begin(), byPosition.end(),
              [](const AlarmParameter* a, const AlarmParameter* b) { return a->position < b->position; });
    for (const AlarmParameter* row : byPosition) displayOrder_.push_back(row->code);
}

const AlarmParameter* AlarmParameterTable::ByCode(int tableCode) const
{
    const auto it = byCode_.find(tableCode);
    return it == byCode_.end() ? nullptr : &rows_[it->second];
}

const AlarmParameter* AlarmParameterTable::ByName(const std::string& name) const
{
    const auto it = byName_.find(name);
    return it == byName_.end() ? nullptr : &rows_[it->second];
}

const std::vector<int>& AlarmParameterTable::GroupMembers(MinusGroup group) const
{
    return GroupList(group);
}

const AlarmParameterTable& AlarmParameters()
{
    static const AlarmParameterTable table;
    return table;
}

void ExtraSensorCodes::Rebuild(const ConsoleTransmitterList& transmitters)
{
    Clear();
    int temperatures = 0;
    int humidities = 0;
    for (int id = 1; id <= kTransmitterCount; ++id) {
        const TransmitterSensors sensors = transmitters.At(id);
        if (sensors.hasTemperature && temperatures < kExtraSensorSlots)
            temperature_[id] = kFirstExtraTemperature + temperatures++;
        if (sensors.hasHumidity && humidities < kExtraSensorSlots)
            humidity_[id] = kFirstExtraHumidity + humidities++;
    }
}

void ExtraSensorCodes::Clear()
{
    temperature_.clear();
    humidity_.clear();
}

int ExtraSensorCodes::TemperatureCode(int id) const
{
    const auto it = temperature_.find(id);
    return it == temperature_.end() ? kMissingSensor : it->second;
}

int ExtraSensorCodes::HumidityCode(int id) const
{
    const auto it = humidity_.find(id);
    return it == humidity_.end() ? kMissingSensor : it->second;
}

int ExtraSensorCodes::TemperatureTransmitter(int moduleCode) const
{
    for (const auto& [id, code] : temperature_)
        if (code == moduleCode) return id;
    return 0;
}

int ExtraSensorCodes::HumidityTransmitter(int moduleCode) const
{
    for (const auto& [id, code] : humidity_)
        if (code == moduleCode) return id;
    return 0;
}

ExtraSensorCodes& ExtraSensors()
{
    static ExtraSensorCodes codes;
    return codes;
}

void RebuildExtraSensorCodes()
{
    ExtraSensors().Rebuild(ConsoleTransmitters());
}

std::set<int> OfferedTableCodes(const std::string& stationConfig)
{
    const AlarmParameterTable& table = AlarmParameters();
    std::set<int> offered;
    for (const auto& row : table.Rows())
        if (IsAlwaysOffered(row.code)) offered.insert(row.code);
    // The first field is the console model, never a parameter.
    for (int code : ParseStationConfig(stationConfig).codes) {
        if (!table.ByCode(code)) continue;
        offered.insert(code);
        if (code == kSolarRadiation) offered.insert(std::begin(kEtCodes), std::end(kEtCodes));
    }
    return offered;
}

int ResolveParameterCode(const std::string& name)
{
    bool temperature = false;
    int id = 0;
    if (ExtraSensorName(name, temperature, id))
        return temperature ? ExtraSensors().TemperatureCode(id) : ExtraSensors().HumidityCode(id);
    const AlarmParameter* row = AlarmParameters().ByName(name);
    return row ? row->code : kNoParameter;
}

int SelectParameterByCode(const ChoiceList& list, int moduleCode)
{
    std::string name;
    if ((moduleCode >= kFirstExtraTemperature &&
         moduleCode < kFirstExtraTemperature + kExtraSensorSlots) ||
        moduleCode == kExtraTemperature8) {
        const int id = ExtraSensors().TemperatureTransmitter(moduleCode);
        if (id != 0) name = ExtraSensorDisplayName(true, id);
    } else if ((moduleCode >= kFirstExtraHumidity &&
                moduleCode < kFirstExtraHumidity + kExtraSensorSlots) ||
               moduleCode == kExtraHumidity8) {
        const int id = ExtraSensors().HumidityTransmitter(moduleCode);
        if (id != 0) name = ExtraSensorDisplayName(false, id);
    } else if (const AlarmParameter* row = AlarmParameters().ByCode(moduleCode)) {
        name = row->name;
    }
    if (name.empty()) return -1;
    return FindPrefix(list, name);
}

void FillParameterList(ChoiceList& list)
{
    const std::set<int> offered = OfferedTableCodes(Settings().GetValue(key::AomStationConfig));
    const AlarmParameterTable& table = AlarmParameters();
    list.Clear();
    for (int code : table.DisplayOrder())
        if (offered.count(code)) list.Add(table.ByCode(code)->name);
}

void FillParameterList(ChoiceList& list, MinusGroup group)
{
    const std::set<int> offered = OfferedTableCodes(Settings().GetValue(key::AomStationConfig));
    const AlarmParameterTable& table = AlarmParameters();
    list.Clear();
    for (int code : table.GroupMembers(group))
        if (offered.count(code)) list.Add(table.ByCode(code)->name);
}

void FillCheckTypeList(ChoiceList& list, int moduleCode)
{
    const std::string previous = SelectedText(list);
    list.Clear();
    for (int type = 0; type < kCheckTypeCount; ++type) list.Add(kCheckTypeTexts[type]);

    // -2 only ever stands for an extra temperature or humidity sensor, and
    // those all share one set; with no parameter at all nothing narrows.
    const AlarmParameter* row = AlarmParameters().ByCode(moduleCode);
    const bool known = row != nullptr || moduleCode == kMissingSensor;
    const CheckSet set = row ? row->checks : CheckSet::N;
    for (int type = kCheckTypeCount - 1; type >= 0; --type) {
        const bool drop = (known && !CheckSetOffers(set, type)) ||
                          (type == CheckMinus && moduleCode != kMissingSensor &&
                           !IsMinusCapable(moduleCode));
        if (!drop) continue;
        const int at = FindPrefix(list, kCheckTypeTexts[type]);
        if (at >= 0) list.Remove(at);
    }
    list.Select(previous.empty() ? -1 : FindExact(list, previous));
}

std::optional<ValueKind> ValueKindOf(const std::string& name)
{
    const AlarmParameter* row = AlarmParameters().ByName(name);
    if (!row) return std::nullopt;
    return row->kind;
}

std::string UnitLabelForKind(ValueKind kind, const AomUnitSettings& units)
{
    switch (kind) {
    case K::Temperature:
    case K::DewPoint:
    case K::WindChill:
    case K::HeatIndex: return UnitLabel(units.temperature);
    case K::Humidity:
    case K::Reception: return "%";
    case K::Barometer:
        return units.barometer == UnitInch || units.barometer == UnitMillimetre ||
                       units.barometer == UnitMillibar || units.barometer == UnitHectopascal
                   ? UnitLabel(units.barometer)
                   : std::string();
    case K::RainDaily:
    case K::RainTotal:
    case K::EtDaily:
    case K::EtTotal: return units.rain == UnitInch ? "in" : "mm";
    case K::RainRate: return units.rain == UnitInch ? "in/hr" : "mm/hr";
    case K::WindSpeed: return UnitLabel(units.wind);
    case K::WindDirection: return "\u00b0";
    case K::SolarRadiation: return "W/m2";
    case K::UvIndex: return "index";
    case K::SoilMoisture: return "cb";
    case K::TimeOfDay: return "(hh:mm)";
    case K::BatteryVoltage: return "V";
    case K::LeafWetness:
    case K::Flag: return "";
    }
    return "";
}

std::string UnitLabelFor(const std::string& name, const AomUnitSettings& units)
{
    const int code = ResolveParameterCode(name);
    if (code == kNoParameter || code == kMissingSensor) return "";
    const std::optional<ValueKind> kind = ValueKindOf(name);
    return kind ? UnitLabelForKind(*kind, units) : std::string();
}

bool IsMinusCapable(int moduleCode)
{
    return MinusGroupOf(moduleCode) != MinusNone;
}

MinusGroup MinusGroupOf(int tableCode)
{
    const AlarmParameter* row = AlarmParameters().ByCode(tableCode);
    return row ? row->group : MinusNone;
}

bool IsExtraSensorCode(int moduleCode)
{
    return (moduleCode >= kFirstExtraTemperature &&
            moduleCode < kFirstExtraHumidity + kExtraSensorSlots) ||
           moduleCode == kExtraTemperature8 || moduleCode == kExtraHumidity8;
}
