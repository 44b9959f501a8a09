#include "cli/BackupFile.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomConditionTable.h"
#include "base/NumericText.h"

#include <set>
#include <sstream>

namespace {

constexpr const char* kOptionNames[] = {"logic", "release-delay", "reactivation-delay",
                                        "pulse-width", "circuit"};

std::string Trim(const std::string& text)
{
    const auto begin = text.find_first_not_of(" \t\r");
    if (begin == std::string::npos) return {};
    const auto end = text.find_last_not_of(" \t\r");
    return text.substr(begin, end - begin + 1);
}

std::vector<std::string> SplitBars(const std::string& text)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto bar = text.find('|', start);
        parts.push_back(Trim(text.substr(start, bar == std::string::npos ? bar : bar - start)));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

// A row number 1-8 after "row", 0 when the name is no row.
int RowNumber(const std::string& name)
{
    if (name.rfind("row ", 0) != 0) return 0;
    const auto number = WholeNumberRule(Trim(name.substr(4)));
    return number && *number >= 1 && *number <= kConditionRows ? *number : -1;
}

// "[output N]" with N 1-4; 0 for any other text.
int OutputSection(const std::string& text)
{
    constexpr const char* kHead = "[output";
    if (text.rfind(kHead, 0) != 0 || text.back() != ']') return 0;
    const std::string inner = Trim(text.substr(7, text.size() - 8));
    if (inner.size() != 1 || inner[0] < '1' || inner[0] > '0' + kAomOutputs) return 0;
    return inner[0] - '0';
}

// Text the file cannot give back as it was: the reader ends a value at the
// line end and trims blanks, tabs and carriage returns around it, and a row
// field ends at "|".
bool Unwritable(const std::string& text, bool rowField)
{
    if (text.find('\n') != std::string::npos) return true;
    if (rowField && text.find('|') != std::string::npos) return true;
    return !text.empty() && Trim(text) != text;
}

bool IsOptionName(const std::string& name)
{
    for (const char* option : kOptionNames)
        if (name == option) return true;
    return false;
}

}  // namespace

std::string FormatUnits(const AomUnitSettings& u)
{
    return FormatText("%d %d %d %d", u.temperature, u.barometer, u.wind, u.rain);
}

std::optional<AomUnitSettings> ParseUnits(const std::string& text)
{
    std::istringstream in(text);
    int t = 0, b = 0, w = 0, r = 0;
    std::string rest;
    if (!(in >> t >> b >> w >> r) || (in >> rest)) return std::nullopt;
    const bool ok = (t == UnitFahrenheit || t == UnitCelsius) &&
                    (b == UnitInch || b == UnitMillimetre || b == UnitMillibar ||
                     b == UnitHectopascal) &&
                    (w >= UnitMph && w <= UnitMetresPerSecond) &&
                    (r == UnitInch || r == UnitMillimetre);
    if (!ok) return std::nullopt;
    return AomUnitSettings{static_cast<UnitCode>(t), static_cast<UnitCode>(b),
                           static_cast<UnitCode>(w), static_cast<UnitCode>(r)};
}

std::string FormatBackup(const BackupContent& content, const std::vector<std::string>& header)
{
    std::string text;
    for (const std::string& line : header) text += "# " + line + "\n";
    text += "kind = " + content.kind + "\n";
    for (const NamedValue& v : content.settings) text += v.name + " = " + v.value + "\n";
    if (content.units) {
        text += "# Condition values in these units (config.txt codes of temperature, "
                "barometer, wind, rain)\n";
        text += "units = " + FormatUnits(*content.units) + "\n";
    }
    for (std::size_t n = 0; n < content.outputs.size(); ++n) {
        const BackupOutput& out = content.outputs[n];
        if (!out.present) continue;
        text += FormatText("\n[output %d]\n", static_cast<int>(n) + 1);
        for (const NamedValue& v : out.options) text += v.name + " = " + v.value + "\n";
        text += "# row N = parameter | check type | value 1 | value 2 | minutes\n";
        for (std::size_t r = 0; r < out.rows.size(); ++r) {
            const ConditionRowSummary& row = out.rows[r];
            if (row.parameter.empty()) continue;
            // No blanks at the end of a row without minutes.
            text += Trim(FormatText("row %d = ", static_cast<int>(r) + 1) + row.parameter +
                         " | " + CheckTypeText(row.checkType) + " | " + row.value1 + " | " +
                         row.value2 + " | " + row.minutes) +
                    "\n";
        }
    }
    return text;
}

std::string UnwritableSetting(const BackupContent& content)
{
    for (const NamedValue& v : content.settings)
        if (Unwritable(v.value, false)) return v.name;
    for (std::size_t n = 0; n < content.outputs.size(); ++n) {
        const BackupOutput& out = content.outputs[n];
        if (!out.present) continue;
        const std::string section = FormatText("output %d ", static_cast<int>(n) + 1);
        for (const NamedValue& v : out.options)
            if (Unwritable(v.value, false)) return section + v.name;
        for (std::size_t r = 0; r < out.rows.size(); ++r) {
            const ConditionRowSummary& row = out.rows[r];
            for (const std::string* field : {&row.parameter, &row.value1, &row.value2, &row.minutes})
                if (Unwritable(*field, true))
                    return section + FormatText("row %d", static_cast<int>(r) + 1);
        }
    }
    return {};
}

std::optional<BackupContent> ParseBackup(std::istream& in, std::string& error)
{
    BackupContent content;
    BackupOutput* output = nullptr;
    std::string line;
    int number = 0;
    bool anyByte = false;
    bool unitsGiven = false;
    std::set<std::string> names;  // of the top-level settings
    auto fail = [&](const std::string& reason) {
        error = FormatText("line %d: ", number) + reason;
        return std::nullopt;
    };
    while (std::getline(in, line)) {
        ++number;
        anyByte = anyByte || !line.empty() || !in.eof();
        // A byte-order mark, as some editors save UTF-8.
        if (number == 1 && line.rfind("\xEF\xBB\xBF", 0) == 0) line.erase(0, 3);
        const std::string text = Trim(line);
        if (text.empty() || text[0] == '#') continue;
        if (text[0] == '[') {
            const int n = OutputSection(text);
            if (n == 0) return fail("expected [output 1] to [output 4]: " + text);
            output = &content.outputs[static_cast<std::size_t>(n - 1)];
            if (output->present) return fail(FormatText("output %d given twice", n));
            output->present = true;
            output->rows.assign(kConditionRows, ConditionRow{});
            continue;
        }
        const auto equals = text.find('=');
        if (equals == std::string::npos) return fail("expected name = value: " + text);
        const std::string name = Trim(text.substr(0, equals));
        const std::string value = Trim(text.substr(equals + 1));
        if (name.empty()) return fail("no name before \"=\"");
        if (!output) {
            if (name == "kind") {
                if (!content.kind.empty()) return fail("kind given twice");
                if (!KindFromWord(value)) return fail("unknown logger kind " + value);
                content.kind = value;
            } else if (name == "units") {
                if (unitsGiven) return fail("units given twice");
                unitsGiven = true;
                content.units = ParseUnits(value);
                if (!content.units) return fail("units: four unit codes expected: " + value);
            } else {
                if (!names.insert(name).second) return fail(name + " given twice");
                content.settings.push_back({name, value});
            }
            continue;
        }
        if (const int row = RowNumber(name); row != 0) {
            if (row < 0) return fail("row number 1 to 8 expected: " + name);
            const std::vector<std::string> parts = SplitBars(value);
            if (parts.size() != 5) return fail("a row has five fields separated by \"|\"");
            ConditionRowSummary& summary = output->rows[static_cast<std::size_t>(row - 1)];
            if (!summary.parameter.empty()) return fail(name + " given twice");
            if (parts[0].empty()) return fail("a row names its parameter");
            summary.parameter = parts[0];
            summary.checkType = parts[1].empty() ? CheckNone : CheckTypeFromText(parts[1]);
            if (!parts[1].empty() && summary.checkType == CheckNone)
                return fail("unknown check type " + parts[1]);
            summary.value1 = parts[2];
            summary.value2 = parts[3];
            summary.minutes = parts[4];
            continue;
        }
        if (!IsOptionName(name)) return fail("unknown output setting " + name);
        for (const NamedValue& v : output->options)
            if (v.name == name) return fail(name + " given twice");
        output->options.push_back({name, value});
    }
    if (in.bad()) {
        error = "the file cannot be read";
        return std::nullopt;
    }
    if (!anyByte) {
        error = "the file is empty";
        return std::nullopt;
    }
    if (content.kind.empty()) {
        error = "no line names the logger kind (kind = ...)";
        return std::nullopt;
    }
    return content;
}
