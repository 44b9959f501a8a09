// "Download Alarms" and "Output Test" against the simulated module: what
// the workers send and the forms show, Cancel, and closing.
#include "aom/ui/CAlarmDownloadDlg.h"
#include "aom/ui/COutputTestDlg.h"
#include "base/DesktopOpen.h"
#include "FormFinder.h"
#include "SimOnPortTest.h"

#include <QEventLoop>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class AomWorkerForm : public SimOnPortTest {
protected:
    void SetUp() override
    {
        SimOnPortTest::SetUp();
        SetDesktopOpener([this](const std::string& target, bool) {
            opened.push_back(target);
            return OpenResult{true, {}};
        });
        for (int output = 0; output < 4; ++output)
            for (const char* name : {"Outside Temp", "Wind Speed", "", "", "", "", "", ""})
                rows.insert({output, {name, 1, "", "", "", ""}});
    }
    void TearDown() override { SetDesktopOpener({}); }
    // The download form run to its end without painting it: Qt paints on
    // threads of its own that ThreadSanitizer cannot follow.
    static int RunUnshown(CAlarmDownloadDlg& form)
    {
        QEventLoop loop;
        QObject::connect(&form, &QDialog::finished, &loop, &QEventLoop::quit);
        if (form.Start()) loop.exec();
        return form.result();
    }

    ConditionRowSummaries rows;
    Lines opened;
};

TEST_F(AomWorkerForm, EmptyLogSaysSoAndASilentModuleEndsBothForms)
{
    device.SetAlarms({});
    CAlarmDownloadDlg form(nullptr, rows);
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    ASSERT_EQ(messages.Texts(), Lines{"No alarm records to download!"});
    EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
    EXPECT_EQ(device.ModuleLines(), Lines{"MOD21\n"});
    EXPECT_FALSE(dir.Exists(AlarmFileName(LocalNow())));
    // A count that does not arrive is not an empty log.
    device.SetFault(SimFault::NoLogger);
    CAlarmDownloadDlg silent(nullptr, rows);
    EXPECT_EQ(silent.exec(), QDialog::Accepted);
    EXPECT_EQ(messages.Texts().back(), kAlarmCountUnreadable);
    // A silent module closes the output test by itself, without a message.
    device.ClearLines();
    COutputTestDlg test(nullptr);
    EXPECT_EQ(test.exec(), QDialog::Rejected);
    EXPECT_EQ(device.ModuleLines(), Lines{"MOD11 0 |\n"});
    EXPECT_EQ(messages.Texts().size(), 2u);
}

TEST_F(AomWorkerForm, DownloadWorkerReadsEveryRecordWhileTheFormMirrorsIt)
{
    CAlarmDownloadDlg form(nullptr, rows);
    EXPECT_EQ(RunUnshown(form), QDialog::Accepted);
    EXPECT_EQ(form.Result().end, DownloadEnd::Complete);
    EXPECT_EQ(form.findChild<QLabel*>()->text(), "Download Complete!");
    EXPECT_EQ(form.findChild<QProgressBar*>()->value(), 6);
    EXPECT_EQ(device.ModuleLines().size(), 7u);
    EXPECT_EQ(opened, Lines{form.Result().path});
    EXPECT_EQ(dir.ReadFile(form.Result().fileName).rfind("Output #1  ( Wind Speed )\nOutput Active -  Date: 02/01/", 0), 0u);
}

TEST_F(AomWorkerForm, CancelDuringTheFirstRecordEndsTheDownloadWorkerAfterIt)
{
    CAlarmDownloadDlg form(nullptr, rows);
    // The worker waits while the form takes the first record's progress.
    QObject::connect(form.findChild<QProgressBar*>(), &QProgressBar::valueChanged, [&](int value) {
        if (value == 1) FindButton(&form, "Cancel")->click();
    });
    EXPECT_EQ(RunUnshown(form), QDialog::Accepted);
    EXPECT_EQ(form.Result().end, DownloadEnd::Cancelled);
    EXPECT_EQ(form.findChild<QLabel*>()->text(), "Downloading record: 1/6");
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD21\n", "MOD22 0\n"}));
    EXPECT_EQ(dir.ReadFile(form.Result().fileName).find("Output #", 1), std::string::npos);
    // A form destroyed while its download runs stops it before the next record and waits for it.
    device.ClearLines();
    EXPECT_TRUE(std::make_unique<CAlarmDownloadDlg>(nullptr, rows)->Start());
    EXPECT_EQ(device.ModuleLines(), Lines{"MOD21\n"});
    EXPECT_TRUE(opened.empty());
}

// The close box ends the poller here; Escape does in the circuit test,
// through the base both switch tests share.
TEST_F(AomWorkerForm, PositionsReadAreSentBackUnchangedAndTwoPressesFiftyMillisecondsApartSendOpenThenClosed)
{
    device.SetSwitch(1, 1);
    device.SetSwitch(2, 1);
    COutputTestDlg form(nullptr);
    form.show();
    ASSERT_TRUE(form.Start());
    for (int n = 1; n <= 4; ++n)
        EXPECT_EQ(FindField<QAbstractButton>(&form, QString("Output %1").arg(n))->text(),
                  n == 2 || n == 3 ? "Closed" : "Open");
    ASSERT_TRUE(device.WaitForSwitchSets(4));
    const Lines sets = device.SwitchSets();
    EXPECT_EQ(Lines(sets.begin(), sets.begin() + 4),
              (Lines{"MOD11 0 0\n", "MOD11 1 1\n", "MOD11 2 1\n", "MOD11 3 0\n"}));
    // A slow module: the first press is still being sent when the second comes.
    device.SetFault(SimFault::SlowReplies, 150);
    const std::size_t before = device.SwitchSets().size();
    auto* button = FindField<QAbstractButton>(&form, "Output 3");
    for (const int at : {0, 50})
        QTimer::singleShot(at, &form, [&] { QTest::mouseClick(button, Qt::LeftButton); });
    // Output 3's writes since, repeats folded: the presses' 0 then 1, the poller's 1 last.
    auto output2 = [&] {
        Lines sent;
        const Lines sets = device.SwitchSets();
        for (auto it = sets.begin() + static_cast<long>(before); it != sets.end(); ++it)
            if (it->rfind("MOD11 2 ", 0) == 0 && (sent.empty() || sent.back() != *it)) sent.push_back(*it);
        return sent;
    };
    const Lines pressed{"MOD11 2 0\n", "MOD11 2 1\n"};
    EXPECT_TRUE(QTest::qWaitFor([&] {
        const Lines sent = output2();
        return sent.size() >= 2 && Lines(sent.end() - 2, sent.end()) == pressed;
    }, 60000)) << testing::PrintToString(output2());
    EXPECT_EQ(button->text(), "Closed");
    // Closing returns once the worker has ended, after the 1 s settle: nothing is sent after it.
    form.close();
    const std::size_t sent = device.Lines().size();
    EXPECT_EQ(std::make_pair(form.CurrentPhase(), pauses.Durations().back()), std::make_pair(COutputTestDlg::Phase::Closed, 1000));
    EXPECT_TRUE(device->WaitForQuiet(std::chrono::seconds(10)));
    EXPECT_EQ(device.Lines().size(), sent);
}

}  // namespace
