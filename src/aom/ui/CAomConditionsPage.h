#pragma once
// One output's alarm conditions: eight rows that read as sentences
// ("IF" parameter "IS" check type value unit ... grouping), kept consistent
// while the user edits, loaded from the module when the page is created and
// sent back when the AOM form applies it.

#include "AlarmRowSummary.h"

#include <QWidget>

#include <map>
#include <string>

class CAomSettings;

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
    // Sends the page when it has changed; true when nothing failed.
    bool ApplyIfChanged();
    // The page's eight rows under its output number.
    void AddSummaries(ConditionRowSummaries& out) const;

signals:
    // The set of rows in use may have changed.
    void UsedRowsChanged();

private:
    int output_;
    CAomSettings* settings_ = nullptr;
    bool created_ = false;
};
