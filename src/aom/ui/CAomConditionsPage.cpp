#include "CAomConditionsPage.h"

#include "AlarmParameterTable.h"
#include "AomComboChoiceList.h"
#include "AomCommands.h"
#include "AomConditionRows.h"
#include "AomConversions.h"
#include "AomSettings.h"
#include "AomValidators.h"
#include "CAomAdvancedDlg.h"
#include "CNumericEdit.h"
#include "ConsoleLink.h"
#include "LinkSequence.h"
#include "ModuleCommands.h"
#include "NumericText.h"
#include "Pause.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

enum Parameter { ParamConditions = 16, ParamOutputLogic = 18 };
constexpr int kTimeOfDay = 128;
// The module takes this long to settle after a new set of conditions.
constexpr int kAfterSendMs = 1000;

constexpr const char* kOperators[] = {kGroupingDone, kGroupingOr, kGroupingAnd, kGroupingXor};

constexpr const char* kSelectParameter = "Please select a parameter.";
constexpr const char* kSelectCheckType = "Please select a check type.";
constexpr const char* kSelectGrouping = "Please select a logical grouping.";
constexpr const char* kSendFailed =
    "Failed to set configuration in the module for output %i.  \n\t\tPlease check Serial Port "
    "settings and connections.";
constexpr const char* kClearWarning = "This operation will clear your Alarm Event Log";
constexpr const char* kClearCaption = "Please Note";
constexpr const char* kClearFailed =
    "Failed to clear alarm settings in the module.  \nPlease check Serial Port settings and "
    "connections.";
constexpr const char* kCleared = "Alarm settings for output %i have been cleared!";

// Grid columns of a row, left to right.
enum Column {
    ColIf, ColParameter, ColIs, ColCheck, ColLeadIn, ColValue1, ColUnit1, ColMiddle, ColValue2,
    ColUnit2, ColPeriod, ColMinutes, ColMin, ColGrouping,
};

std::string Selected(const QComboBox* list)
{
    return list && list->currentIndex() >= 0 ? list->currentText().toStdString() : std::string();
}

void SelectText(QComboBox* list, const std::string& text)
{
    list->setCurrentIndex(text.empty() ? -1 : list->findText(QString::fromStdString(text)));
}

std::string Text(const CNumericEdit* field)
{
    return field->text().toStdString();
}

void SetText(CNumericEdit* field, const std::string& text)
{
    field->setText(QString::fromStdString(text));
}

QLabel* RowLabel(QWidget* owner, const char* text, const QString& name)
{
    auto* label = new QLabel(text, owner);
    label->setTextFormat(Qt::PlainText);
    label->setAccessibleName(name);
    // The columns keep their places while the labels come and go.
    QSizePolicy policy = label->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    label->setSizePolicy(policy);
    return label;
}

}  // namespace

CAomConditionsPage::CAomConditionsPage(int output, QWidget* parent)
    : QWidget(parent), output_(output)
{
}

CAomConditionsPage::~CAomConditionsPage() = default;

void CAomConditionsPage::Create()
{
    if (created_) return;
    units_ = AomUnits();
    BuildRows();
    created_ = true;
    Load();
}

void CAomConditionsPage::BuildRows()
{
    auto* grid = new QGridLayout;
    auto* groupingCaption = new QLabel("Grouping", this);
    grid->addWidget(groupingCaption, 0, ColGrouping);
    grid->addWidget(new QLabel("IF", this), 1, ColIf);

    for (int n = 0; n < kRows; ++n) {
        Row& row = rows_[n];
        const QString name = QString("Row %1 ").arg(n + 1);
        const int line = n + 1;
        auto combo = [&](const char* what, int column) {
            auto* list = new QComboBox(this);
            list->setAccessibleName(name + what);
            list->setEnabled(false);
            grid->addWidget(list, line, column);
            return list;
        };
        auto field = [&](const char* what, int column) {
            auto* edit = new CNumericEdit(this);
            edit->setAccessibleName(name + what);
            edit->setMaximumWidth(64);
            edit->setEnabled(false);
            grid->addWidget(edit, line, column);
            return edit;
        };
        auto label = [&](const char* text, const char* what, int column) {
            QLabel* l = RowLabel(this, text, name + what);
            l->setVisible(false);
            grid->addWidget(l, line, column);
            return l;
        };
        row.parameter = combo("parameter", ColParameter);
        row.is = label("IS", "IS", ColIs);
        row.is->setVisible(true);
        row.check = combo("check type", ColCheck);
        row.leadIn = label("FROM", "lead-in", ColLeadIn);
        row.value1 = field("value 1", ColValue1);
        row.unit1 = label("", "unit 1", ColUnit1);
        // Shown as a single "&": the label's buddy makes "&&" an escaped ampersand.
        row.middle = label("&&", "middle", ColMiddle);
        row.value2 = field("value 2", ColValue2);
        row.middle->setBuddy(row.value2);
        row.unit2 = label("", "unit 2", ColUnit2);
        row.period = label("IN", "period", ColPeriod);
        row.minutes = field("minutes", ColMinutes);
        row.min = label("min", "min", ColMin);
        if (n < kRows - 1) row.grouping = combo("grouping", ColGrouping);

        ComboChoiceList parameters(row.parameter);
        FillParameterList(parameters);
        const int index = n;
        // Picking the parameter already shown changes nothing; laid out again,
        // a subtraction would lose the comparison of its second row.
        connect(row.parameter, &QComboBox::currentIndexChanged, this,
                [this, index] { rows_[index].parameterMoved = true; });
        connect(row.parameter, &QComboBox::activated, this, [this, index] {
            if (rows_[index].parameterMoved) ParameterChanged(index);
            Settle();
        });
        connect(row.check, &QComboBox::activated, this, [this, index] {
            CheckTypeChanged(index);
            Settle();
        });
        if (row.grouping)
            connect(row.grouping, &QComboBox::activated, this, [this, index] {
                GroupingChanged(index);
                Settle();
            });
    }
    groupingCaption->setBuddy(rows_[0].grouping);
    for (int column : {ColUnit1, ColUnit2}) grid->setColumnMinimumWidth(column, 48);

    Row& first = rows_[0];
    first.parameter->setEnabled(true);
    first.check->setEnabled(true);
    first.value1->setEnabled(true);
    for (const char* op : kOperators) first.grouping->addItem(op);
    first.grouping->setCurrentIndex(-1);

    auto* clear = new QPushButton("Clear", this);
    auto* advanced = new QPushButton("Advanced", this);
    clear->setAutoDefault(false);
    advanced->setAutoDefault(false);
    connect(clear, &QPushButton::clicked, this, &CAomConditionsPage::OnClear);
    connect(advanced, &QPushButton::clicked, this, &CAomConditionsPage::OnAdvanced);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(clear);
    buttons->addWidget(advanced);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addLayout(buttons);
}

// --- Load -------------------------------------------------------------------

void CAomConditionsPage::Load()
{
    struct Replies {
        std::string conditions;
        std::string logic;
    };
    const int output = output_;
    const Replies replies = RunLink([output] {
        Replies r;
        const std::string argument = FormatText("%i", output);
        WakeConsoleQuick();
        if (ModuleQueryArg(ParamConditions, argument) == 0) r.conditions = ModuleReadLine();
        if (ModuleQueryArg(ParamOutputLogic, argument) == 0) r.logic = ModuleReadLine();
        return r;
    });
    LoadRecords(replies.conditions, ReadInt(replies.logic));
}

void CAomConditionsPage::LoadRecords(const std::string& conditions, int logic)
{
    int n = 0;
    // Records that would fall below the last row are dropped.
    for (const ConditionFields& record : ParseConditionReply(conditions)) {
        if (n >= kRows) break;
        n += LoadRecord(n, record);
    }
    RememberLoaded();
    if (QComboBox* master = MasterGrouping()) SelectText(master, OperatorText(logic));
    RefreshGroupings(0);
    for (Row& row : rows_) row.loadedGrouping = Selected(row.grouping);
    Settle();
}

// Only what the user moves counts as moved.
void CAomConditionsPage::Settle()
{
    for (Row& row : rows_) row.parameterMoved = false;
}

// Fills row n from one record; gives the number of rows it took.
int CAomConditionsPage::LoadRecord(int n, const std::vector<std::string>& fields)
{
    Row& row = rows_[n];
    const int code = ReadInt(RecordField(fields, 0));
    {
        ComboChoiceList parameters(row.parameter);
        row.parameter->setCurrentIndex(SelectParameterByCode(parameters, code));
    }
    ParameterChanged(n);

    const std::string typeField = RecordField(fields, 1);
    const int type = typeField.empty() ? CheckNone : ReadInt(typeField);
    if (type < 0 || type >= kCheckTypeCount) return 1;
    SelectText(row.check, CheckTypeText(type));
    CheckTypeChanged(n);

    auto shown = [&](std::size_t index) {
        const std::string text = RecordField(fields, index);
        return code == kTimeOfDay ? TimeForDisplay(text) : ModuleToDisplay(code, text, units_, true);
    };
    switch (type) {
    case CheckGreaterOrEqual:
    case CheckLessOrEqual:
    case CheckEqual: SetText(row.value1, shown(2)); break;
    case CheckBetween:
    case CheckNotBetween:
        SetText(row.value1, shown(2));
        SetText(row.value2, shown(3));
        break;
    case CheckTrending:
        SetText(row.minutes, RecordField(fields, 2));
        SetText(row.value1, shown(3));
        SetText(row.value2, shown(4));
        break;
    case CheckMinus: {
        // Row 8 offers no "Minus", so a subtraction there stays unselected.
        if (n + 1 >= kRows || CheckOf(n) != CheckMinus) return 1;
        Row& second = rows_[n + 1];
        const int secondCode = ReadInt(RecordField(fields, 2));
        {
            ComboChoiceList parameters(second.parameter);
            second.parameter->setCurrentIndex(SelectParameterByCode(parameters, secondCode));
        }
        ParameterChanged(n + 1);
        const std::string stored = RecordField(fields, 3);
        if (!stored.empty()) {
            const MinusValue value = MinusValueFromModule(stored);
            SelectText(second.check, CheckTypeText(value.checkType));
            CheckTypeChanged(n + 1);
            SetText(second.value1, DifferenceToDisplay(secondCode, value.moduleText, units_));
        }
        return 2;
    }
    default: break;
    }
    return 1;
}

void CAomConditionsPage::RememberLoaded()
{
    for (Row& row : rows_) {
        row.loadedParameter = Selected(row.parameter);
        row.loadedCheck = Selected(row.check);
        row.loadedGrouping = Selected(row.grouping);
        for (CNumericEdit* field : {row.value1, row.value2, row.minutes})
            field->m_loadedText = field->text();
    }
}

// --- Row state --------------------------------------------------------------

int CAomConditionsPage::CheckOf(int n) const
{
    return CheckTypeFromText(Selected(rows_[n].check));
}

std::string CAomConditionsPage::ParameterName(int n) const
{
    return Selected(rows_[n].parameter);
}

int CAomConditionsPage::ParameterCode(int n) const
{
    return ResolveParameterCode(ParameterName(n));
}

bool CAomConditionsPage::IsSecondOperand(int n) const
{
    return n > 0 && CheckOf(n - 1) == CheckMinus;
}

bool CAomConditionsPage::InUse(int n) const
{
    return n < kRows && (CheckOf(n) == CheckMinus || rows_[n].parameter->isEnabledTo(this));
}

QComboBox* CAomConditionsPage::MasterGrouping() const
{
    for (const Row& row : rows_)
        if (row.grouping && row.grouping->isEnabledTo(this)) return row.grouping;
    return nullptr;
}

QComboBox* CAomConditionsPage::LastEnabledGrouping() const
{
    QComboBox* last = nullptr;
    for (const Row& row : rows_)
        if (row.grouping && row.grouping->isEnabledTo(this)) last = row.grouping;
    return last;
}

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
        const int minus = row.check->findText(QString::fromStdString(CheckTypeText(CheckMinus)));
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
    bool one = false, two = false, trend = false, is = true;
    const char* middle = nullptr;
    switch (type) {
    case CheckGreaterOrEqual:
    case CheckLessOrEqual:
    case CheckEqual: one = true; break;
    case CheckBetween:
    case CheckNotBetween:
        one = two = true;
        middle = "&&";
        break;
    case CheckTrending:
        one = two = trend = true;
        middle = "TO";
        break;
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

    const std::string keep = Selected(second.parameter);
    const AlarmParameter* a = AlarmParameters().ByName(ParameterName(n));
    {
        ComboChoiceList parameters(second.parameter);
        FillParameterList(parameters, a ? a->group : MinusNone);
    }
    SelectText(second.parameter, keep);
    second.parameter->setEnabled(true);

    second.check->clear();
    second.check->addItem(QString::fromStdString(CheckTypeText(CheckGreaterOrEqual)));
    second.check->addItem(QString::fromStdString(CheckTypeText(CheckLessOrEqual)));
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
        {
            ComboChoiceList parameters(row.parameter);
            FillParameterList(parameters);
        }
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
    for (Row& row : rows_) {
        ComboChoiceList parameters(row.parameter);
        FillParameterList(parameters);
    }
    Settle();
}

void CAomConditionsPage::UnitsChanged()
{
    if (!created_) return;
    const AomUnitSettings old = units_;
    units_ = AomUnits();
    for (int n = 0; n < kRows; ++n) {
        if (!rows_[n].parameter->isEnabledTo(this)) continue;
        const int code = ParameterCode(n);
        if (IsSecondOperand(n)) {
            CNumericEdit* field = rows_[n].value1;
            SetText(field, DifferenceToDisplay(code, DifferenceToModule(code, Text(field), old), units_));
            continue;
        }
        // Through the base unit, unscaled, so nothing is rounded twice.
        for (CNumericEdit* field : {rows_[n].value1, rows_[n].value2}) {
            const std::string base = DisplayToModule(code, Text(field), old, false);
            SetText(field, ModuleToDisplay(code, base, units_, false));
        }
    }
    RefreshUnitLabels();
}

int CAomConditionsPage::CountUsedRows() const
{
    if (!created_) return 0;
    int used = 0;
    for (const Row& row : rows_)
        if (row.parameter->currentIndex() >= 0) ++used;
    return used;
}

bool CAomConditionsPage::HasChanged() const
{
    if (!created_ || ParameterCode(0) == kNoParameter) return false;
    for (const Row& row : rows_) {
        if (Selected(row.parameter) != row.loadedParameter || Selected(row.check) != row.loadedCheck ||
            Selected(row.grouping) != row.loadedGrouping)
            return true;
        for (const CNumericEdit* field : {row.value1, row.value2, row.minutes})
            if (field->text() != field->m_loadedText) return true;
    }
    return false;
}

bool CAomConditionsPage::Validate()
{
    if (!created_) return true;
    for (int n = 0; n < kRows; ++n)
        if (!ValidateRow(n)) return false;
    return true;
}

bool CAomConditionsPage::ValidateRow(int n)
{
    Row& row = rows_[n];
    if (!row.parameter->isEnabledTo(this)) return true;
    auto refuse = [this](const char* text, QWidget* focus) {
        ShowMessage(UserMessage{text, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
        focus->setFocus();
        return false;
    };
    if (row.parameter->currentIndex() < 0) return refuse(kSelectParameter, row.parameter);
    if (IsSecondOperand(n)) {
        // Without its comparison the subtraction would go out as "Greater
        // Than or =" unasked.
        if (row.check->currentIndex() < 0) return refuse(kSelectCheckType, row.check);
        return true;
    }
    if (row.check->currentIndex() < 0) return refuse(kSelectCheckType, row.check);
    if (row.grouping && row.grouping->isEnabledTo(this) && row.grouping->currentIndex() < 0)
        return refuse(kSelectGrouping, row.grouping);

    const std::optional<ValueKind> kind = ValueKindOf(ParameterName(n));
    // Bar trend states and low-battery flags carry no value.
    if (!kind || *kind == ValueKind::Flag) return true;
    auto passes = [this](const ValueCheck& check, CNumericEdit* field) {
        if (check.ok) return true;
        UserMessage message = ValidationMessage(check);
        message.parent = this;
        ShowMessage(message);
        field->setFocus();
        return false;
    };
    auto value = [&](CNumericEdit* field) {
        return *kind == ValueKind::TimeOfDay
                   ? ValidateTimeOfDay(Text(field), field->isEnabledTo(this))
                   : ValidateValue(*kind, Text(field), field->isEnabledTo(this), units_);
    };
    if (!passes(value(row.value1), row.value1) || !passes(value(row.value2), row.value2))
        return false;
    if (*kind == ValueKind::TimeOfDay) return true;
    return passes(ValidateMinutes(Text(row.minutes), row.minutes->isEnabledTo(this)), row.minutes);
}

void CAomConditionsPage::BuildRecords()
{
    settings_->ClearOutput(output_);
    for (int n = 0; n < kRows; ++n) {
        const Row& row = rows_[n];
        if (!row.parameter->isEnabledTo(this)) continue;
        AomCondition condition;
        condition.output = output_;
        condition.parameter = ParameterCode(n);
        condition.checkType = CheckOf(n);
        if (condition.checkType == CheckMinus && n + 1 < kRows) {
            const Row& second = rows_[++n];
            condition.secondParameter = ParameterCode(n);
            const std::string value =
                DifferenceToModule(condition.secondParameter, Text(second.value1), units_);
            condition.value1 = MinusValueForModule(value, CheckOf(n));
        } else if (condition.parameter == kTimeOfDay) {
            // A field that is not open (the second time of "=") is not sent.
            if (!Text(row.value1).empty()) condition.value1 = TimeForModule(Text(row.value1));
            if (!Text(row.value2).empty()) condition.value2 = TimeForModule(Text(row.value2));
        } else {
            std::string value1 = Text(row.value1);
            std::string value2 = Text(row.value2);
            if (condition.checkType == CheckBetween || condition.checkType == CheckNotBetween)
                OrderRange(condition.parameter, value1, value2);
            condition.value1 = DisplayToModule(condition.parameter, value1, units_, true);
            condition.value2 = DisplayToModule(condition.parameter, value2, units_, true);
            if (condition.checkType == CheckTrending) condition.trendPeriod = Text(row.minutes);
        }
        settings_->AppendCondition(output_, condition);
    }
    settings_->outputLogic = OutputLogicFromOperator(Selected(MasterGrouping()));
}

bool CAomConditionsPage::StoreAndSend()
{
    if (!settings_ || !created_) return false;
    if (!Validate()) return false;
    BuildRecords();
    const CAomSettings& record = *settings_;
    const int output = output_;
    if (!RunLink([&record, output] { return SendOutputConditions(record, output); })) {
        ShowMessage(UserMessage{FormatText(kSendFailed, output_ + 1), std::nullopt, MsgIcon::None,
                                MsgButtons::Ok, this});
        return false;
    }
    return true;
}

bool CAomConditionsPage::ApplyIfChanged()
{
    if (!HasChanged()) return true;
    WaitCursorGuard cursor;
    if (!StoreAndSend()) return false;
    RunLink([] { PauseMs(kAfterSendMs); });
    emit UsedRowsChanged();
    return true;
}

void CAomConditionsPage::AddSummaries(ConditionRowSummaries& out) const
{
    for (int n = 0; n < kRows; ++n) {
        ConditionRowSummary summary;
        if (created_) {
            const Row& row = rows_[n];
            summary.parameter = ParameterName(n);
            summary.checkType = CheckOf(n);
            summary.grouping = rows_[0].grouping->currentText().toStdString();
            summary.value1 = Text(row.value1);
            summary.value2 = Text(row.value2);
            summary.minutes = Text(row.minutes);
        }
        out.emplace(output_, summary);
    }
}

void CAomConditionsPage::OnClear()
{
    if (!settings_) return;
    if (ShowMessage(UserMessage{kClearWarning, std::string(kClearCaption), MsgIcon::Exclamation,
                                MsgButtons::OkCancel, this}) != MsgAnswer::Ok)
        return;
    const int output = output_;
    bool cleared = false;
    {
        WaitCursorGuard cursor;
        // The log's events name rows that are about to change; its result is
        // of no consequence here.
        cleared = RunLink([output] {
            ClearAlarmLog();
            return ClearOutputConditions(output);
        });
    }
    if (!cleared) {
        ShowMessage(UserMessage{kClearFailed, std::nullopt, MsgIcon::None, MsgButtons::Ok, this});
        return;
    }
    ShowMessage(UserMessage{FormatText(kCleared, output_ + 1), std::nullopt, MsgIcon::None,
                            MsgButtons::Ok, this});

    for (Row& row : rows_) {
        row.unit1->clear();
        row.unit2->clear();
        for (CNumericEdit* field : {row.value1, row.value2, row.minutes}) {
            field->clear();
            field->m_loadedText.clear();
        }
        row.parameter->setCurrentIndex(-1);
        row.check->setCurrentIndex(-1);
        if (row.grouping) row.grouping->setCurrentIndex(-1);
        row.loadedParameter.clear();
        row.loadedCheck.clear();
        row.loadedGrouping.clear();
    }
    ResetRows(1);
    for (Row& row : rows_) row.lastCheck = CheckNone;
    // Row 1 as a new page has it: only its lists and value 1 open.
    Row& first = rows_[0];
    ShowFields(0, CheckNone);
    first.value1->setEnabled(true);
    first.value1->m_bAllowMinus = true;
    first.grouping->setEnabled(false);
    first.grouping->setCurrentIndex(0);
    first.check->setCurrentIndex(0);
    Settle();
    emit UsedRowsChanged();
}

void CAomConditionsPage::OnAdvanced()
{
    if (settings_) OpenAdvancedOptions(this, *settings_, output_);
}
