#include "loggers/IrrigationConfig.h"

#include "link/ConsoleLink.h"
#include "settings/DBConfigParser.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "settings/SettingsKeys.h"

namespace {

std::string Convert(const std::string& text, double low, double high, double factor,
                    const char* format)
{
    const auto value = DecimalRule(text);
    if (!value || *value < low || *value > high) return {};
    return FormatText(format, *value * factor);
}

}  // namespace

bool MeansNoCutoff(const std::string& fieldText)
{
    return fieldText.find(kNoCutoffText) != std::string::npos;
}

std::string InchesTextToMm(const std::string& inches)
{
    return FormatText("%.1f", ReadDouble(inches) * kMmPerInch);
}

std::string SwitchedToInches(const std::string& mmText, double low, double high)
{
    return Convert(mmText, low, high, kInchesPerMm, "%.2f");
}

std::string SwitchedToMm(const std::string& inchText, double low, double high)
{
    return Convert(inchText, low, high, kMmPerInch, "%.1f");
}

std::string CutoffSwitchedToInches(const std::string& mmText)
{
    if (mmText == kNoCutoffText) return mmText;
    return SwitchedToInches(mmText, 0, kMaxRateMm);
}

std::string CutoffSwitchedToMm(const std::string& inchText)
{
    if (inchText == kNoCutoffText) return inchText;
    return SwitchedToMm(inchText, 0, kMaxRateInches);
}

std::optional<std::string> RainFieldToRecord(const std::string& text, bool displayInches,
                                             double maxInches, double maxMm)
{
    const auto value = DecimalRule(text);
    if (!value) return std::nullopt;
    // The logger's own arithmetic is single precision: 253.746 mm passes
    // because it is compared as the same float the limit is.
    float shown = static_cast<float>(*value);
    const float limit = static_cast<float>(displayInches ? maxInches : maxMm);
    if (!(shown >= 0.0f && shown <= limit)) return std::nullopt;
    const float inches = displayInches ? shown : static_cast<float>(shown * kInchesPerMm);
    return FormatText("%.2f", inches);
}

std::string RainRangeMessage(const char* format, bool displayInches, double maxInches,
                             double maxMm)
{
    return FormatText(format, 0.0, displayInches ? maxInches : maxMm);
}

std::string HundredthsKeyToInches(int hundredths)
{
    return FormatText("%.2f", hundredths * 0.01);
}

bool WholeRange::Holds(const std::string& text) const
{
    const auto value = WholeNumberRule(text);
    return value && *value >= low && *value <= high;
}

void StoreRainUnit(const CIrrigationSettings& record)
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", record.rainUnit);
    Settings().SetValue(key::IrrigationRainUnit, text);
}

bool WriteIrrigationSettings(const CIrrigationSettings& record)
{
    StoreRainUnit(record);
    const ModuleWritePlan plan = IrrigationWritePlan(record);
    return SendModuleWrites(plan) == plan.size();
}

bool WriteIrrigationAdvanced(const CIrrigationSettings& record)
{
    StoreRainUnit(record);
    const ModuleWritePlan plan = IrrigationAdvancedWritePlan(record);
    return SendModuleWrites(plan) == plan.size();
}
