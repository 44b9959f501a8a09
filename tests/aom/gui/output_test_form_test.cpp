// "Output Test" against the simulated module: the positions read before the
// form shows, the worker's passes and presses as the module receives them,
// and closing that ends the worker.
#include "COutputTestDlg.h"
#include "FormFinder.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <QTest>
#include <gtest/gtest.h>

#include <algorithm>

namespace {

using Lines = std::vector<std::string>;
using Phase = COutputTestDlg::Phase;

// The relay writes ("MOD11 o s"), the reads ("MOD11 o |") left out.
Lines Sets(Lines lines)
{
    std::erase_if(lines, [](const std::string& l) { return l.rfind("MOD11 ", 0) != 0 || l[8] == '|'; });
    return lines;
}

class OutputTestForm : public ::testing::Test {
protected:
    OutputTestForm()
    {
        device.UseAsPort(dir);
        opened_ = LinkOpen(1, 19200) == 0;
    }
    ~OutputTestForm() override { LinkClose(); }
    void SetUp() override { ASSERT_TRUE(opened_); }

    QAbstractButton* Output(int n) { return FindField<QAbstractButton>(&form, QString("Output %1").arg(n)); }
    bool WaitForSets(std::size_t n)
    {
        const std::size_t target = Sets(device.Lines()).size() + n;
        return device->WaitForReceived([&](const Lines& l) { return Sets(l).size() >= target; },
                                       std::chrono::seconds(60));
    }
    // Closing returns once the worker has ended: nothing is sent after it.
    void ExpectClosedWithNoWriteAfter(const std::function<void()>& close)
    {
        close();
        const std::size_t sent = device.Lines().size();
        EXPECT_EQ(form.CurrentPhase(), Phase::Closed);
        const std::vector<int> asked = pauses.Durations();
        EXPECT_EQ(asked.back(), 1000);
        EXPECT_NE(std::find(asked.begin(), asked.end(), 4000), asked.end());
        EXPECT_TRUE(device->WaitForQuiet(std::chrono::seconds(10)));
        EXPECT_EQ(device.Lines().size(), sent);
    }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture device{SimKind::Aom};
    COutputTestDlg form{nullptr};

private:
    bool opened_ = false;
};

TEST_F(OutputTestForm, SilentModuleClosesTheFormByItself)
{
    device.SetFault(SimFault::NoLogger);
    EXPECT_EQ(form.exec(), QDialog::Rejected);
    EXPECT_EQ(device.ModuleLines(), Lines{"MOD11 0 |\n"});
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(OutputTestForm, WorkerWritesThePositionsReadBackUnchangedTillEscape)
{
    device.SetSwitch(1, 1);
    device.SetSwitch(2, 1);
    form.show();
    ASSERT_TRUE(form.Start());
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(Output(n)->text(), n == 2 || n == 3 ? "Closed" : "Open") << n;
    ASSERT_TRUE(WaitForSets(4));
    const Lines sets = Sets(device.Lines());
    EXPECT_EQ(Lines(sets.begin(), sets.begin() + 4),
              (Lines{"MOD11 0 0\n", "MOD11 1 1\n", "MOD11 2 1\n", "MOD11 3 0\n"}));
    ExpectClosedWithNoWriteAfter([&] { QTest::keyClick(&form, Qt::Key_Escape); });
}

TEST_F(OutputTestForm, PressingTwiceSendsClosedThenOpenAndTheWorkerFollowsTillClosed)
{
    form.show();
    ASSERT_TRUE(form.Start());
    ASSERT_TRUE(WaitForSets(4));
    const std::size_t before = Sets(device.Lines()).size();
    Output(3)->click();
    EXPECT_EQ(Output(3)->text(), "Closed");
    Output(3)->click();
    EXPECT_EQ(Output(3)->text(), "Open");
    ASSERT_TRUE(WaitForSets(8));
    Lines output2;
    const Lines sets = Sets(device.Lines());
    for (auto it = sets.begin() + before; it != sets.end(); ++it)
        if (it->rfind("MOD11 2 ", 0) == 0 && (output2.empty() || output2.back() != *it))
            output2.push_back(*it);
    EXPECT_EQ(output2, (Lines{"MOD11 2 1\n", "MOD11 2 0\n"}));
    ExpectClosedWithNoWriteAfter([&] { form.close(); });
}

}  // namespace
