#pragma once
// The module's alarm event log written out as text: the file named after
// today's date, each event dated and named by the conditions its output's
// page shows now (a record carries only the output and one bit per
// condition), and the loop that reads the records one by one. The loop runs
// on the link worker; the download form only mirrors its progress.

#include "aom/AlarmRowSummary.h"
#include "aom/AomCommands.h"

#include <atomic>
#include <ctime>
#include <filesystem>
#include <functional>
#include <string>

inline constexpr const char* kNoAlarmRecords = "No alarm records to download!";
inline constexpr const char* kDownloadComplete = "Download Complete!";
// "Clear Logs": the answers to ClearAlarmLog.
inline constexpr const char* kLogsCleared = "Logs Cleared!";
inline constexpr const char* kLogsClearFailed = "Logs clearing failed!";
// Long enough to read "Download Complete!" before the form goes.
inline constexpr int kDownloadCompletePauseMs = 1500;
inline constexpr const char* kAlarmFileOrigin = "CAlarmDownloadDlg";
// A download that ends early; records counted from 1.
inline constexpr const char* kRecordUnreadable =
    "Alarm record %d of %d could not be read; the download stopped.";
inline constexpr const char* kDownloadStopped = "The download was stopped before record %d of %d.";
inline constexpr const char* kAlarmCountUnreadable =
    "The module did not say how many alarm records it holds; nothing was downloaded.";

// "Alarm Download 03-07-10.txt" for 7 March 2010.
std::string AlarmFileName(const std::tm& now);

// The module keeps no year: an event from a month after the current one
// happened last year.
int EventYear(int month, const std::tm& now);

// "Date: 12/24/26  Time: 09:05:07 PM".
std::string EventDateText(const AlarmRecord& record, const std::tm& now);

// The conditions an event names; empty when nothing is to be written.
std::string EventConditionText(const AlarmRecord& record, const ConditionRowSummaries& rows);

// One event of the file: two lines and two empty lines.
std::string AlarmEntryText(const AlarmRecord& record, const std::string& conditions,
                           const std::string& date);

// "Downloading record: 0/6".
std::string DownloadingText(int index, int count);

enum class DownloadEnd { Complete, Cancelled, ReadFailed, FileFailed };

struct AlarmDownloadResult {
    DownloadEnd end = DownloadEnd::Complete;
    int count = 0;  // records the module said it holds
    int recordsDone = 0;
    std::string fileName;  // in the current directory
    std::string path;      // the same, absolute
    std::string reason;    // the system's words when the file failed
};

// How the loop reports, from the thread it runs on. Both may be empty.
struct AlarmDownloadHooks {
    std::function<void(int done)> progress;
    std::function<void(const std::string& text)> status;
};

// Reads records 0 .. count-1 into file (the day's file in the current
// directory when empty). cancel is looked at before each record; a cancel
// or a record that cannot be read ends the download, keeping the entries
// written so far. A file that cannot be created ends it before anything is
// read.
AlarmDownloadResult DownloadAlarmLog(int count, const ConditionRowSummaries& rows,
                                     const std::atomic<bool>& cancel, const std::tm& now,
                                     const AlarmDownloadHooks& hooks,
                                     const std::filesystem::path& file = {});

// After the loop has ended, on the form's thread: a complete file is opened
// in the text viewer; a record that could not be read or a file that could
// not be written is reported to the user (the latter also to the event log).
void FinishAlarmDownload(const AlarmDownloadResult& result);
std::string AlarmFileFailedText(const AlarmDownloadResult& result);
// Which record the download stopped at and where the entries before it are.
std::string AlarmDownloadStoppedText(const AlarmDownloadResult& result);

std::tm LocalNow();
