#pragma once
// Condition values between the user's display units and the module's form.
// The module keeps °F, inches of mercury, inches and mph, mostly as scaled
// whole numbers; -32768 stands for "no value" throughout.

#include "aom/AomUnits.h"
#include "base/NumericText.h"

#include <optional>
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

// The module's text at the module's own resolution in its base units
// (dew point 655 is "65.5", daily ET 125 is "0.125"): typed back in those
// units it gives the very same text again.
std::string ModuleToExactText(int moduleCode, const std::string& text);

// The threshold of a subtraction is a difference of two readings of the
// second parameter, so it converts as a difference (5 °C apart is 9 °F apart),
// then takes the parameter's module form (tenths of °F: 90; an extra
// temperature's °F + 90: 99). None when the module's 15 bits cannot hold it.
std::optional<std::string> DifferenceToModule(int moduleCode, const std::string& typed,
                                              const AomUnitSettings& units);
// Back to the display units; exact: base units at the module's resolution.
std::string DifferenceToDisplay(int moduleCode, const std::string& moduleText,
                                const AomUnitSettings& units, bool exact = false);

// Truncation toward zero that stays defined for values beyond int (clamped)
// and for NaN (0).
int TruncateToInt(double value);
