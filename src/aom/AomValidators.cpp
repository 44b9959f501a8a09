#include "aom/AomValidators.h"

#include "aom/AomConversions.h"
#include "base/NumericText.h"

namespace {

// The module's rain and ET limits are single-precision numbers; they are
// compared with the typed value in double precision, so 99.99 typed in
// inches lies above 99.99f (99.98999786...) while 199.99 lies below 199.99f.
constexpr double kRainDailyMax = static_cast<double>(99.99f);
constexpr double kRainTotalMax = static_cast<double>(199.99f);

constexpr const char* kRange1 = "(%s)  Invalid, value must be between (%.1f and %.1f)";
constexpr const char* kRange2 = "(%s)  Invalid, value must be between (%.2f and %.2f)";
constexpr const char* kRangeWhole = "(%s)  Invalid, value must be between (%d and %d)!";
constexpr const char* kRangeInt = "(%s)  Invalid, value must be between (%i and %i)";
constexpr const char* kNotValid = " is not a valid entry!";

enum class Reading { Decimal, Whole, TruncatedTemperature };
enum class Base { None, Temperature, Barometer, Rain, Wind };
enum class Message { Range1, Range2, RangeWhole, RangeInt, NotValid, WindDirection };

struct Rule {
    Reading reading;
    const char* chars;  // null: any character
    Base base;
    double low;
    double high;
    Message message;
};

Rule RuleFor(ValueKind kind)
{
    using K = ValueKind;
    const char* whole = kWholeNumberChars;
    const char* decimal = kDecimalChars;
    switch (kind) {
    case K::Temperature: return {Reading::Decimal, nullptr, Base::Temperature, -90, 164, Message::Range1};
    case K::HeatIndex:
        return {Reading::TruncatedTemperature, nullptr, Base::Temperature, -90, 164, Message::RangeWhole};
    case K::DewPoint:
    case K::WindChill:
        return {Reading::TruncatedTemperature, nullptr, Base::Temperature, -120, 134, Message::RangeWhole};
    case K::Humidity: return {Reading::Whole, whole, Base::None, 0, 100, Message::NotValid};
    case K::WindSpeed: return {Reading::Decimal, nullptr, Base::Wind, 0, 180, Message::Range1};
    case K::WindDirection: return {Reading::Whole, whole, Base::None, 0, 360, Message::WindDirection};
    case K::Barometer: return {Reading::Decimal, nullptr, Base::Barometer, 16.0, 32.5, Message::Range1};
    case K::RainDaily: return {Reading::Decimal, nullptr, Base::Rain, 0, kRainDailyMax, Message::Range1};
    case K::RainTotal: return {Reading::Decimal, nullptr, Base::Rain, 0, kRainTotalMax, Message::Range1};
    case K::RainRate: return {Reading::Decimal, nullptr, Base::Rain, 0, kRainTotalMax, Message::Range2};
    case K::UvIndex: return {Reading::Decimal, decimal, Base::None, 0, 16, Message::Range1};
    case K::SolarRadiation: return {Reading::Whole, whole, Base::None, 0, 1800, Message::NotValid};
    case K::EtDaily: return {Reading::Decimal, nullptr, Base::Rain, 0, 65, Message::NotValid};
    case K::EtTotal: return {Reading::Decimal, nullptr, Base::Rain, 0, kRainTotalMax, Message::NotValid};
    case K::LeafWetness: return {Reading::Whole, whole, Base::None, 0, 15, Message::RangeInt};
    case K::SoilMoisture: return {Reading::Whole, whole, Base::None, 0, 200, Message::RangeInt};
    case K::BatteryVoltage: return {Reading::Decimal, decimal, Base::None, 0, 5, Message::Range1};
    case K::Reception: return {Reading::Decimal, decimal, Base::None, 0, 100, Message::Range1};
    case K::TimeOfDay:
    case K::Flag: break;
    }
    return {Reading::Decimal, nullptr, Base::None, 0, 0, Message::NotValid};
}

double ToBase(Base base, double value, const AomUnitSettings& units)
{
    switch (base) {
    case Base::Temperature: return DisplayToTemperature(value, units.temperature);
    case Base::Barometer: return DisplayToBarometer(value, units.barometer);
    case Base::Rain: return DisplayToRain(value, units.rain);
    case Base::Wind: return DisplayToWind(value, units.wind);
    case Base::None: break;
    }
    return value;
}

double ToDisplay(Base base, double value, const AomUnitSettings& units)
{
    switch (base) {
    case Base::Temperature: return TemperatureToDisplay(value, units.temperature);
    case Base::Barometer: return BarometerToDisplay(value, units.barometer);
    case Base::Rain: return RainToDisplay(value, units.rain);
    case Base::Wind: return WindToDisplay(value, units.wind);
    case Base::None: break;
    }
    return value;
}

ValueCheck Fail(std::string message)
{
    return {false, std::move(message)};
}

ValueCheck Refuse(const Rule& rule, const std::string& text, const AomUnitSettings& units)
{
    const char* shown = text.c_str();
    const double low = ToDisplay(rule.base, rule.low, units);
    const double high = ToDisplay(rule.base, rule.high, units);
    switch (rule.message) {
    case Message::Range1: return Fail(FormatText(kRange1, shown, low, high));
    case Message::Range2: return Fail(FormatText(kRange2, shown, low, high));
    case Message::RangeWhole:
        return Fail(FormatText(kRangeWhole, shown, TruncateToInt(low), TruncateToInt(high)));
    case Message::RangeInt:
        return Fail(FormatText(kRangeInt, shown, TruncateToInt(low), TruncateToInt(high)));
    case Message::WindDirection:
        return Fail(FormatText("(%s)  Invalid, value must be between (0 and 360)", shown));
    case Message::NotValid: break;
    }
    return Fail(text + kNotValid);
}

bool WithinLimits(const Rule& rule, const std::string& text, const AomUnitSettings& units)
{
    switch (rule.reading) {
    case Reading::Whole: {
        const double value = ToBase(rule.base, ReadInt(text), units);
        return value >= rule.low && value <= rule.high;
    }
    case Reading::TruncatedTemperature: {
        const double value = ToBase(rule.base, ReadDouble(text), units);
        if (value != value) return false;  // NaN
        const int whole = TruncateToInt(value);
        return whole >= rule.low && whole <= rule.high;
    }
    case Reading::Decimal: {
        const double value = ToBase(rule.base, ReadDouble(text), units);
        return value >= rule.low && value <= rule.high;
    }
    }
    return false;
}

}  // namespace

ValueCheck ValidateValue(ValueKind kind, const std::string& text, bool enabled,
                         const AomUnitSettings& units)
{
    if (kind == ValueKind::Flag) return {};
    if (kind == ValueKind::TimeOfDay) return ValidateTimeOfDay(text, enabled);
    if (!enabled) return {};
    if (text.empty()) return Fail(kEmptyFieldMessage);
    const Rule rule = RuleFor(kind);
    if (rule.chars && !OnlyCharsFrom(text, rule.chars)) return Refuse(rule, text, units);
    if (WithinLimits(rule, text, units)) return {};
    return Refuse(rule, text, units);
}

ValueCheck ValueRefusal(ValueKind kind, const std::string& text, const AomUnitSettings& units)
{
    if (kind == ValueKind::TimeOfDay) {
        const ValueCheck check = ValidateTimeOfDay(text, true);
        if (!check.ok) return check;
        return Fail(FormatText("(%s)  Invalid, hour field must be between (0 and 23)", text.c_str()));
    }
    return Refuse(RuleFor(kind), text, units);
}

bool PassesTypedFilter(const std::string& text, bool allowMinus)
{
    for (unsigned char c : text)
        if (IsRejectedTypedChar(c, allowMinus)) return false;
    return true;
}

ValueCheck ValidateMinutes(const std::string& text, bool enabled)
{
    constexpr int kLowest = 1;
    constexpr int kHighest = 255;
    if (!enabled) return {};
    if (text.empty()) return Fail(kEmptyFieldMessage);
    if (OnlyCharsFrom(text, kWholeNumberChars)) {
        const int minutes = ReadInt(text);
        if (minutes >= kLowest && minutes <= kHighest) return {};
    }
    return Fail(FormatText("(%s)  Invalid time entry!  Must be between (%i min. and %i min.)",
                           text.c_str(), kLowest, kHighest));
}

ValueCheck ValidateTimeOfDay(const std::string& text, bool enabled)
{
    if (!enabled) return {};
    if (text.empty()) return Fail(kEmptyFieldMessage);
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return Fail(FormatText(
            "(%s)  Invalid, need to insert ':' between hour and minute fields.", text.c_str()));
    const std::string hour = text.substr(0, colon);
    const std::string minute = text.substr(colon + 1);
    if (hour.empty() || !OnlyCharsFrom(hour, kWholeNumberChars) || ReadInt(hour) < 0 ||
        ReadInt(hour) > 23)
        return Fail(FormatText("(%s)  Invalid, hour field must be between (0 and 23)", text.c_str()));
    if (!OnlyCharsFrom(minute, kWholeNumberChars) || ReadInt(minute) < 0 || ReadInt(minute) > 59)
        return Fail(
            FormatText("(%s)  Invalid, minute field must be between (0 and 59)", text.c_str()));
    return {};
}

UserMessage ValidationMessage(const ValueCheck& check)
{
    UserMessage message;
    message.text = check.message;
    message.caption = kValidationCaption;
    message.icon = MsgIcon::Error;
    return message;
}
