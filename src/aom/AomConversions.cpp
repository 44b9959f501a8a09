#include "aom/AomConversions.h"

#include "base/NumericText.h"

#include <climits>
#include <cmath>

namespace {

constexpr double kCelsiusFactor = 0.1111111111111111;  // 1/9, then times 5
constexpr double kInchesPerMm = 0.03937007874015748;
constexpr double kMmPerInch = 25.4;
constexpr double kMbPerInHg = 33.864;
constexpr double kInHgPerMb = 0.029529971444517612;
constexpr double kMaxBarometer = 32767.0;
constexpr int kExtraTemperatureOffset = 90;

bool IsNoValue(double v) { return v == kNoValue; }

// The console reports its battery as a 9-bit sample of a third of the
// voltage (times 100). The products keep this order: each step rounds, and
// that decides values that fall halfway between two readings.
double BatteryToReading(double volts) { return volts * 0.0033333333333333335 * 512 * 100; }
double ReadingToBattery(double reading) { return reading * 300 * 0.001953125 * 0.01; }

// How a parameter's values look in the module.
enum class ModuleForm {
    AsTyped,
    TenthsF,        // outside and inside temperature
    TenthsFWhole,   // dew points, wind chill, heat indices
    OffsetF,        // extra, soil and leaf temperatures: °F + 90
    Barometer,      // thousandths of inHg
    HundredthsIn,   // rain rate, rain totals, monthly and yearly ET
    ThousandthsIn,  // daily ET
    Wind,           // whole mph
    Tenths,         // UV index, reception
    Battery,
};

ModuleForm FormOf(int code)
{
    if (code == 2 || code == 17) return ModuleForm::TenthsF;
    if (code >= 129 && code <= 133) return ModuleForm::TenthsFWhole;
    if ((code >= 24 && code <= 30) || code == 1000 || (code >= 44 && code <= 49))
        return ModuleForm::OffsetF;
    if (code == 1) return ModuleForm::Barometer;
    if ((code >= 9 && code <= 13) || code == 15 || code == 16) return ModuleForm::HundredthsIn;
    if (code == 14) return ModuleForm::ThousandthsIn;
    if (code == 19 || code == 20) return ModuleForm::Wind;
    if (code == 23 || code == 141) return ModuleForm::Tenths;
    if (code == 140) return ModuleForm::Battery;
    return ModuleForm::AsTyped;
}

std::string Fixed(int decimals, double value)
{
    return FormatText("%.*f", decimals, value);
}

std::string WriteScaled(ModuleForm form, double v, const AomUnitSettings& u)
{
    switch (form) {
    case ModuleForm::TenthsF:
    case ModuleForm::TenthsFWhole:
        return FormatText("%d", TruncateToInt(DisplayToTemperature(v, u.temperature) * 10));
    case ModuleForm::OffsetF:
        return Fixed(0, DisplayToTemperature(v, u.temperature) + kExtraTemperatureOffset);
    case ModuleForm::Barometer: return Fixed(0, DisplayToBarometer(v, u.barometer) * 1000);
    case ModuleForm::HundredthsIn: return Fixed(0, DisplayToRain(v, u.rain) * 100);
    case ModuleForm::ThousandthsIn: return Fixed(0, DisplayToRain(v, u.rain) * 1000);
    case ModuleForm::Wind: return Fixed(0, DisplayToWind(v, u.wind));
    case ModuleForm::Tenths: return Fixed(0, v * 10);
    case ModuleForm::Battery: return Fixed(0, BatteryToReading(v));
    case ModuleForm::AsTyped: break;
    }
    return {};
}

std::string WritePlain(ModuleForm form, double v, const AomUnitSettings& u)
{
    switch (form) {
    case ModuleForm::TenthsF: return Fixed(1, DisplayToTemperature(v, u.temperature));
    case ModuleForm::TenthsFWhole:
    case ModuleForm::OffsetF: return Fixed(0, DisplayToTemperature(v, u.temperature));
    case ModuleForm::Barometer: return Fixed(3, DisplayToBarometer(v, u.barometer));
    case ModuleForm::HundredthsIn:
    case ModuleForm::ThousandthsIn: return Fixed(2, DisplayToRain(v, u.rain));
    case ModuleForm::Wind: return Fixed(0, DisplayToWind(v, u.wind));
    default: break;
    }
    return {};
}

int BarometerDecimals(int unit) { return unit == UnitInch ? 3 : 1; }
int RainDecimals(int unit) { return unit == UnitMillimetre ? 1 : 2; }
int WindDecimals(int unit) { return unit == UnitMph ? 0 : 1; }

// The module's text as the base-unit value it stands for (°F, inHg, inches,
// mph; the index, percent or volts for the others).
double ScaledToBase(ModuleForm form, const std::string& text)
{
    switch (form) {
    case ModuleForm::TenthsF:
    case ModuleForm::TenthsFWhole: return ReadInt(text) * 0.1;
    case ModuleForm::OffsetF: return ReadDouble(text) - kExtraTemperatureOffset;
    case ModuleForm::Barometer:
    case ModuleForm::ThousandthsIn: return ReadDouble(text) * 0.001;
    case ModuleForm::HundredthsIn:
    case ModuleForm::Tenths: return ReadDouble(text) * (form == ModuleForm::Tenths ? 0.1 : 0.01);
    case ModuleForm::Wind: return ReadDouble(text);
    case ModuleForm::Battery: return ReadingToBattery(ReadDouble(text));
    case ModuleForm::AsTyped: break;
    }
    return ReadDouble(text);
}

enum class Quantity { None, Temperature, Barometer, Rain, Wind };

Quantity QuantityOf(ModuleForm form)
{
    switch (form) {
    case ModuleForm::TenthsF:
    case ModuleForm::TenthsFWhole:
    case ModuleForm::OffsetF: return Quantity::Temperature;
    case ModuleForm::Barometer: return Quantity::Barometer;
    case ModuleForm::HundredthsIn:
    case ModuleForm::ThousandthsIn: return Quantity::Rain;
    case ModuleForm::Wind: return Quantity::Wind;
    default: return Quantity::None;
    }
}

double BaseToDisplay(Quantity q, double v, const AomUnitSettings& u)
{
    switch (q) {
    case Quantity::Temperature: return TemperatureToDisplay(v, u.temperature);
    case Quantity::Barometer: return BarometerToDisplay(v, u.barometer);
    case Quantity::Rain: return RainToDisplay(v, u.rain);
    case Quantity::Wind: return WindToDisplay(v, u.wind);
    case Quantity::None: break;
    }
    return v;
}

// Decimals of the text shown in the display units.
int ShownDecimals(ModuleForm form, const AomUnitSettings& u)
{
    switch (form) {
    case ModuleForm::TenthsF:
    case ModuleForm::Tenths: return 1;
    case ModuleForm::Barometer: return BarometerDecimals(u.barometer);
    case ModuleForm::HundredthsIn:
    case ModuleForm::ThousandthsIn: return RainDecimals(u.rain);
    case ModuleForm::Wind: return WindDecimals(u.wind);
    case ModuleForm::Battery: return 2;
    default: return 0;
    }
}

// Decimals that keep every step the module stores, in base units.
int ExactDecimals(ModuleForm form)
{
    switch (form) {
    case ModuleForm::TenthsF:
    case ModuleForm::TenthsFWhole:
    case ModuleForm::Tenths: return 1;
    case ModuleForm::HundredthsIn: return 2;
    case ModuleForm::Barometer:
    case ModuleForm::ThousandthsIn:
    case ModuleForm::Battery: return 3;
    default: return 0;
    }
}

std::string ReadScaled(ModuleForm form, const std::string& text, const AomUnitSettings& u)
{
    return Fixed(ShownDecimals(form, u), BaseToDisplay(QuantityOf(form), ScaledToBase(form, text), u));
}

// A difference of two readings carries no zero point: only the temperature
// scales differ by more than a factor.
double DifferenceToBase(Quantity q, double v, const AomUnitSettings& u)
{
    switch (q) {
    case Quantity::Temperature: return u.temperature == UnitCelsius ? v * 1.8 : v;
    case Quantity::Barometer:
        if (u.barometer == UnitMillimetre) return v * kInchesPerMm;
        if (u.barometer == UnitMillibar || u.barometer == UnitHectopascal) return v * kInHgPerMb;
        return v;
    case Quantity::Rain: return u.rain == UnitMillimetre ? v * kInchesPerMm : v;
    case Quantity::Wind:
        switch (u.wind) {
        case UnitKnots: return v * 1.15077944802;
        case UnitKph: return v * 0.621371192237;
        case UnitMetresPerSecond: return v * 2.23693629205;
        default: return v;
        }
    case Quantity::None: break;
    }
    return v;
}

double DifferenceToDisplayUnits(Quantity q, double v, const AomUnitSettings& u)
{
    if (q == Quantity::Temperature)
        return u.temperature == UnitCelsius ? v * 5 * kCelsiusFactor : v;
    return BaseToDisplay(q, v, u);
}

constexpr AomUnitSettings kBaseUnits{UnitFahrenheit, UnitInch, UnitMph, UnitInch};

std::string ReadPlain(ModuleForm form, const std::string& text, const AomUnitSettings& u)
{
    const double v = ReadDouble(text);
    switch (form) {
    case ModuleForm::TenthsF: return Fixed(1, TemperatureToDisplay(v, u.temperature));
    case ModuleForm::TenthsFWhole:
    case ModuleForm::OffsetF: return Fixed(0, TemperatureToDisplay(v, u.temperature));
    case ModuleForm::Barometer:
        return Fixed(BarometerDecimals(u.barometer), BarometerToDisplay(v, u.barometer));
    case ModuleForm::HundredthsIn:
    case ModuleForm::ThousandthsIn: return Fixed(RainDecimals(u.rain), RainToDisplay(v, u.rain));
    case ModuleForm::Wind: return Fixed(WindDecimals(u.wind), WindToDisplay(v, u.wind));
    default: break;
    }
    return text;
}

bool KeptAsTypedWhenPlain(ModuleForm form)
{
    return form == ModuleForm::AsTyped || form == ModuleForm::Tenths ||
           form == ModuleForm::Battery;
}

}  // namespace

int TruncateToInt(double value)
{
    if (std::isnan(value)) return 0;
    if (value >= static_cast<double>(INT_MAX)) return INT_MAX;
    if (value <= static_cast<double>(INT_MIN)) return INT_MIN;
    return static_cast<int>(value);
}

double TemperatureToDisplay(double fahrenheit, int unit)
{
    if (IsNoValue(fahrenheit) || unit != UnitCelsius) return fahrenheit;
    return (fahrenheit - 32) * 5 * kCelsiusFactor;
}

double DisplayToTemperature(double value, int unit)
{
    if (IsNoValue(value) || unit != UnitCelsius) return value;
    return value * 1.8 + 32;
}

double BarometerToDisplay(double inHg, int unit)
{
    if (IsNoValue(inHg)) return inHg;
    if (unit == UnitMillimetre) return inHg * kMmPerInch;
    if (unit == UnitMillibar || unit == UnitHectopascal) return inHg * kMbPerInHg;
    return inHg;
}

double DisplayToBarometer(double value, int unit)
{
    double inHg = value;
    if (unit == UnitMillimetre)
        inHg = value * kInchesPerMm;
    else if (unit == UnitMillibar || unit == UnitHectopascal)
        inHg = value * kInHgPerMb;
    // Also catches NaN, which no pressure reading can be.
    if (!(inHg >= 0 && inHg <= kMaxBarometer)) return kNoValue;
    return inHg;
}

double WindToDisplay(double mph, int unit)
{
    if (IsNoValue(mph)) return mph;
    switch (unit) {
    case UnitKnots: return mph * 0.868976241901;
    case UnitKph: return mph * 1.609344;
    case UnitMetresPerSecond: return mph * 0.44704;
    default: return mph;
    }
}

double DisplayToWind(double value, int unit)
{
    if (value < 0) return kNoValue;
    switch (unit) {
    case UnitKnots: return value * 1.15077944802;
    case UnitKph: return value * 0.621371192237;
    case UnitMetresPerSecond: return value * 2.23693629205;
    default: return value;
    }
}

double RainToDisplay(double inches, int unit)
{
    if (IsNoValue(inches) || unit != UnitMillimetre) return inches;
    return inches * kMmPerInch;
}

double DisplayToRain(double value, int unit)
{
    if (IsNoValue(value) || unit != UnitMillimetre) return value;
    return value * kInchesPerMm;
}

std::string DisplayToModule(int moduleCode, const std::string& text,
                            const AomUnitSettings& units, bool scaled)
{
    const ModuleForm form = FormOf(moduleCode);
    if (text.empty() || form == ModuleForm::AsTyped) return text;
    if (!scaled && KeptAsTypedWhenPlain(form)) return text;
    const double value = ReadDouble(text);
    return scaled ? WriteScaled(form, value, units) : WritePlain(form, value, units);
}

std::string ModuleToDisplay(int moduleCode, const std::string& text,
                            const AomUnitSettings& units, bool scaled)
{
    const ModuleForm form = FormOf(moduleCode);
    if (text.empty() || form == ModuleForm::AsTyped) return text;
    if (!scaled && KeptAsTypedWhenPlain(form)) return text;
    return scaled ? ReadScaled(form, text, units) : ReadPlain(form, text, units);
}

std::string ModuleToExactText(int moduleCode, const std::string& text)
{
    const ModuleForm form = FormOf(moduleCode);
    if (text.empty() || form == ModuleForm::AsTyped) return text;
    return Fixed(ExactDecimals(form), ScaledToBase(form, text));
}

std::optional<std::string> DifferenceToModule(int moduleCode, const std::string& typed,
                                              const AomUnitSettings& units)
{
    const ModuleForm form = FormOf(moduleCode);
    if (typed.empty() || form == ModuleForm::AsTyped) return typed;
    const double base = DifferenceToBase(QuantityOf(form), ReadDouble(typed), units);
    // Checked before anything is scaled or rounded: the module keeps the
    // threshold in 15 bits, the 16th marks "Less Than or =".
    const double limit = kMaxBarometer + 0.5;
    if (!(std::fabs(base) < limit)) return std::nullopt;
    const std::string text = WriteScaled(form, base, kBaseUnits);
    const double stored = ReadDouble(text);
    if (!(stored > -limit && stored < limit)) return std::nullopt;
    return text;
}

std::string DifferenceToDisplay(int moduleCode, const std::string& moduleText,
                                const AomUnitSettings& units, bool exact)
{
    const ModuleForm form = FormOf(moduleCode);
    if (moduleText.empty() || form == ModuleForm::AsTyped) return moduleText;
    const double base = ScaledToBase(form, moduleText);
    if (exact) return Fixed(ExactDecimals(form), base);
    return Fixed(ShownDecimals(form, units), DifferenceToDisplayUnits(QuantityOf(form), base, units));
}
