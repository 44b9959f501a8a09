#include "aom/ui/CAomConditionsPage.h"
#include "aom/ui/ConditionsPageLists.h"

#include "aom/AomConditionTable.h"
#include "aom/AlarmParameterTable.h"
#include "aom/ui/AomComboChoiceList.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConversions.h"
#include "aom/AomSettings.h"
#include "aom/AomValidators.h"
#include "aom/ui/CAomAdvancedDlg.h"
#include "base/ui/CNumericEdit.h"
#include "link/ConsoleLink.h"
#include "base/LinkSequence.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

using namespace conditions_page;

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

        FillParameters(row.parameter);
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
    const int output = output_;
    const OutputConditionReplies replies =
        RunLink([output] { return QueryOutputConditions(output); });
    if (!replies.read) {
        // Shown empty, this page would stand for conditions nobody has seen:
        // it stays closed and is never sent.
        readFailed_ = true;
        Row& first = rows_[0];
        for (QWidget* w : std::initializer_list<QWidget*>{first.parameter, first.check, first.value1})
            w->setEnabled(false);
        RememberLoaded();
        return;
    }
    LoadRows(ConditionRowsFromReply(replies.conditions, ReadInt(replies.logic), units_),
             ReadInt(replies.logic));
}

void CAomConditionsPage::LoadRows(const std::vector<ConditionRow>& rows, int logic)
{
    int last = -1;
    for (int n = 0; n < kRows; ++n)
        if (!rows[static_cast<std::size_t>(n)].parameter.empty()) last = n;
    for (int n = 0; n <= last; ++n) n += LoadRow(n, rows) - 1;
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

// Fills row n as the module's reply gave it; gives the number of rows it took.
int CAomConditionsPage::LoadRow(int n, const std::vector<ConditionRow>& rows)
{
    const ConditionRow& from = rows[static_cast<std::size_t>(n)];
    Row& row = rows_[n];
    row.held = from;
    SelectCode(row.parameter, TableCodeOf(from.parameter));
    ParameterChanged(n);
    if (from.checkType == CheckNone) return 1;
    SelectCode(row.check, from.checkType);
    CheckTypeChanged(n);
    const CheckFields open = FieldsOfCheck(from.checkType);
    if (open.value1) SetText(row.value1, from.value1);
    if (open.value2) SetText(row.value2, from.value2);
    if (open.minutes) SetText(row.minutes, from.minutes);
    if (from.checkType != CheckMinus || n + 1 >= kRows || CheckOf(n) != CheckMinus) return 1;

    const ConditionRow& operand = rows[static_cast<std::size_t>(n) + 1];
    Row& second = rows_[n + 1];
    second.held = operand;
    SelectCode(second.parameter, TableCodeOf(operand.parameter));
    ParameterChanged(n + 1);
    if (operand.checkType != CheckNone) {
        SelectCode(second.check, operand.checkType);
        CheckTypeChanged(n + 1);
        SetText(second.value1, operand.value1);
    }
    return 2;
}

void CAomConditionsPage::RememberLoaded()
{
    for (Row& row : rows_) {
        row.loadedParameter = ItemCode(row.parameter);
        row.loadedCheck = ItemCode(row.check);
        row.loadedGrouping = Selected(row.grouping);
        for (CNumericEdit* field : {row.value1, row.value2, row.minutes})
            field->m_loadedText = field->text();
    }
}

// --- Row state --------------------------------------------------------------

int CAomConditionsPage::CheckOf(int n) const
{
    return ItemCode(rows_[n].check);
}

std::string CAomConditionsPage::ParameterName(int n) const
{
    const AlarmParameter* p = AlarmParameters().ByCode(ItemCode(rows_[n].parameter));
    return p ? p->name : std::string();
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
    // An output that could not be read is never sent.
    if (!created_ || readFailed_) return false;
    for (const Row& row : rows_) {
        if (ItemCode(row.parameter) != row.loadedParameter || ItemCode(row.check) != row.loadedCheck ||
            Selected(row.grouping) != row.loadedGrouping)
            return true;
        for (const CNumericEdit* field : {row.value1, row.value2, row.minutes})
            if (field->text() != field->m_loadedText) return true;
    }
    return false;
}

std::vector<ConditionRow> CAomConditionsPage::Rows() const
{
    std::vector<ConditionRow> rows(kRows);
    for (int n = 0; n < kRows; ++n) {
        const Row& row = rows_[n];
        if (!row.parameter->isEnabledTo(this)) continue;
        ConditionRow& r = rows[static_cast<std::size_t>(n)];
        r = row.held;
        r.inUse = true;
        r.parameter = ParameterName(n);
        r.checkType = CheckOf(n);
        auto open = [this](const CNumericEdit* field) {
            return field->isEnabledTo(this) ? Text(field) : std::string();
        };
        r.value1 = open(row.value1);
        r.value2 = open(row.value2);
        r.minutes = open(row.minutes);
        r.groupingOpen = row.grouping && row.grouping->isEnabledTo(this);
        r.grouping = r.groupingOpen ? Selected(row.grouping) : std::string();
    }
    return rows;
}

bool CAomConditionsPage::Refused(const std::optional<RowRefusal>& refusal)
{
    if (!refusal) return false;
    const Row& row = rows_[refusal->row];
    QWidget* focus = row.parameter;
    switch (refusal->field) {
    case ConditionField::Parameter: focus = row.parameter; break;
    case ConditionField::CheckType: focus = row.check; break;
    case ConditionField::Grouping: focus = row.grouping; break;
    case ConditionField::Value1: focus = row.value1; break;
    case ConditionField::Value2: focus = row.value2; break;
    case ConditionField::Minutes: focus = row.minutes; break;
    }
    UserMessage message{refusal->message, std::nullopt, MsgIcon::None, MsgButtons::Ok, this};
    if (refusal->validator) {
        message = ValidationMessage(ValueCheck{false, refusal->message});
        message.parent = this;
    }
    ShowMessage(message);
    if (focus) focus->setFocus();
    return true;
}

bool CAomConditionsPage::Validate()
{
    if (!created_) return true;
    return !Refused(ValidateConditionRows(Rows(), units_));
}

bool CAomConditionsPage::Plan()
{
    planned_.reset();
    if (!settings_ || !created_) return false;
    OutputConditionPlan plan;
    if (Refused(PlanOutputConditions(output_, Rows(), units_, plan))) return false;
    planned_ = std::move(plan);
    return true;
}

bool CAomConditionsPage::PlanIfChanged()
{
    planned_.reset();
    return !HasChanged() || Plan();
}

bool CAomConditionsPage::SendPlanned()
{
    if (!planned_) return true;
    CAomSettings& record = *settings_;
    const OutputConditionPlan& plan = *planned_;
    const bool sent = RunLink([&record, &plan] { return WriteOutputConditions(record, plan); });
    planned_.reset();
    if (!sent) {
        ShowMessage(UserMessage{FormatText(kSendFailed, output_ + 1), std::nullopt, MsgIcon::None,
                                MsgButtons::Ok, this});
        return false;
    }
    emit UsedRowsChanged();
    return true;
}

bool CAomConditionsPage::StoreAndSend()
{
    return Plan() && SendPlanned();
}

bool CAomConditionsPage::ApplyIfChanged()
{
    if (!HasChanged()) return true;
    WaitCursorGuard cursor;
    return StoreAndSend();
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
        row.loadedParameter = kNoParameter;
        row.loadedCheck = CheckNone;
        row.loadedGrouping.clear();
        row.held = {};
    }
    ResetRows(1);
    for (Row& row : rows_) row.lastCheck = CheckNone;
    // Row 1 as a new page has it: only its lists and value 1 open.
    Row& first = rows_[0];
    ShowFields(0, CheckNone);
    first.value1->setEnabled(true);
    first.value1->m_bAllowMinus = true;
    first.grouping->setEnabled(true);
    first.grouping->setCurrentIndex(0);
    first.check->setCurrentIndex(0);
    Settle();
    emit UsedRowsChanged();
}

void CAomConditionsPage::OnAdvanced()
{
    if (settings_) OpenAdvancedOptions(this, *settings_, output_);
}
