#pragma once
// The tab control of the "Alarm Output Module" form: one conditions page per
// relay output, "Output 1" to "Output 4", owned here.

#include "aom/AlarmRowSummary.h"

#include <QTabWidget>

#include <array>

class CAomConditionsPage;
class CAomSettings;

class CAomOutputTabCtrl : public QTabWidget {
    Q_OBJECT
public:
    static constexpr int kPageCount = 4;

    // Makes the four page objects (page k for output k) without their rows
    // and reads the console's transmitter list, from which the extra-sensor
    // codes are rebuilt. Talks to the console.
    explicit CAomOutputTabCtrl(QWidget* parent = nullptr);

    // Inserts the tabs, hands the record to every page, creates each page's
    // rows (each loads its output from the module) and shows the first.
    void CreatePages(CAomSettings* settings);
    // Selects tab i and shows its page, creating the rows first when needed;
    // nothing happens for a number that is no page.
    void SelectPage(int i);

    CAomConditionsPage* Page(int i) const;
    // Rows of all four pages that have a parameter selected.
    int CountUsedRows() const;
    // Refreshes after a change of the station configuration or of the units.
    void FillParameterLists();
    void UnitsChanged();
    void AddSummaries(ConditionRowSummaries& out) const;

    // Sends every changed page in output order after the alarm log has been
    // cleared (with the user's consent). False when the user cancelled or
    // anything failed; the first failing page is then the one selected.
    bool ApplyOutputs();
    // Builds and checks the write of every changed page; on a refusal that
    // page is selected with the message shown and the focus set.
    bool PlanOutputs();

signals:
    // Passed on from any page: the set of rows in use may have changed.
    void UsedRowsChanged();

private:
    std::array<CAomConditionsPage*, kPageCount> pages_{};
    CAomSettings* settings_ = nullptr;
};
