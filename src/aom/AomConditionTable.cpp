#include "AomConditionTable.h"

#include "AlarmParameterTable.h"
#include "AomChoiceList.h"
#include "AomConditionRows.h"
#include "AomConversions.h"
#include "AomValidators.h"
#include "ConsoleLink.h"
#include "ModuleCommands.h"
#include "NumericText.h"

namespace {

enum Parameter { ParamConditions = 16, ParamOutputLogic = 18 };

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

}  // namespace

OutputConditionReplies QueryOutputConditions(int output)
{
    OutputConditionReplies r;
    const std::string argument = FormatText("%i", output);
    WakeConsoleQuick();
    if (ModuleQueryArg(ParamConditions, argument) == 0) r.conditions = ModuleReadLine();
    if (ModuleQueryArg(ParamOutputLogic, argument) == 0) r.logic = ModuleReadLine();
    return r;
}

std::vector<ConditionRowSummary> ConditionRowsFromReply(const std::string& reply, int logic,
                                                        const AomUnitSettings& units)
{
    std::vector<ConditionRowSummary> rows(kConditionRows);
    int n = 0;
    // Records that would fall below the last row are dropped.
    for (const ConditionFields& fields : ParseConditionReply(reply)) {
        if (n >= kConditionRows) break;
        ConditionRowSummary& row = rows[n++];
        const int code = ReadInt(RecordField(fields, 0));
        row.parameter = ParameterNameOf(code);
        const std::string typeField = RecordField(fields, 1);
        const int type = typeField.empty() ? CheckNone : ReadInt(typeField);
        if (type < 0 || type >= kCheckTypeCount || row.parameter.empty()) continue;
        row.checkType = OfferedCheck(code, type);
        auto shown = [&](std::size_t index) {
            const std::string text = RecordField(fields, index);
            return code == kTimeOfDay ? TimeForDisplay(text)
                                      : ModuleToDisplay(code, text, units, true);
        };
        switch (row.checkType) {
        case CheckGreaterOrEqual:
        case CheckLessOrEqual:
        case CheckEqual: row.value1 = shown(2); break;
        case CheckBetween:
        case CheckNotBetween:
            row.value1 = shown(2);
            row.value2 = shown(3);
            break;
        case CheckTrending:
            row.minutes = RecordField(fields, 2);
            row.value1 = shown(3);
            row.value2 = shown(4);
            break;
        case CheckMinus: {
            // The last row offers no "Minus", so a subtraction there stays unselected.
            if (n >= kConditionRows) {
                row.checkType = CheckNone;
                break;
            }
            ConditionRowSummary& second = rows[n++];
            const int secondCode = ReadInt(RecordField(fields, 2));
            second.parameter = ParameterNameOf(secondCode);
            const std::string stored = RecordField(fields, 3);
            if (!stored.empty()) {
                const MinusValue value = MinusValueFromModule(stored);
                second.checkType = value.checkType;
                second.value1 = DifferenceToDisplay(secondCode, value.moduleText, units);
            }
            break;
        }
        default: break;
        }
    }
    for (ConditionRowSummary& row : rows) row.grouping = OperatorText(logic);
    return rows;
}

std::vector<AomCondition> ConditionsFromRows(int output,
                                             const std::vector<ConditionRowSummary>& rows,
                                             const AomUnitSettings& units, int& logic)
{
    std::vector<AomCondition> conditions;
    logic = rows.empty() ? 0 : OutputLogicFromOperator(rows.front().grouping);
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const ConditionRowSummary& row = rows[n];
        if (row.parameter.empty()) continue;
        AomCondition condition;
        condition.output = output;
        condition.parameter = ResolveParameterCode(row.parameter);
        condition.checkType = row.checkType;
        if (condition.checkType == CheckMinus && n + 1 < rows.size()) {
            const ConditionRowSummary& second = rows[++n];
            condition.secondParameter = ResolveParameterCode(second.parameter);
            const std::string value =
                DifferenceToModule(condition.secondParameter, second.value1, units);
            condition.value1 = MinusValueForModule(value, second.checkType);
        } else if (condition.parameter == kTimeOfDay) {
            // A field that is not open (the second time of "=") is not sent.
            if (!row.value1.empty()) condition.value1 = TimeForModule(row.value1);
            if (!row.value2.empty()) condition.value2 = TimeForModule(row.value2);
        } else {
            std::string value1 = row.value1;
            std::string value2 = row.value2;
            if (condition.checkType == CheckBetween || condition.checkType == CheckNotBetween)
                OrderRange(condition.parameter, value1, value2);
            condition.value1 = DisplayToModule(condition.parameter, value1, units, true);
            condition.value2 = DisplayToModule(condition.parameter, value2, units, true);
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

std::optional<std::string> ValidateConditionRows(const std::vector<ConditionRowSummary>& rows,
                                                 const AomUnitSettings& units)
{
    for (std::size_t n = 0; n < rows.size(); ++n) {
        const ConditionRowSummary& row = rows[n];
        if (row.parameter.empty()) continue;
        if (ResolveParameterCode(row.parameter) == kNoParameter) return kSelectParameter;
        if (row.checkType == CheckNone) return kSelectCheckType;
        if (n > 0 && rows[n - 1].checkType == CheckMinus) continue;
        const std::optional<ValueKind> kind = ValueKindOf(row.parameter);
        // Bar trend states and low-battery flags carry no value.
        if (!kind || *kind == ValueKind::Flag) continue;
        const CheckFields open = FieldsOfCheck(row.checkType);
        auto check = [&](const std::string& text, bool enabled) {
            return *kind == ValueKind::TimeOfDay ? ValidateTimeOfDay(text, enabled)
                                                 : ValidateValue(*kind, text, enabled, units);
        };
        for (const ValueCheck& c :
             {check(row.value1, open.value1), check(row.value2, open.value2),
              *kind == ValueKind::TimeOfDay ? ValueCheck{} : ValidateMinutes(row.minutes, open.minutes)})
            if (!c.ok) return c.message;
    }
    return std::nullopt;
}
