// "Circuit Test" against the simulated logger: the states read before the
// form shows, the worker's passes as the logger receives them, and every way
// of closing ending the worker.

#include "CCircuitTestDlg.h"
#include "LoggerFormTest.h"

#include <QTest>

#include <algorithm>

namespace {

using Phase = CCircuitTestDlg::Phase;

// The circuit sets ("MOD11 c s"), the reads ("MOD11 c |") left out.
Lines Sets(const Lines& lines)
{
    Lines sets;
    std::copy_if(lines.begin(), lines.end(), std::back_inserter(sets), [](const std::string& l) {
        return l.rfind("MOD11 ", 0) == 0 && l.find('|') == std::string::npos;
    });
    return sets;
}

class CircuitWorkerForm : public LoggerFormTest {
protected:
    CircuitWorkerForm() : LoggerFormTest(SimKind::Irr) {}
    QAbstractButton* Circuit(const char* name) { return FindField<QAbstractButton>(&form, name); }
    // Until n more sets have arrived (false after a generous minute).
    bool WaitForSets(std::size_t n)
    {
        const std::size_t target = Sets(device.Lines()).size() + n;
        return device->WaitForReceived([&](const Lines& l) { return Sets(l).size() >= target; },
                                       std::chrono::seconds(60));
    }

    CIrrigationSettings record{nullptr, "IRR     202", "60", true, "3", "0.00", "1.00", "1.50",
                               "3.00", "255", "5", "10", "500", true, true};
    CCircuitTestDlg form{nullptr, record};
};

TEST_F(CircuitWorkerForm, SilentLoggerOrOddReplyEndsTheFormUnshown)
{
    device.SetFault(SimFault::NoLogger);
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD11 0 |\n"}));
    device.ClearFaults();
    device.ClearLines();
    device.SetSwitch(2, 2);
    CCircuitTestDlg second(nullptr, record);
    EXPECT_EQ(second.exec(), QDialog::Rejected);
    EXPECT_EQ(device.Lines().back(), "MOD11 2 |\n");
    EXPECT_TRUE(Sets(device.Lines()).empty());
    EXPECT_FALSE(form.isVisible() || second.isVisible());
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(CircuitWorkerForm, UntouchedButtonsShowTheStatesReadAndAreSentEveryPass)
{
    device.SetSwitch(1, 1);
    device.SetSwitch(3, 1);
    ASSERT_TRUE(form.Start());
    for (auto [name, closed] :
         {std::pair{"Wind", false}, {"Rain", true}, {"ET", false}, {"Alarm", true}})
        EXPECT_EQ(Circuit(name)->text(), closed ? "Closed" : "Open") << name;
    ASSERT_TRUE(WaitForSets(8));
    form.accept();
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    const Lines lines = device.Lines();
    EXPECT_EQ(Lines(lines.begin(), lines.begin() + 5),
              (Lines{"\n", "MOD11 0 |\n", "MOD11 1 |\n", "MOD11 2 |\n", "MOD11 3 |\n"}));
    const Lines sets = Sets(lines), pass{"MOD11 0 0\n", "MOD11 1 1\n", "MOD11 2 0\n", "MOD11 3 1\n"};
    for (std::size_t i = 0; i < sets.size(); ++i) EXPECT_EQ(sets[i], pass[i % 4]) << i;
    const auto durations = pauses.Durations();
    EXPECT_NE(std::find(durations.begin(), durations.end(), 200), durations.end());
}

TEST_F(CircuitWorkerForm, ToggledButtonIsSentOnLaterPasses)
{
    ASSERT_TRUE(form.Start());
    Circuit("ET")->click();
    EXPECT_EQ(Circuit("ET")->text(), "Closed");
    ASSERT_TRUE(WaitForSets(8));
    form.accept();
    const Lines sets = Sets(device.Lines());
    const auto first = std::find(sets.begin(), sets.end(), "MOD11 2 1\n");
    ASSERT_NE(first, sets.end());
    EXPECT_EQ(std::count(first, sets.end(), "MOD11 2 0\n"), 0);
}

TEST_F(CircuitWorkerForm, EscapeAndTheCloseBoxEndTheWorker)
{
    for (bool escape : {true, false}) {
        CCircuitTestDlg dlg(nullptr, record);
        dlg.show();
        ASSERT_TRUE(dlg.Start());
        ASSERT_TRUE(WaitForSets(4));
        escape ? QTest::keyClick(&dlg, Qt::Key_Escape) : void(dlg.close());
        EXPECT_EQ(dlg.CurrentPhase(), Phase::Closed);
        EXPECT_EQ(dlg.result(), QDialog::Rejected);
        EXPECT_FALSE(dlg.isVisible());
    }
}

}  // namespace
