// The rules that tie a page's rows: what a parameter, a check type or a
// grouping chosen in one row opens, narrows or resets in the others.
#include "aom/ui/CAomConditionsPage.h"
#include "aom/ui/ConditionsPageLists.h"

#include "aom/AomConditionTable.h"
#include "aom/AomConversions.h"
#include "aom/AomValidators.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>

using namespace conditions_page;

void CAomConditionsPage::ParameterChanged(int n)
{
    Row& row = rows_[n];
    if (IsSecondOperand(n)) {
        row.value2->setEnabled(false);
        row.minutes->setEnabled(false);
        RefreshUnitLabels();
        // The pair's operator opens the row below; a row already open keeps
        // what it holds (laying it out again would empty its own second row).
        if (row.grouping && row.grouping->currentIndex() > 0 &&
            !rows_[n + 1].parameter->isEnabledTo(this))
            ParameterChanged(n + 1);
        return;
    }
    const int before = CheckOf(n);
    if (row.grouping) row.grouping->setEnabled(true);
    row.parameter->setEnabled(true);
    // A row opened by the grouping above comes with its check types closed.
    row.check->setEnabled(true);
    if (row.check->currentIndex() >= 0) {
        row.value1->setEnabled(true);
        row.value2->setEnabled(true);
        row.minutes->setEnabled(true);
    }
    {
        ComboChoiceList checks(row.check);
        FillCheckTypeList(checks, ParameterCode(n));
    }
    TagChecks(row.check);
    if (row.check->currentIndex() < 0 && n < kRows - 1) row.lastCheck = CheckNone;
    LayoutRow(n);
    // A parameter that cannot be subtracted ends the subtraction: the row
    // below is no longer its second operand.
    if (before == CheckMinus && CheckOf(n) != CheckMinus) ResetRows(n + 1);
    RefreshUnitLabels();
}

void CAomConditionsPage::CheckTypeChanged(int n)
{
    Row& row = rows_[n];
    const int type = CheckOf(n);
    const bool last = n == kRows - 1;
    if (!last && type == row.lastCheck) return;
    const int previous = row.lastCheck;
    LayoutRow(n);
    if (previous == CheckMinus) ResetRows(n + 1);
    if (!last) row.lastCheck = type;
}

void CAomConditionsPage::GroupingChanged(int n)
{
    const std::string op = Selected(rows_[n].grouping);
    if (op.empty() || op == kGroupingDone) {
        ResetRows(CheckOf(n) == CheckMinus ? n + 2 : n + 1);
        return;
    }
    // A row already in use keeps what it holds when only the operator changes
    // (opening it again would empty the second row of a subtraction).
    if (!rows_[n + 1].parameter->isEnabledTo(this)) ParameterChanged(n + 1);
    RefreshGroupings(n + 1);
}

void CAomConditionsPage::LayoutRow(int n)
{
    Row& row = rows_[n];
    const bool allowMinus = !IsSecondOperand(n);
    row.value1->m_bAllowMinus = allowMinus;
    row.value2->m_bAllowMinus = allowMinus;
    if (n == kRows - 1 || !IsMinusCapable(ParameterCode(n))) {
        const int minus = row.check->findData(CheckMinus);
        if (minus >= 0) ComboChoiceList(row.check).Remove(minus);
    }
    if (row.grouping) row.grouping->setEnabled(true);
    const int type = CheckOf(n);
    ShowFields(n, type);
    if (type == CheckMinus && n < kRows - 1) SetUpSecondOperand(n);
    RefreshGroupings(0);
}

void CAomConditionsPage::ShowFields(int n, int type)
{
    Row& row = rows_[n];
    const CheckFields fields = FieldsOfCheck(type);
    const bool one = fields.value1, two = fields.value2, trend = fields.minutes;
    bool is = true;
    const char* middle = nullptr;
    switch (type) {
    case CheckBetween:
    case CheckNotBetween: middle = "&&"; break;
    case CheckTrending: middle = "TO"; break;
    case CheckMinus:
        is = false;
        row.value1->clear();
        break;
    default: break;
    }
    row.value1->setEnabled(one);
    row.value2->setEnabled(two);
    row.minutes->setEnabled(trend);
    row.unit1->setVisible(one);
    row.unit2->setVisible(two);
    row.is->setVisible(is);
    row.leadIn->setVisible(trend);
    if (middle) row.middle->setText(middle);
    row.middle->setVisible(middle != nullptr);
    row.period->setVisible(trend);
    row.min->setVisible(trend);
}

// Rows n and n+1 become one condition: A "Minus" B, compared on row n+1.
void CAomConditionsPage::SetUpSecondOperand(int n)
{
    Row& first = rows_[n];
    Row& second = rows_[n + 1];
    // The row taken over may itself have been subtracting the one below.
    if (CheckOf(n + 1) == CheckMinus) ResetRows(n + 2);
    ShowFields(n + 1, CheckNone);

    const int keep = ItemCode(second.parameter);
    const AlarmParameter* a = AlarmParameters().ByCode(ItemCode(first.parameter));
    FillParameters(second.parameter, a ? a->group : MinusNone);
    // A first parameter in no group offers nothing to subtract.
    if (!a || a->group == MinusNone) second.parameter->clear();
    SelectCode(second.parameter, keep);
    second.parameter->setEnabled(true);

    second.check->clear();
    for (int type : {CheckGreaterOrEqual, CheckLessOrEqual})
        second.check->addItem(QString::fromStdString(CheckTypeText(type)), type);
    second.check->setCurrentIndex(-1);
    second.check->setEnabled(true);
    if (n + 1 < kRows - 1) second.lastCheck = CheckNone;

    second.value1->clear();
    second.value1->setEnabled(true);
    second.value1->m_bAllowMinus = false;
    second.value2->clear();
    second.value2->m_bAllowMinus = false;
    second.minutes->clear();

    first.grouping->setEnabled(false);
    first.grouping->setCurrentIndex(-1);
    if (second.grouping) second.grouping->setEnabled(true);
}

void CAomConditionsPage::ResetRows(int from)
{
    for (int n = from; n < kRows; ++n) {
        Row& row = rows_[n];
        row.check->clear();
        row.lastCheck = CheckNone;
        // The full list again: as a second operand the row offered one group only.
        FillParameters(row.parameter);
        row.parameter->setCurrentIndex(-1);
        ShowFields(n, CheckNone);
        for (CNumericEdit* field : {row.value1, row.value2, row.minutes}) field->clear();
        row.parameter->setEnabled(false);
        row.check->setEnabled(false);
        if (row.grouping) {
            row.grouping->clear();
            row.grouping->setEnabled(false);
        }
    }
    RefreshGroupings(0);
}

// One operator for the whole expression: the master list (the first enabled
// one) offers all of them, every later list "DONE" and the master's choice,
// and the last row in use shows "DONE".
void CAomConditionsPage::RefreshGroupings(int from)
{
    QComboBox* master = MasterGrouping();
    if (!master) return;
    const std::string chosen = Selected(master);
    master->clear();
    for (const char* op : kOperators) master->addItem(op);
    SelectText(master, chosen);

    QComboBox* last = LastEnabledGrouping();
    const QString op = master->currentText();
    for (int n = from; n < kRows - 1; ++n) {
        QComboBox* list = rows_[n].grouping;
        if (!list->isEnabledTo(this)) continue;
        if (list == master) {
            if (list == last) {
                list->setCurrentIndex(0);
                return;
            }
            continue;
        }
        list->clear();
        list->addItem(kGroupingDone);
        list->addItem(op);
        list->setCurrentIndex(list != last || InUse(n + 1) ? 1 : 0);
    }
}

void CAomConditionsPage::RefreshUnitLabels()
{
    for (int n = 0; n < kRows; ++n) {
        const QString label = QString::fromStdString(UnitLabelFor(ParameterName(n), units_));
        rows_[n].unit1->setText(label);
        rows_[n].unit2->setText(label);
    }
}

// --- Operations of the AOM form -----------------------------------------------

void CAomConditionsPage::FillParameterLists()
{
    if (!created_) return;
    for (Row& row : rows_) FillParameters(row.parameter);
    Settle();
}

void CAomConditionsPage::UnitsChanged()
{
    if (!created_) return;
    const AomUnitSettings old = units_;
    units_ = AomUnits();
    for (int n = 0; n < kRows; ++n) {
        Row& row = rows_[n];
        if (!row.parameter->isEnabledTo(this)) continue;
        const int code = ParameterCode(n);
        const bool held = row.held.heldParameter == ParameterName(n) && row.held.heldCheck == CheckOf(n);
        if (IsSecondOperand(n)) {
            CNumericEdit* field = row.value1;
            const std::string stored = MinusValueFromModule(row.held.held1).moduleText;
            // A threshold still as the module held it is shown from the module's text again.
            if (held && !row.held.held1.empty() && Text(field) == DifferenceToDisplay(code, stored, old)) {
                SetText(field, DifferenceToDisplay(code, stored, units_));
                continue;
            }
            if (const auto module = DifferenceToModule(code, Text(field), old))
                SetText(field, DifferenceToDisplay(code, *module, units_));
            continue;
        }
        for (auto [field, heldText] : {std::pair{row.value1, row.held.held1}, std::pair{row.value2, row.held.held2}}) {
            if (held && !heldText.empty() && code != kTimeOfDay &&
                Text(field) == ModuleToDisplay(code, heldText, old, true)) {
                SetText(field, ModuleToDisplay(code, heldText, units_, true));
                continue;
            }
            // Through the base unit, unscaled, so nothing is rounded twice.
            const std::string base = DisplayToModule(code, Text(field), old, false);
            SetText(field, ModuleToDisplay(code, base, units_, false));
        }
    }
    RefreshUnitLabels();
}
