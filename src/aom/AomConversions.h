#pragma once
// Condition values between the user's display units and the module's form.
// The module keeps °F, inches of mercury, inches and mph, mostly as scaled
// whole numbers; -32768 stands for "no value" throughout.

#include "AomUnits.h"
#include "NumericText.h"

#include <string>

inline constexpr double kNoValue = -32768.0;

// Base unit <-> display unit. Each passes kNoValue on unchanged; the display
// to barometer and display to wind conversions also give it for values they
// cannot hold (barometer outside 0-32767, negative wind).
double TemperatureToDisplay(double fahrenheit, int unit);
double DisplayToTemperature(double value, int unit);
double BarometerToDisplay(double inHg, int unit);
double DisplayToBarometer(double value, int unit);
double WindToDisplay(double mph, int unit);
double DisplayToWind(double value, int unit);
double RainToDisplay(double inches, int unit);
double DisplayToRain(double value, int unit);

// Typed text -> the text sent to the module for the parameter with this
// module code. scaled: the module's own form; otherwise the plain base-unit
// value (used to carry values across a change of units). Empty text, and the
// values of parameters kept as typed, come back unchanged.
std::string DisplayToModule(int moduleCode, const std::string& text,
                            const AomUnitSettings& units, bool scaled);
// The module's text (or the plain base-unit value) -> the text shown.
std::string ModuleToDisplay(int moduleCode, const std::string& text,
                            const AomUnitSettings& units, bool scaled);

// Truncation toward zero that stays defined for values beyond int (clamped)
// and for NaN (0).
int TruncateToInt(double value);
