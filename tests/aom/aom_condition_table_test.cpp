// An output's condition reply as the page's rows, in display units, and
// those rows back to the lines the module is sent.
#include "AlarmParameterTable.h"
#include "AomCommands.h"
#include "AomConditionTable.h"
#include "SettingsKeys.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct TableCase {
    const char* name;
    const char* reply;
    UnitCode temperature;
    std::vector<std::string> rows;   // "parameter|check|value1|value2|minutes" of the used rows
    std::vector<std::string> lines;  // condition head and values arguments, back to the module
};
void PrintTo(const TableCase& c, std::ostream* os) { *os << c.name; }

class ConditionTable : public ::testing::TestWithParam<TableCase> {};

TEST_P(ConditionTable, ReplyToRowsAndBack)
{
    TempWorkDir dir("AOM_STATION_CONFIG=0$\n");
    const TableCase& c = GetParam();
    AomUnitSettings units;
    units.temperature = c.temperature;
    const auto rows = ConditionRowsFromReply(c.reply, 2, units);
    ASSERT_EQ(rows.size(), 8u);
    std::vector<std::string> shown;
    for (const ConditionRowSummary& r : rows) {
        EXPECT_EQ(r.grouping, "XOR");
        if (!r.parameter.empty())
            shown.push_back(r.parameter + "|" + CheckTypeText(r.checkType) + "|" + r.value1 + "|" +
                            r.value2 + "|" + r.minutes);
    }
    EXPECT_EQ(shown, c.rows);
    int logic = -1;
    std::vector<std::string> lines;
    for (const AomCondition& condition : ConditionsFromRows(1, rows, units, logic))
        lines.push_back(ConditionHead(1, condition) + " / " + ConditionValues(1, condition));
    EXPECT_EQ(logic, 2);
    EXPECT_EQ(lines, c.lines);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ConditionTable,
    ::testing::Values(
        TableCase{"Celsius", "17 0 850;2 3 600 700", UnitCelsius,
                  {"Outside Temperature|Greater Than or =|29.4||", "Inside Temperature|Not Between|15.6|21.1|"},
                  {"1 17 0 / 1 17 849", "1 2 3 / 1 2 600 699"}},
        TableCase{"TrendAndTime", "19 4 30 10 25;128 6 730", UnitFahrenheit,
                  {"Current Wind Speed|Trending|10|25|30", "Time|=|7:30||"},
                  {"1 19 4 30 / 1 19 10 25", "1 128 6 / 1 128 0730"}},
        TableCase{"MinusLessThan", "17 7 129 65486", UnitCelsius,
                  // The page shows a difference in whole degrees: 5.0 F apart reads 3 C.
                  {"Outside Temperature|Minus|||", "Outside Dewpoint|Less Than or =|3||"},
                  {"1 17 7 129 / 1 17 65482"}},
        TableCase{"UnknownCheckLeavesTheRowWithoutOne", "17 12 5", UnitFahrenheit,
                  {"Outside Temperature||||"}, {"1 17 -1 / 1 17 "}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
