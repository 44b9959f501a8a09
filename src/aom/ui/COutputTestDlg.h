#pragma once
// "Output Test": the four relays switched by hand.

#include "aom/OutputTest.h"
#include "base/ui/CSwitchTestDlg.h"

// Reads the four relay positions before it shows; while it is open the
// poller re-sends the positions of the four buttons every four seconds, and
// each press is sent at once, in order. After the poller the module is
// given a second to settle.
class COutputTestDlg : public CSwitchTestDlg {
    Q_OBJECT
public:
    explicit COutputTestDlg(QWidget* parent);
    ~COutputTestDlg() override;

private:
    std::optional<SwitchStates> ReadPositions() override;
    void Poll(SwitchTestBlock& block) override;
    void AfterPoll() override;
    void Pressed(int output, bool closed) override;
};

// Runs the test modally over parent.
void RunOutputTest(QWidget* parent);
