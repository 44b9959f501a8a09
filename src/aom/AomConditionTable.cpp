#include "aom/AomConditionTable.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomChoiceList.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConversions.h"
#include "aom/AomValidators.h"
#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/Pause.h"

#include <algorithm>

namespace {

enum Parameter {
    ParamClearConditions = 15,
    ParamConditions = 16,  // the heads when written, the whole output when queried
    ParamConditionValues = 17,
    ParamOutputLogic = 18,
};

// The module takes this long to settle after a new set of conditions.
constexpr int kAfterOutputMs = 1000;

// The name the page's parameter list selects for a module code: empty when
// the station does not offer it.
std::string ParameterNameOf(int moduleCode)
{
    VectorChoiceList list;
    FillParameterList(list);
    return list.Text(SelectParameterByCode(list, moduleCode));
}

// The check type the row's list selects: none when the parameter does not
// offer it.
int OfferedCheck(int moduleCode, int type)
{
    VectorChoiceList list;
    FillCheckTypeList(list, moduleCode);
    return FindExact(list, CheckTypeText(type)) >= 0 ? type : CheckNone;
}

bool Offered(const std::string& name, MinusGroup group)
{
    VectorChoiceList list;
    if (group == MinusNone)
        FillParameterList(list);
    else
        FillParameterList(list, group);
    return FindExact(list, name) >= 0;
}

// Two operands of one subtraction: row n is "Minus" and has a row below.
bool StartsSubtraction(const std::vector<ConditionRow>& rows, std::size_t n)
{
    return rows[n].checkType == CheckMinus && !rows[n].parameter.empty();
}

RowRefusal Plain(std::size_t row, ConditionField field, std::string message)
{
    return {static_cast<int>(row), field, std::move(message), false};
}

RowRefusal FromCheck(std::size_t row, ConditionField field, const ValueCheck& check)
{
    return {static_cast<int>(row), field, check.message, true};
}

// The subtraction's threshold as the module keeps it: the held text when
// the row still shows what was held.
std::string ThresholdForModule(const ConditionRow& second, int code,
                               const AomUnitSettings& units)
{
    if (second.heldParameter == second.parameter && second.heldCheck == second.checkType &&
        !second.held1.empty() &&
        second.value1 ==
            DifferenceToDisplay(code, MinusValueFromModule(second.held1).moduleText, units))
        return second.held1;
    const std::string value = DifferenceToModule(code, second.value1, units).value_or(second.value1);
    return MinusValueForModule(value, second.checkType);
}

}  // namespace

OutputConditionReplies QueryOutputConditions(int output)
{
    OutputConditionReplies r;
    const std::string argument = FormatText("%i", output);
    WakeConsoleQuick();
    std::optional<std::string> conditions;
    std::optional<std::string> logic;
    if (ModuleQueryArg(ParamConditions, argument) == 0) conditions = ModuleReadReply();
    if (ModuleQueryArg(ParamOutputLogic, argument) == 0) logic = ModuleReadReply();
    r.conditions = conditions.value_or(std::string());
    r.logic = logic.value_or(std::string());
    // The module always answers the logic with its number, and holds
    // nothing but numbers in its conditions.
    r.read = conditions && logic && WholeNumberRule(*logic).has_value() &&
             IsConditionReplyWellFormed(*conditions);
    return r;
}

std::string UnreadOutputsText(const std::vector<int>& outputs)
{
    std::string list;
    for (std::size_t i = 0; i < outputs.size(); ++i)
        list += (i == 0 ? "" : i + 1 == outputs.size() ? " and " : ", ") +
                FormatText("%i", outputs[i] + 1);
    return FormatText("The module gave no readable answer for the conditions of output%s %s.  "
                      "Those outputs are shown empty and are not sent; close this form and open "
                      "it again to read them.",
                      outputs.size() == 1 ? "" : "s", list.c_str());
}

std::vector<ConditionRow> ConditionRowsFromReply(const std::string& reply, int logic,
                                                        const AomUnitSettings& units,
                                                        RowValues values)
{
    std::vector<ConditionRow> rows(kConditionRows);
    // A malformed reply is a failed read: nothing of it is shown.
    if (!IsConditionReplyWellFormed(reply)) return rows;
    const bool exact = values == RowValues::Exact;
    int n = 0;
    // Records that would fall below the last row are dropped.
    for (const ConditionFields& fields : ParseConditionReply(reply)) {
        if (n >= kConditionRows) break;
        ConditionRow& row = rows[n++];
        const int code = ReadInt(RecordField(fields, 0));
        row.parameter = ParameterNameOf(code);
        const std::string typeField = RecordField(fields, 1);
        const int type = typeField.empty() ? CheckNone : ReadInt(typeField);
        if (type < 0 || type >= kCheckTypeCount || row.parameter.empty()) continue;
        row.checkType = OfferedCheck(code, type);
        row.heldParameter = row.parameter;
        row.heldCheck = row.checkType;
        auto shown = [&](std::size_t index, std::string& held) {
            held = RecordField(fields, index);
            if (code == kTimeOfDay) return TimeForDisplay(held);
            return exact ? ModuleToExactText(code, held) : ModuleToDisplay(code, held, units, true);
        };
        switch (row.checkType) {
        case CheckGreaterOrEqual:
        case CheckLessOrEqual:
        case CheckEqual: row.value1 = shown(2, row.held1); break;
        case CheckBetween:
        case CheckNotBetween:
            row.value1 = shown(2, row.held1);
            row.value2 = shown(3, row.held2);
            break;
        case CheckTrending:
            row.minutes = RecordField(fields, 2);
            row.value1 = shown(3, row.held1);
            row.value2 = shown(4, row.held2);
            break;
        case CheckMinus: {
            // The last row offers no "Minus", so a subtraction there stays unselected.
            if (n >= kConditionRows) {
                row.checkType = row.heldCheck = CheckNone;
                break;
            }
            ConditionRow& second = rows[n++];
            const int secondCode = ReadInt(RecordField(fields, 2));
            second.parameter = second.heldParameter = ParameterNameOf(secondCode);
            const std::string stored = RecordField(fields, 3);
            if (!stored.empty()) {
                const MinusValue value = MinusValueFromModule(stored);
                second.checkType = second.heldCheck = value.checkType;
                second.held1 = stored;
                second.value1 = DifferenceToDisplay(secondCode, value.moduleText, units, exact);
            }
            break;
        }
        default: break;
        }
    }
    for (ConditionRow& row : rows) row.grouping = OperatorText(logic);
    return rows;
}

std::vector<AomCondition> ConditionsFromRows(int output,
                                             const std::vector<ConditionRow>& rows,
                                             const AomUnitSettings& units, int& logic)
{
    std::vector<AomCondition> conditions;
    logic = 1;
    for (const ConditionRow& row : rows)
        if (!row.grouping.empty()) {
            logic = OutputLogicFromOperator(row.grouping);
            break;
        }
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const ConditionRow& row = rows[n];
        if (row.parameter.empty()) continue;
        AomCondition condition;
        condition.output = output;
        condition.parameter = ResolveParameterCode(row.parameter);
        condition.checkType = row.checkType;
        if (condition.checkType == CheckMinus && n + 1 < rows.size()) {
            const ConditionRow& second = rows[++n];
            condition.secondParameter = ResolveParameterCode(second.parameter);
            condition.value1 = ThresholdForModule(second, condition.secondParameter, units);
        } else if (condition.parameter == kTimeOfDay) {
            // A field that is not open (the second time of "=") is not sent.
            if (!row.value1.empty()) condition.value1 = TimeForModule(row.value1);
            if (!row.value2.empty()) condition.value2 = TimeForModule(row.value2);
        } else {
            const bool same = row.heldParameter == row.parameter && row.heldCheck == row.checkType;
            auto toModule = [&](const std::string& typed, const std::string& held) {
                if (same && !held.empty() &&
                    typed == ModuleToDisplay(condition.parameter, held, units, true))
                    return held;
                return DisplayToModule(condition.parameter, typed, units, true);
            };
            std::string value1 = row.value1;
            std::string value2 = row.value2;
            std::string held1 = row.held1;
            std::string held2 = row.held2;
            if (condition.checkType == CheckBetween || condition.checkType == CheckNotBetween) {
                OrderRange(condition.parameter, value1, value2);
                if (value1 != row.value1) std::swap(held1, held2);
            }
            condition.value1 = toModule(value1, held1);
            condition.value2 = toModule(value2, held2);
            if (condition.checkType == CheckTrending) condition.trendPeriod = row.minutes;
        }
        conditions.push_back(condition);
    }
    return conditions;
}

CheckFields FieldsOfCheck(int checkType)
{
    switch (checkType) {
    case CheckGreaterOrEqual:
    case CheckLessOrEqual:
    case CheckEqual: return {true, false, false};
    case CheckBetween:
    case CheckNotBetween: return {true, true, false};
    case CheckTrending: return {true, true, true};
    default: return {};
    }
}

namespace {

std::optional<RowRefusal> CheckSecondOperand(const std::vector<ConditionRow>& rows,
                                             std::size_t n, const AomUnitSettings& units)
{
    const ConditionRow& row = rows[n];
    const AlarmParameter* a = AlarmParameters().ByName(rows[n - 1].parameter);
    const AlarmParameter* b = AlarmParameters().ByName(row.parameter);
    if (!a || !b || !Offered(row.parameter, a->group))
        return Plain(n, ConditionField::Parameter, kSelectParameter);
    if (ResolveParameterCode(row.parameter) == kMissingSensor)
        return Plain(n, ConditionField::Parameter, FormatText(kSensorMissing, row.parameter.c_str()));
    // Without its comparison the subtraction would go out as "Greater Than
    // or =" unasked.
    if (row.checkType != CheckGreaterOrEqual && row.checkType != CheckLessOrEqual)
        return Plain(n, ConditionField::CheckType, kSelectCheckType);
    if (row.value1.empty())
        return FromCheck(n, ConditionField::Value1, ValidateValue(b->kind, row.value1, true, units));
    // The threshold field takes no minus sign.
    if (!PassesTypedFilter(row.value1, false))
        return FromCheck(n, ConditionField::Value1, ValueRefusal(b->kind, row.value1, units));
    const ValueCheck check = ValidateValue(b->kind, row.value1, true, units);
    if (!check.ok) return FromCheck(n, ConditionField::Value1, check);
    if (!DifferenceToModule(ResolveParameterCode(row.parameter), row.value1, units))
        return FromCheck(n, ConditionField::Value1, ValueRefusal(b->kind, row.value1, units));
    return std::nullopt;
}

std::optional<RowRefusal> CheckRow(const std::vector<ConditionRow>& rows, std::size_t n,
                                   const AomUnitSettings& units)
{
    const ConditionRow& row = rows[n];
    const int code = ResolveParameterCode(row.parameter);
    if (code == kNoParameter || !Offered(row.parameter, MinusNone))
        return Plain(n, ConditionField::Parameter, kSelectParameter);
    if (row.checkType == CheckNone || OfferedCheck(code, row.checkType) == CheckNone)
        return Plain(n, ConditionField::CheckType, kSelectCheckType);
    // The last row offers no "Minus": it has no row below for the second operand.
    if (row.checkType == CheckMinus && n + 1 >= rows.size())
        return Plain(n, ConditionField::CheckType, kSelectCheckType);
    if (row.groupingOpen && row.grouping.empty())
        return Plain(n, ConditionField::Grouping, kSelectGrouping);
    const std::optional<ValueKind> kind = ValueKindOf(row.parameter);
    // Bar trend states and low-battery flags carry no value.
    if (!kind || *kind == ValueKind::Flag) return std::nullopt;
    const CheckFields open = FieldsOfCheck(row.checkType);
    const bool time = *kind == ValueKind::TimeOfDay;
    auto check = [&](const std::string& text, bool enabled, ConditionField field)
        -> std::optional<RowRefusal> {
        if (!enabled) return std::nullopt;
        if (!time && !text.empty() && !PassesTypedFilter(text, true))
            return FromCheck(n, field, ValueRefusal(*kind, text, units));
        const ValueCheck c = ValidateValue(*kind, text, enabled, units);
        if (!c.ok) return FromCheck(n, field, c);
        return std::nullopt;
    };
    if (auto r = check(row.value1, open.value1, ConditionField::Value1)) return r;
    if (auto r = check(row.value2, open.value2, ConditionField::Value2)) return r;
    if (time || !open.minutes) return std::nullopt;
    const ValueCheck minutes = ValidateMinutes(row.minutes, true);
    if (!minutes.ok) return FromCheck(n, ConditionField::Minutes, minutes);
    return std::nullopt;
}

}  // namespace

std::optional<RowRefusal> ValidateConditionRows(const std::vector<ConditionRow>& rows,
                                                const AomUnitSettings& units)
{
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const bool second = n > 0 && StartsSubtraction(rows, n - 1);
        if (rows[n].parameter.empty()) {
            // A subtraction needs the parameter it takes away.
            if (second || rows[n].inUse) return Plain(n, ConditionField::Parameter, kSelectParameter);
            continue;
        }
        if (auto refusal = second ? CheckSecondOperand(rows, n, units) : CheckRow(rows, n, units))
            return refusal;
        if (second) continue;
        // A subtraction on the last row has none below it.
        if (rows[n].checkType == CheckMinus && n + 1 >= rows.size())
            return Plain(n, ConditionField::CheckType, kSelectCheckType);
    }
    return std::nullopt;
}

std::optional<RowRefusal> PlanOutputConditions(int output,
                                               const std::vector<ConditionRow>& rows,
                                               const AomUnitSettings& units,
                                               OutputConditionPlan& plan)
{
    if (auto refusal = ValidateConditionRows(rows, units)) return refusal;
    OutputConditionPlan built;
    built.output = output;
    built.conditions = ConditionsFromRows(output, rows, units, built.logic);
    // A line the module cannot take would leave the output cleared: the
    // field that made it too long is refused (a number with many leading
    // zeros passes its validator).
    std::size_t row = 0;
    for (const AomCondition& c : built.conditions) {
        while (row < rows.size() && rows[row].parameter.empty()) ++row;
        const bool fits =
            ModuleSetLine(ParamConditions, ConditionHead(output, c)).size() <= kMaxModuleLineLength &&
            ModuleSetLine(ParamConditionValues, ConditionValues(output, c)).size() <= kMaxModuleLineLength;
        if (!fits && row < rows.size()) {
            const ConditionRow& r = rows[row];
            if (r.minutes.size() > r.value1.size() && r.minutes.size() > r.value2.size())
                return FromCheck(row, ConditionField::Minutes,
                                 {false, FormatText("(%s)  Invalid time entry!  Must be between "
                                                    "(%i min. and %i min.)",
                                                    r.minutes.c_str(), 1, 255)});
            // A subtraction's threshold is the second row's value.
            const std::size_t at = c.checkType == CheckMinus ? row + 1 : row;
            const ConditionRow& holder = rows[std::min(at, rows.size() - 1)];
            const bool second = holder.value2.size() > holder.value1.size();
            return FromCheck(at, second ? ConditionField::Value2 : ConditionField::Value1,
                             ValueRefusal(ValueKindOf(holder.parameter).value_or(ValueKind::Flag),
                                          second ? holder.value2 : holder.value1, units));
        }
        row += c.checkType == CheckMinus ? 2 : 1;
    }
    plan = std::move(built);
    return std::nullopt;
}

std::vector<std::string> PlanLines(const OutputConditionPlan& plan)
{
    std::vector<std::string> lines{ModuleSetLine(ParamClearConditions, FormatText("%i", plan.output))};
    for (const AomCondition& c : plan.conditions) {
        if (c.parameter == kMissingSensor) continue;
        lines.push_back(ModuleSetLine(ParamConditions, ConditionHead(plan.output, c)));
        lines.push_back(ModuleSetLine(ParamConditionValues, ConditionValues(plan.output, c)));
    }
    lines.push_back(ModuleSetLine(ParamOutputLogic, FormatText("%i %i", plan.output, plan.logic)));
    return lines;
}

bool WriteOutputConditions(CAomSettings& record, const OutputConditionPlan& plan)
{
    record.ClearOutput(plan.output);
    for (const AomCondition& c : plan.conditions) record.AppendCondition(plan.output, c);
    record.outputLogic = plan.logic;
    if (!SendOutputConditions(record, plan.output)) return false;
    PauseMs(kAfterOutputMs);
    return true;
}
