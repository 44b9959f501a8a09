// The alarm log download loop against the simulated module: the file's
// exact bytes, the module lines sent, and how it ends when a record cannot
// be read or the file cannot be created.
#include "AlarmDownload.h"
#include "AlarmParameterTable.h"
#include "DesktopOpen.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// Eight rows for an output, the ones given first, the rest empty.
void AddRows(ConditionRowSummaries& rows, int output,
             std::vector<std::pair<std::string, int>> used)
{
    used.resize(8, {"", -1});
    for (const auto& [parameter, check] : used)
        rows.insert({output, ConditionRowSummary{parameter, check, "AND", "", "", ""}});
}

std::string Entry(int output, const std::string& conditions, bool active, const std::string& date)
{
    return "Output #" + std::to_string(output) + "  ( " + conditions + " )\n" +
           (active ? "Output Active -  " : "Output Not Active -  ") + date + "\n\n\n";
}

class AlarmDownloadOnSim : public ::testing::Test {
protected:
    AlarmDownloadOnSim()
    {
        AddRows(rows, 0, {{"Outside Temp", 1}, {"Wind Speed", 1}, {"Rain Rate", 1}});
        AddRows(rows, 1, {{"Outside Temp", CheckMinus}, {"Dew Point", 1}, {"Wind Speed", 2}});
        AddRows(rows, 3, {});  // a page without conditions; output 3 has no rows at all
        now.tm_year = 2027 - 1900;
        now.tm_mon = 0;
        now.tm_mday = 10;
        hooks.progress = [this](int done) { progress.push_back(done); };
        hooks.status = [this](const std::string& text) { statuses.push_back(text); };
        SetDesktopOpener([this](const std::string& target, bool) {
            opened.push_back(target);
            return OpenResult{true, {}};
        });
    }
    ~AlarmDownloadOnSim() override { SetDesktopOpener({}); }
    void SetUp() override
    {
        sim.UseAsPort(dir);
        ASSERT_EQ(LinkOpen(1, 19200), 0);
        sim.SetAlarms({
            EncodeAlarmRecord(0, true, 0b101, 1, 5, 14, 30, 9),
            EncodeAlarmRecord(0, false, 0, 12, 24, 0, 5, 0),
            EncodeAlarmRecord(1, true, 0b01, 1, 10, 12, 0, 0),
            EncodeAlarmRecord(1, true, 0b10, 11, 3, 23, 59, 59),
            EncodeAlarmRecord(3, true, 0b1, 1, 2, 8, 0, 0),
            EncodeAlarmRecord(2, true, 0b1, 1, 2, 8, 0, 0),
        });
        sim.ClearLines();
    }
    void TearDown() override { LinkClose(); }

    AlarmDownloadResult Download(int count)
    {
        return DownloadAlarmLog(count, rows, cancel, now, hooks);
    }
    std::string File() const { return dir.ReadFile("Alarm Download 01-10-27.txt"); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture sim{SimKind::Aom};
    ConditionRowSummaries rows;
    std::tm now{};
    std::atomic<bool> cancel{false};
    AlarmDownloadHooks hooks;
    std::vector<int> progress;
    Lines statuses, opened;
};

const std::string kFirstTwo =
    Entry(1, "Rain Rate", true, "Date: 01/05/27  Time: 02:30:09 PM") +
    Entry(1, "Outside Temp Wind Speed Rain Rate " + std::string(5, ' '), false,
          "Date: 12/24/26  Time: 12:05:00 AM");

TEST_F(AlarmDownloadOnSim, EveryRecordReadAndEachEventNamedByItsRows)
{
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(result.end, DownloadEnd::Complete);
    // A "Minus" pair is one condition: its bit names both rows, the next bit the row after.
    EXPECT_EQ(File(), kFirstTwo +
                          Entry(2, "Outside Temp MINUS Dew Point", true,
                                "Date: 01/10/27  Time: 12:00:00 PM") +
                          Entry(2, "Wind Speed", true, "Date: 11/03/26  Time: 11:59:59 PM"));
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD22 0\n", "MOD22 1\n", "MOD22 2\n", "MOD22 3\n",
                                        "MOD22 4\n", "MOD22 5\n"}));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(statuses.front(), "Downloading record: 0/6");
    EXPECT_EQ(statuses.end()[-2], "Downloading record: 5/6");
    EXPECT_EQ(statuses.back(), "Download Complete!");
    EXPECT_EQ(pauses.Durations().back(), 1500);
    FinishAlarmDownload(result);
    EXPECT_EQ(opened, (Lines{(dir.Path() / "Alarm Download 01-10-27.txt").string()}));
}

TEST_F(AlarmDownloadOnSim, ReadFailureMidwayKeepsTheEntriesWritten)
{
    // Two records are 18 bytes (wake-up and query each); the module goes at the third.
    sim.SetFault(SimFault::Hangup, 19);
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(result.end, DownloadEnd::ReadFailed);
    EXPECT_EQ(result.recordsDone, 2);
    EXPECT_EQ(sim->Hangups(), 1);
    EXPECT_EQ(File(), kFirstTwo);
    EXPECT_EQ(statuses.back(), "Downloading record: 2/6");
    FinishAlarmDownload(result);
    EXPECT_TRUE(opened.empty());
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(AlarmDownloadOnSim, SecondDownloadOfTheDayReplacesTheFile)
{
    Download(6);
    sim.SetAlarms({EncodeAlarmRecord(0, true, 0b1, 1, 9, 7, 8, 9)});
    EXPECT_EQ(Download(1).end, DownloadEnd::Complete);
    EXPECT_EQ(File(), Entry(1, "Outside Temp", true, "Date: 01/09/27  Time: 07:08:09 AM"));
}

TEST_F(AlarmDownloadOnSim, UnwritableFileReadsNothingAndSaysWhereAndWhy)
{
    std::filesystem::create_directory(dir.Path() / "Alarm Download 01-10-27.txt");
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(result.end, DownloadEnd::FileFailed);
    EXPECT_TRUE(sim.ModuleLines().empty());
    EXPECT_TRUE(progress.empty());
    FinishAlarmDownload(result);
    const std::string text = "The alarm records could not be written to the file\n" +
                             (dir.Path() / "Alarm Download 01-10-27.txt").string() +
                             "\nIs a directory";
    EXPECT_EQ(messages.Texts(), Lines{text});
    EXPECT_NE(dir.ReadFile("eventLog.txt").find("{CAlarmDownloadDlg}  \n\t\t\t" + text + "  \n\n"),
              std::string::npos);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
