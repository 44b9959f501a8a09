// Typed numbers: the whole-number and decimal rules (which must read alike
// under a comma-decimal locale), a condition row of any parameter and check
// type with the typed values, which when the page's checks pass goes to the
// simulated module, and the unit conversions both ways.
#include "aom/AlarmParameterTable.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConversions.h"
#include "FuzzSupport.h"
#include "loggers/LoggerChecks.h"

#include <clocale>

namespace {

constexpr const char* kCommaLocale = "de_DE.UTF-8";

// Every reading of the text in one line; %a keeps each double exact.
std::string Read(const std::string& text)
{
    const auto whole = WholeNumberRule(text);
    const auto decimal = DecimalRule(text);
    return FormatText("%d %d %d %a %d %a %.2f", whole.has_value(), whole.value_or(0), decimal.has_value(),
                      decimal.value_or(0), ReadInt(text), ReadDouble(text), ReadDouble(text));
}

void RulesUnderBothLocales(const std::string& text)
{
    const std::string c = Read(text);
    if (!std::setlocale(LC_NUMERIC, kCommaLocale)) return;
    const std::string comma = Read(text);
    std::setlocale(LC_NUMERIC, "C");
    if (c != comma) FuzzFinding("\"" + text + "\" reads differently under " + kCommaLocale);
}

void JudgeRow(FuzzInput& input, const std::string& value1, const std::string& value2,
              const AomUnitSettings& units)
{
    const auto& table = AlarmParameters().Rows();
    const AlarmParameter& p = table[static_cast<std::size_t>(input.Pick(static_cast<int>(table.size())))];
    const int check = input.Pick(kCheckTypeCount);
    if (!CheckSetOffers(p.checks, check)) return;
    std::vector<ConditionRow> rows(kConditionRows);
    static_cast<ConditionRowSummary&>(rows[0]) = {p.name, check, "AND", value1, value2, value1};
    if (check == CheckMinus) {
        const auto& members = AlarmParameters().GroupMembers(p.group);
        if (members.empty()) return;
        const AlarmParameter* second =
            AlarmParameters().ByCode(members[static_cast<std::size_t>(input.Pick(static_cast<int>(members.size())))]);
        if (!second) return;
        static_cast<ConditionRowSummary&>(rows[1]) = {second->name, input.Pick(2), "AND", "", "", ""};
    }
    if (const auto line = FirstRefusedRows(0, rows, units))
        FuzzFinding(p.name + " \"" + value1 + "\" \"" + value2 + "\" passed the page, the module refuses \"" +
                    *line + "\"");
}

void Conversions(const std::string& text, int unit)
{
    const double v = ReadDouble(text);
    for (double x : {DisplayToTemperature(v, unit), TemperatureToDisplay(v, unit), DisplayToBarometer(v, unit),
                     BarometerToDisplay(v, unit), DisplayToWind(v, unit), WindToDisplay(v, unit),
                     DisplayToRain(v, unit), RainToDisplay(v, unit)})
        TruncateToInt(x);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    const int b = input.Byte();
    const AomUnitSettings units = UnitsFrom(b);
    const bool comma = b & 0x40;
    const std::string value1 = input.Line();
    const std::string value2 = input.Line();
    RulesUnderBothLocales(value1);
    if (comma) std::setlocale(LC_NUMERIC, kCommaLocale);
    WholeInRange(value1, -999, 999);
    Conversions(value1, input.Pick(11));
    const int code = input.Byte();
    ModuleToDisplay(code, value1, units, true);
    DisplayToModule(code, value1, units, true);
    JudgeRow(input, value1, value2, units);
    if (comma) std::setlocale(LC_NUMERIC, "C");
    return 0;
}
