// "Circuit Test" against the simulated logger: the states read before the
// form shows, the worker's passes as the logger receives them, and Escape
// ending the worker.

#include "loggers/ui/CCircuitTestDlg.h"
#include "LoggerFormTest.h"

#include <QTest>

#include <algorithm>

namespace {

using Phase = CCircuitTestDlg::Phase;

class CircuitWorkerForm : public LoggerFormTest {
protected:
    CircuitWorkerForm() : LoggerFormTest(SimKind::Irr) {}
    QAbstractButton* Circuit(const char* name) { return FindField<QAbstractButton>(&form, name); }

    CIrrigationSettings record{nullptr, "IRR     202", "60", true, "3", "0.00", "1.00", "1.50",
                               "3.00", "255", "5", "10", "500", true, true};
    CCircuitTestDlg form{nullptr, record};
};

TEST_F(CircuitWorkerForm, SilentLoggerOrOddReplyEndsTheFormUnshown)
{
    device.SetFault(SimFault::NoLogger);
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD11 0 |\n"}));
    device.ClearFaults();
    device.ClearLines();
    device.SetSwitch(2, 2);
    CCircuitTestDlg second(nullptr, record);
    EXPECT_EQ(second.exec(), QDialog::Rejected);
    EXPECT_EQ(device.Lines().back(), "MOD11 2 |\n");
    EXPECT_TRUE(device.SwitchSets().empty());
    EXPECT_TRUE(messages.Texts().empty());
}

// Escape and the close box end the poller through the base both switch
// tests share; the output test closes by the close box.
TEST_F(CircuitWorkerForm, StatesReadAreShownAndSentEveryPassAToggleOnLaterPassesTillEscape)
{
    for (int circuit : {1, 3}) device.SetSwitch(circuit, 1);
    form.show();
    ASSERT_TRUE(form.Start());
    for (auto [name, closed] : {std::pair{"Wind", false}, {"Rain", true}, {"ET", false}, {"Alarm", true}})
        EXPECT_EQ(Circuit(name)->text(), closed ? "Closed" : "Open") << name;
    ASSERT_TRUE(device.WaitForSwitchSets(8));
    Circuit("ET")->click();
    EXPECT_EQ(Circuit("ET")->text(), "Closed");
    ASSERT_TRUE(device.WaitForSwitchSets(8));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    const Lines lines = device.Lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"\n", "MOD11 0 |\n", "MOD11 1 |\n", "MOD11 2 |\n", "MOD11 3 |\n"}));
    const Lines sets = device.SwitchSets(), pass{"MOD11 0 0\n", "MOD11 1 1\n", "MOD11 2 0\n", "MOD11 3 1\n"};
    const auto toggled = std::find(sets.begin(), sets.end(), "MOD11 2 1\n");
    ASSERT_NE(toggled, sets.end());
    ASSERT_GE(toggled - sets.begin(), 8);
    for (auto it = sets.begin(); it != toggled; ++it) EXPECT_EQ(*it, pass[std::size_t(it - sets.begin()) % 4]);
    EXPECT_EQ(std::count(toggled, sets.end(), "MOD11 2 0\n"), 0);
    EXPECT_GT(std::ranges::count(pauses.Durations(), 200), 0);
}

}  // namespace
