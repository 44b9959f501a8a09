// The alarm log download loop against the simulated module: the file's
// exact bytes, the module lines sent, and how it ends when a record cannot
// be read or the file cannot be created.
#include "aom/AlarmDownload.h"
#include "aom/AlarmParameterTable.h"
#include "base/DesktopOpen.h"
#include "SimOnPortTest.h"

#include <gtest/gtest.h>

namespace {

std::string Entry(int output, const std::string& conditions, bool active, const std::string& date)
{
    return "Output #" + std::to_string(output) + "  ( " + conditions + " )\n" +
           (active ? "Output Active -  " : "Output Not Active -  ") + date + "\n\n\n";
}

class AlarmDownloadOnSim : public SimOnPortTest {
protected:
    void SetUp() override
    {
        SimOnPortTest::SetUp();
        // Output 3's page has no conditions; output 2 has no page at all.
        const std::pair<int, ConditionRowSummary> used[] = {
            {0, {"Outside Temp", 1, "", "", "", ""}}, {0, {"Wind Speed", 1, "", "", "", ""}},
            {0, {"Rain Rate", 1, "", "", "", ""}}, {1, {"Outside Temp", CheckMinus, "", "", "", ""}},
            {1, {"Dew Point", 1, "", "", "", ""}}, {1, {"Wind Speed", 2, "", "", "", ""}}};
        rows.insert(std::begin(used), std::end(used));
        for (int output : {0, 1, 3})
            while (rows.count(output) < 8) rows.insert({output, ConditionRowSummary()});
        now.tm_year = 2027 - 1900;
        now.tm_mday = 10;  // 10 January 2027
        hooks = {[this](int done) { progress.push_back(done); },
                 [this](const std::string& text) { statuses.push_back(text); }};
        SetDesktopOpener([this](const std::string& target, bool) {
            opened.push_back(target);
            return OpenResult{true, {}};
        });
        device.SetAlarms({EncodeAlarmRecord(0, true, 0b101, 1, 5, 14, 30, 9),
                          EncodeAlarmRecord(0, false, 0, 12, 24, 0, 5, 0),
                          EncodeAlarmRecord(1, true, 0b01, 1, 10, 12, 0, 0),
                          EncodeAlarmRecord(1, true, 0b10, 11, 3, 23, 59, 59),
                          EncodeAlarmRecord(3, true, 0b1, 1, 2, 8, 0, 0),
                          EncodeAlarmRecord(2, true, 0b1, 1, 2, 8, 0, 0)});
        device.ClearLines();
    }
    void TearDown() override { SetDesktopOpener({}); }
    AlarmDownloadResult Download(int count) { return DownloadAlarmLog(count, rows, cancel, now, hooks); }
    std::string File() const { return dir.ReadFile(kFile); }

    static constexpr const char* kFile = "Alarm Download 01-10-27.txt";
    ConditionRowSummaries rows;
    std::tm now{};
    std::atomic<bool> cancel{false};
    AlarmDownloadHooks hooks;
    std::vector<int> progress;
    Lines statuses, opened;
};

// The December event is from the year before the January download.
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
                          Entry(2, "Outside Temp MINUS Dew Point", true, "Date: 01/10/27  Time: 12:00:00 PM") +
                          Entry(2, "Wind Speed", true, "Date: 11/03/26  Time: 11:59:59 PM"));
    EXPECT_EQ(device.ModuleLines(),
              (Lines{"MOD22 0\n", "MOD22 1\n", "MOD22 2\n", "MOD22 3\n", "MOD22 4\n", "MOD22 5\n"}));
    EXPECT_EQ(progress, (std::vector<int>{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Lines(statuses.end() - 2, statuses.end()),
              (Lines{"Downloading record: 5/6", "Download Complete!"}));
    EXPECT_EQ(pauses.Durations().back(), 1500);
    FinishAlarmDownload(result);
    EXPECT_EQ(opened, Lines{(dir.Path() / kFile).string()});
    // The day's second download replaces the file.
    device.SetAlarms({EncodeAlarmRecord(0, true, 0b1, 1, 9, 7, 8, 9)});
    EXPECT_EQ(Download(1).end, DownloadEnd::Complete);
    EXPECT_EQ(File(), Entry(1, "Outside Temp", true, "Date: 01/09/27  Time: 07:08:09 AM"));
}

TEST_F(AlarmDownloadOnSim, ReadFailureMidwayKeepsTheEntriesWritten)
{
    // Two records are 18 bytes (wake-up and query each); the module goes at the third.
    device.SetFault(SimFault::Hangup, 19);
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(std::make_tuple(result.end, result.recordsDone, device->Hangups()),
              std::make_tuple(DownloadEnd::ReadFailed, 2, 1));
    EXPECT_EQ(File(), kFirstTwo);
    EXPECT_EQ(statuses.back(), "Downloading record: 2/6");
    FinishAlarmDownload(result);
    EXPECT_TRUE(opened.empty());
    EXPECT_EQ(messages.Texts(),
              Lines{"Alarm record 3 of 6 could not be read; the download stopped.\n"
                    "The events read before it are in\n" + (dir.Path() / kFile).string()});
}

TEST_F(AlarmDownloadOnSim, LostOrGarbledRepliesAreAskedAgainNeverWrittenAsEvents)
{
    // The second reply is lost: record 1 is asked for again.
    device.SetFault(SimFault::DropReplies, 2);
    EXPECT_EQ(Download(2).end, DownloadEnd::Complete);
    EXPECT_EQ(File(), kFirstTwo);
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD22 0\n", "MOD22 1\n", "MOD22 1\n"}));
    // A module that never answers a record properly: three queries, then the stop.
    device.ClearFaults();
    device.SetFault(SimFault::Garble);
    device.ClearLines();
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(std::make_tuple(result.end, result.recordsDone), std::make_tuple(DownloadEnd::ReadFailed, 0));
    EXPECT_EQ(File(), "");
    EXPECT_EQ(device.ModuleLines(), (Lines{"MOD22 0\n", "MOD22 0\n", "MOD22 0\n"}));
}

TEST(AlarmEventText, AMinusPairTakesOneBitInBothKindsOfEntryAndImpossibleDatesAreMarked)
{
    ConditionRowSummaries rows;
    for (const auto& [name, check] : {std::pair{"Rain Rate", 1}, {"Outside Temp", int{CheckMinus}},
                                      {"Dew Point", 1}, {"Wind Speed", 2}})
        rows.insert({0, {name, check, "", "", "", ""}});
    while (rows.count(0) < 8) rows.insert({0, ConditionRowSummary()});
    const struct { bool active; int mask; std::string text; } cases[] = {
        {true, 0b010, "Outside Temp MINUS Dew Point"},
        {true, 0b100, "Wind Speed"},
        {false, 0b010, "Rain Rate Wind Speed " + std::string(4, ' ')},
        {false, 0b101, "Outside Temp MINUS Dew Point " + std::string(4, ' ')},
    };
    for (const auto& c : cases)
        EXPECT_EQ(EventConditionText({0, c.active, c.mask, 1, 1, 0, 0, 0}, rows), c.text) << c.mask;
    // Impossible dates keep the module's numbers, marked.
    std::tm march{};
    march.tm_year = 2027 - 1900;
    march.tm_mon = 2;
    const struct { AlarmRecord record; const char* text; } dates[] = {
        {{0, true, 1, 0, 12, 13, 14, 15}, "Date: 00/12/27  Time: 13:14:15  (not a valid date)"},
        {{0, true, 1, 1, 32, 1, 2, 3}, "Date: 01/32/27  Time: 01:02:03  (not a valid date)"},
        {{0, true, 1, 2, 29, 9, 0, 0}, "Date: 02/29/27  Time: 09:00:00  (not a valid date)"},
        {{0, true, 1, 3, 1, 25, 0, 0}, "Date: 03/01/27  Time: 25:00:00  (not a valid date)"},
    };
    for (const auto& c : dates) EXPECT_EQ(EventDateText(c.record, march), c.text);
}

TEST_F(AlarmDownloadOnSim, UnwritableFileReadsNothingAndSaysWhereAndWhy)
{
    std::filesystem::create_directory(dir.Path() / kFile);
    const AlarmDownloadResult result = Download(6);
    EXPECT_EQ(result.end, DownloadEnd::FileFailed);
    EXPECT_TRUE(device.ModuleLines().empty() && progress.empty());
    FinishAlarmDownload(result);
    const std::string text = "The alarm records could not be written to the file\n" +
                             (dir.Path() / kFile).string() + "\nIs a directory";
    EXPECT_EQ(messages.Texts(), Lines{text});
    EXPECT_NE(dir.ReadFile("eventLog.txt").find("{CAlarmDownloadDlg}  \n\t\t\t" + text + "  \n\n"),
              std::string::npos);
    EXPECT_TRUE(opened.empty());
}

}  // namespace
