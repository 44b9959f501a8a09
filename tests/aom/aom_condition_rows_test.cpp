// The conditions page's rules without widgets: the condition reply, times,
// the subtraction's stored value and the operator.
#include "AlarmParameterTable.h"
#include "AomConditionRows.h"

#include <gtest/gtest.h>

namespace {

TEST(ConditionReply, RecordsAtSemicolonsFieldsAtBlanks)
{
    const auto records = ParseConditionReply("17 0 850;17 7  129 50;;4 5;");
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1], (ConditionFields{"17", "7", "129", "50"}));
    EXPECT_EQ(RecordField(records[2], 1), "5");
    EXPECT_EQ(RecordField(records[2], 2), "");  // missing at the end: empty
    EXPECT_TRUE(ParseConditionReply("").empty());
}

TEST(ConditionTime, ShownAsHoursAndMinutesStoredWithLeadingZeros)
{
    const struct { const char *module, *shown; } shown[] = {
        {"0", "00:00"}, {"5", "00:05"}, {"45", "0:45"}, {"730", "7:30"}, {"2359", "23:59"}, {"", ""},
    };
    for (const auto& c : shown) EXPECT_EQ(TimeForDisplay(c.module), c.shown) << c.module;
    const struct { const char *typed, *stored; } stored[] = {
        {"7:30", "0730"}, {"23:59", "2359"}, {"0:5", "0005"}, {"12", "1200"},
    };
    for (const auto& c : stored) EXPECT_EQ(TimeForModule(c.typed), c.stored) << c.typed;
}

TEST(ConditionMinus, SecondRowsComparisonEncodedInTheValue)
{
    const struct { const char* value; int check; const char* stored; } cases[] = {
        {"50", CheckLessOrEqual, "65486"}, {"0", CheckLessOrEqual, "0"},
        {"-50", CheckLessOrEqual, "50"},   {"-50", CheckGreaterOrEqual, "50"},
        {"5-0", CheckGreaterOrEqual, "50"}, {"-50", CheckNone, "-50"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(MinusValueForModule(c.value, c.check), c.stored) << c.value << " " << c.check;
    // Bit 0x8000 marks "Less Than or =".
    for (const char* stored : {"65486", "50"}) {
        const MinusValue value = MinusValueFromModule(stored);
        EXPECT_EQ(value.checkType, stored[1] == '5' ? CheckLessOrEqual : CheckGreaterOrEqual);
        EXPECT_EQ(value.moduleText, "50");
    }
}

TEST(ConditionMinus, ThresholdConvertedAsADifference)
{
    constexpr AomUnitSettings kF{UnitFahrenheit, UnitInch, UnitMph, UnitInch};
    constexpr AomUnitSettings kC{UnitCelsius, UnitMillimetre, UnitKph, UnitMillimetre};
    const struct { int code; const char *shown, *stored; AomUnitSettings units; } cases[] = {
        {2, "5.0", "50", kF}, {2, "5.0", "90", kC}, {24, "5", "5", kF}, {129, "3", "30", kF},
        {10, "12.7", "50", kC}, {20, "16.1", "10", kC}, {3, "5", "5", kC},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DifferenceToModule(c.code, c.shown, c.units), c.stored) << c.code << " " << c.shown;
        EXPECT_EQ(DifferenceToDisplay(c.code, c.stored, c.units), c.shown) << c.code << " " << c.stored;
    }
}

TEST(ConditionOperator, TextAndNumber)
{
    const struct { const char* text; int logic; } cases[] = {{"OR", 0}, {"AND", 1}, {"XOR", 2}, {"DONE", 1}, {"", 1}};
    for (const auto& c : cases) EXPECT_EQ(OutputLogicFromOperator(c.text), c.logic) << c.text;
    EXPECT_EQ(OperatorText(0) + OperatorText(1) + OperatorText(2) + OperatorText(3) + OperatorText(-1),
              "ORANDXORDONEDONE");
}

}  // namespace
