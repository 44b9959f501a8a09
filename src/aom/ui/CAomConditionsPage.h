#pragma once
// One output's alarm conditions: eight rows that read as sentences
// ("IF" parameter "IS" check type value unit ... grouping), kept consistent
// while the user edits, loaded from the module when the page is created and
// sent back when the AOM form applies it.

#include "aom/AlarmRowSummary.h"
#include "aom/AomConditionTable.h"
#include "aom/AomUnits.h"

#include <QWidget>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

class CAomSettings;
class CNumericEdit;
class QComboBox;
class QLabel;

class CAomConditionsPage : public QWidget {
    Q_OBJECT
public:
    explicit CAomConditionsPage(int output, QWidget* parent = nullptr);
    ~CAomConditionsPage() override;

    int Output() const { return output_; }
    void SetSettings(CAomSettings* settings) { settings_ = settings; }

    // Builds the rows and loads the output's conditions from the module.
    void Create();
    bool IsCreated() const { return created_; }

    // Refreshes after a change of the station configuration or of the units;
    // a page not created yet is left as it is.
    void FillParameterLists();
    void UnitsChanged();

    // Rows whose parameter list has a selection.
    int CountUsedRows() const;
    // Any selection or value differs from what was loaded.
    bool HasChanged() const;
    // On failure a message has been shown and the focus set.
    bool Validate();
    bool StoreAndSend();
    // OK in two steps, so that every changed output is checked before
    // anything is cleared: builds the output's whole write when the page has
    // changed (false after showing a refusal), then sends what was built.
    bool PlanIfChanged();
    bool SendPlanned();
    // The module did not answer when the page was loaded: it stays closed.
    bool ReadFailed() const { return readFailed_; }
    // The rows as the core takes them (rows not in use empty).
    std::vector<ConditionRow> Rows() const;
    // Sends the page when it has changed; true when nothing failed.
    bool ApplyIfChanged();
    // The page's eight rows under its output number.
    void AddSummaries(ConditionRowSummaries& out) const;

signals:
    // The set of rows in use may have changed.
    void UsedRowsChanged();

private:
    static constexpr int kRows = 8;

    // One sentence: "IF" parameter "IS" check type value unit value unit
    // minutes "min" grouping. Row 8 has no grouping list.
    struct Row {
        QComboBox* parameter = nullptr;
        QLabel* is = nullptr;
        QComboBox* check = nullptr;
        QLabel* leadIn = nullptr;
        CNumericEdit* value1 = nullptr;
        QLabel* unit1 = nullptr;
        QLabel* middle = nullptr;
        CNumericEdit* value2 = nullptr;
        QLabel* unit2 = nullptr;
        QLabel* period = nullptr;
        CNumericEdit* minutes = nullptr;
        QLabel* min = nullptr;
        QComboBox* grouping = nullptr;
        // The check type last handled on the row (rows 1-7).
        int lastCheck = -1;
        // The user moved the parameter selection (not a pick of the one shown).
        bool parameterMoved = false;
        // The selections as loaded (codes) and what the module held.
        int loadedParameter = -1;
        int loadedCheck = -1;
        std::string loadedGrouping;
        ConditionRow held;
    };

    void BuildRows();
    void Load();
    void LoadRows(const std::vector<ConditionRow>& rows, int logic);
    int LoadRow(int n, const std::vector<ConditionRow>& rows);
    void RememberLoaded();
    void Settle();

    // Row operations; n counts from 0.
    void ParameterChanged(int n);
    void CheckTypeChanged(int n);
    void GroupingChanged(int n);
    void LayoutRow(int n);
    void ShowFields(int n, int checkType);
    void SetUpSecondOperand(int n);
    void ResetRows(int from);
    void RefreshGroupings(int from);
    void RefreshUnitLabels();
    QComboBox* MasterGrouping() const;
    QComboBox* LastEnabledGrouping() const;
    bool InUse(int n) const;
    bool IsSecondOperand(int n) const;
    int CheckOf(int n) const;
    std::string ParameterName(int n) const;
    int ParameterCode(int n) const;

    // Shows a refusal and puts the focus on its control; false when none.
    bool Refused(const std::optional<RowRefusal>& refusal);
    bool Plan();
    void OnClear();
    void OnAdvanced();

    int output_;
    CAomSettings* settings_ = nullptr;
    bool created_ = false;
    bool readFailed_ = false;
    std::optional<OutputConditionPlan> planned_;
    AomUnitSettings units_;
    std::array<Row, kRows> rows_;
};
