#include "aom/AomUnits.h"

#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"

#include <initializer_list>

namespace {

AomUnitSettings g_units;

UnitCode OneOf(int stored, std::initializer_list<UnitCode> allowed, UnitCode fallback)
{
    for (UnitCode code : allowed)
        if (stored == code) return code;
    return fallback;
}

}  // namespace

std::string UnitLabel(int code)
{
    switch (code) {
    case UnitInch: return "in";
    case UnitMillimetre: return "mm";
    case UnitFahrenheit: return "\u00b0F";
    case UnitCelsius: return "\u00b0C";
    case UnitMillibar: return "mb";
    case UnitHectopascal: return "hPa";
    case UnitMph: return "mph";
    case UnitKnots: return "knots";
    case UnitKph: return "kph";
    case UnitMetresPerSecond: return "m/s";
    default: return "";
    }
}

AomUnitSettings ReadAomUnitSettings()
{
    DBConfigParser& store = Settings();
    AomUnitSettings units;
    units.temperature = OneOf(store.GetInt(key::AomTempUnit), {UnitFahrenheit}, UnitCelsius);
    units.barometer = OneOf(store.GetInt(key::AomBarUnit),
                            {UnitInch, UnitMillimetre, UnitMillibar, UnitHectopascal}, UnitInch);
    units.wind = OneOf(store.GetInt(key::AomWindUnit),
                       {UnitMph, UnitKnots, UnitKph, UnitMetresPerSecond}, UnitMph);
    units.rain = OneOf(store.GetInt(key::AomRainUnit), {UnitInch}, UnitMillimetre);
    return units;
}

const AomUnitSettings& AomUnits()
{
    return g_units;
}

void LoadAomUnitSettings()
{
    g_units = ReadAomUnitSettings();
}

void SetAomUnits(const AomUnitSettings& units)
{
    g_units = units;
}
