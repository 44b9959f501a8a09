// "Circuit Test": the states read before the form shows, the worker's passes
// as the logger receives them, and every way of closing ending the worker.

#include "CCircuitTestDlg.h"
#include "FormFinder.h"
#include "IrrTestDevice.h"
#include "TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;
using Phase = CCircuitTestDlg::Phase;

class CircuitTestForm : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(device.Opened()); }
    QAbstractButton* Circuit(const char* name) { return FindField<QAbstractButton>(&form, name); }
    std::vector<std::string> Sets() const
    {
        Lines sets;
        for (const auto& line : device.Lines())
            if (line.rfind("MOD11 ", 0) == 0 && line.find('|') == std::string::npos)
                sets.push_back(line);
        return sets;
    }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    IrrTestDevice device{dir, SimKind::Irr};
    CIrrigationSettings record{nullptr, "IRR     202", "60", true, "3", "0.00", "1.00", "1.50",
                               "3.00", "255", "5", "10", "500", true, true};
    CCircuitTestDlg form{nullptr, record};
};

TEST_F(CircuitTestForm, ButtonsShowTheStatesRead)
{
    device.SetCircuit(1, 1);
    device.SetCircuit(3, 1);
    ASSERT_TRUE(form.Start());
    EXPECT_EQ(form.CurrentPhase(), Phase::Testing);
    const std::pair<const char*, bool> expected[] = {
        {"Wind", false}, {"Rain", true}, {"ET", false}, {"Alarm", true}};
    for (auto [name, closed] : expected) {
        EXPECT_EQ(Circuit(name)->isChecked(), closed) << name;
        EXPECT_EQ(Circuit(name)->text(), closed ? "Closed" : "Open") << name;
    }
    const Lines lines = device.Lines();
    const Lines reads(lines.begin(), lines.begin() + 5);
    EXPECT_EQ(reads, (Lines{"\n", "MOD11 0 |\n", "MOD11 1 |\n", "MOD11 2 |\n", "MOD11 3 |\n"}));
    form.accept();
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
}

TEST_F(CircuitTestForm, SilentLoggerEndsTheFormBeforeItShows)
{
    device.Silence();
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(form.result(), QDialog::Rejected);
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines(), (Lines{"\n", "MOD11 0 |\n"}));
}

TEST_F(CircuitTestForm, ReplyOtherThanZeroOrOneEndsTheForm)
{
    device.SetCircuit(2, 2);
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(device.Lines().back(), "MOD11 2 |\n");
    EXPECT_TRUE(Sets().empty());
}

TEST_F(CircuitTestForm, UntouchedButtonsStillSendFourWritesEveryPass)
{
    device.SetCircuit(2, 1);
    ASSERT_TRUE(form.Start());
    ASSERT_TRUE(device.WaitForSets(8));
    form.accept();
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    const Lines sets = Sets();
    ASSERT_GE(sets.size(), 8u);
    const Lines pass{"MOD11 0 0\n", "MOD11 1 0\n", "MOD11 2 1\n", "MOD11 3 0\n"};
    for (std::size_t i = 0; i < sets.size(); ++i) EXPECT_EQ(sets[i], pass[i % 4]) << i;
    const auto durations = pauses.Durations();
    EXPECT_GE(std::count(durations.begin(), durations.end(), 200), 1);
}

TEST_F(CircuitTestForm, ToggledButtonIsSentOnLaterPasses)
{
    ASSERT_TRUE(form.Start());
    Circuit("ET")->click();
    EXPECT_EQ(Circuit("ET")->text(), "Closed");
    const int seen = device.SetsSeen();
    ASSERT_TRUE(device.WaitForSets(seen + 8));
    form.accept();
    const Lines sets = Sets();
    const auto first = std::find(sets.begin(), sets.end(), "MOD11 2 1\n");
    ASSERT_NE(first, sets.end());
    EXPECT_EQ(std::count(first, sets.end(), "MOD11 2 0\n"), 0);
    Circuit("ET")->click();
    EXPECT_EQ(Circuit("ET")->text(), "Open");
}

TEST_F(CircuitTestForm, EscapeAndTheCloseBoxEndTheWorkerToo)
{
    form.show();
    ASSERT_TRUE(form.Start());
    ASSERT_TRUE(device.WaitForSets(4));
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
    EXPECT_EQ(form.result(), QDialog::Rejected);

    CCircuitTestDlg second(nullptr, record);
    second.show();
    ASSERT_TRUE(second.Start());
    ASSERT_TRUE(device.WaitForSets(device.SetsSeen() + 4));
    second.close();
    EXPECT_EQ(second.CurrentPhase(), Phase::Closed);
    EXPECT_FALSE(second.isVisible());
}

}  // namespace
