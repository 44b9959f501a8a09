#pragma once
// The display units of the alarm output forms. The module itself always
// works in °F, inches of mercury, inches and mph; these only say how values
// are typed and shown.

#include <string>

// One number space for every display unit, as config.txt stores them.
enum UnitCode : int {
    UnitInch = 1,        // barometer (inHg) and rain
    UnitMillimetre = 2,  // barometer (mmHg) and rain
    UnitFahrenheit = 3,
    UnitCelsius = 4,
    UnitMillibar = 5,
    UnitHectopascal = 6,
    UnitMph = 7,
    UnitKnots = 8,
    UnitKph = 9,
    UnitMetresPerSecond = 10,
};

// The label of a unit code; empty for a number outside 1-10.
std::string UnitLabel(int code);

struct AomUnitSettings {
    UnitCode temperature = UnitCelsius;
    UnitCode barometer = UnitInch;
    UnitCode wind = UnitMph;
    UnitCode rain = UnitMillimetre;
};

// The four settings as config.txt holds them, each stored value outside its
// list taking the fallback (temperature and rain fall back to metric).
AomUnitSettings ReadAomUnitSettings();

// The process-wide settings the alarm output forms use; they change only
// through LoadAomUnitSettings.
const AomUnitSettings& AomUnits();
void LoadAomUnitSettings();
// Replaces the process-wide settings without touching config.txt (tests).
void SetAomUnits(const AomUnitSettings& units);
