// "Download Alarms" against the simulated module: the empty log's message,
// the worker's progress mirrored by the form, and Cancel.
#include "CAlarmDownloadDlg.h"
#include "DesktopOpen.h"
#include "FormFinder.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <QLabel>
#include <QProgressBar>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

ConditionRowSummaries TwoRowsEach()
{
    ConditionRowSummaries rows;
    const char* names[] = {"Outside Temp", "Wind Speed", "", "", "", "", "", ""};
    for (int output = 0; output < 4; ++output)
        for (const char* name : names) rows.insert({output, {name, 1, "AND", "", "", ""}});
    return rows;
}

class AlarmDownloadForm : public ::testing::Test {
protected:
    AlarmDownloadForm()
    {
        device.UseAsPort(dir);
        opened_ = LinkOpen(1, 19200) == 0;
        SetDesktopOpener([this](const std::string& target, bool) {
            opened.push_back(target);
            return OpenResult{true, {}};
        });
    }
    ~AlarmDownloadForm() override
    {
        SetDesktopOpener({});
        LinkClose();
    }
    void SetUp() override { ASSERT_TRUE(opened_); }

    std::string Status() { return form.findChild<QLabel*>()->text().toStdString(); }
    std::string File()
    {
        for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
            if (entry.path().filename().string().rfind("Alarm Download ", 0) == 0)
                return dir.ReadFile(entry.path().filename().string());
        return "(none)";
    }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture device{SimKind::Aom};
    Lines opened;
    CAlarmDownloadDlg form{nullptr, TwoRowsEach()};

private:
    bool opened_ = false;
};

TEST_F(AlarmDownloadForm, EmptyLogSaysSoAndWritesNoFile)
{
    device.SetAlarms({});
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "No alarm records to download!");
    EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
    EXPECT_EQ(device.ModuleLines(), Lines{"MOD21\n"});
    EXPECT_EQ(File(), "(none)");
}

TEST_F(AlarmDownloadForm, WorkerReadsEveryRecordWhileTheFormMirrorsItThenOpensTheFile)
{
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(form.CurrentPhase(), CAlarmDownloadDlg::Phase::Closed);
    EXPECT_EQ(form.Result().end, DownloadEnd::Complete);
    EXPECT_EQ(Status(), "Download Complete!");
    const auto* bar = form.findChild<QProgressBar*>();
    EXPECT_EQ(std::make_pair(bar->value(), bar->maximum()), std::make_pair(6, 6));
    EXPECT_EQ(device.ModuleLines().size(), 7u);
    EXPECT_EQ(opened, Lines{form.Result().path});
    EXPECT_EQ(File().rfind("Output #1  ( Wind Speed )\nOutput Active -  Date: 02/01/", 0), 0u);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(AlarmDownloadForm, CancelDuringTheFirstRecordEndsTheWorkerAfterIt)
{
    auto* bar = form.findChild<QProgressBar*>();
    // The worker waits while the form takes the first record's progress.
    QObject::connect(bar, &QProgressBar::valueChanged, [&](int value) {
        if (value == 1) FindButton(&form, "Cancel")->click();
    });
    EXPECT_EQ(form.exec(), QDialog::Accepted);
    EXPECT_EQ(form.Result().end, DownloadEnd::Cancelled);
    EXPECT_EQ(form.Result().recordsDone, 1);
    EXPECT_EQ(Status(), "Downloading record: 1/6");
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD21\n", "MOD22 0\n"}));
    const std::string file = File();
    EXPECT_EQ(file.rfind("Output #1  ( Wind Speed )\n", 0), 0u);
    EXPECT_EQ(file.find("Output #", 1), std::string::npos);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
