#include "aom/AlarmDownload.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomConversions.h"
#include "settings/EventLog.h"
#include "base/Pause.h"
#include "settings/ShowTextFile.h"
#include "base/UserMessages.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool LeapYear(int year)
{
    return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month)
{
    static constexpr int kDays[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return month == 2 && LeapYear(year) ? 29 : kDays[month - 1];
}

bool RealDateTime(const AlarmRecord& r, int year)
{
    return r.month >= 1 && r.month <= 12 && r.day >= 1 && r.day <= DaysInMonth(year, r.month) &&
           r.hour >= 0 && r.hour <= 23 && r.minute >= 0 && r.minute <= 59 && r.second >= 0 &&
           r.second <= 59;
}

std::string SystemReason(int error)
{
    return std::error_code(error, std::generic_category()).message();
}

}  // namespace

std::string AlarmFileName(const std::tm& now)
{
    return FormatText("Alarm Download %02d-%02d-%02d.txt", now.tm_mon + 1, now.tm_mday,
                      (now.tm_year + 1900) % 100);
}

int EventYear(int month, const std::tm& now)
{
    const int year = now.tm_year + 1900;
    return month > now.tm_mon + 1 ? year - 1 : year;
}

std::string EventDateText(const AlarmRecord& record, const std::tm& now)
{
    const int year = EventYear(record.month, now);
    if (!RealDateTime(record, year)) {
        // A garbled record (month 0, day 32, minute 61 ...) is written with
        // the numbers exactly as the module sent them, the hour as 0-23, and
        // marked: turning them into a real date would put a wrong but
        // plausible time on the event.
        return FormatText("Date: %02d/%02d/%02d  Time: %02d:%02d:%02d  (not a valid date)",
                          record.month, record.day, year % 100, record.hour, record.minute,
                          record.second);
    }
    std::tm t{};
    t.tm_year = year - 1900;
    t.tm_mon = record.month - 1;
    t.tm_mday = record.day;
    t.tm_hour = record.hour;
    t.tm_min = record.minute;
    t.tm_sec = record.second;
    t.tm_isdst = -1;  // the local rules decide, a time skipped by the clock change moves on
    std::mktime(&t);
    // Written by hand rather than with strftime so AM and PM stay the same
    // whatever language the desktop speaks.
    const int hour12 = t.tm_hour % 12 == 0 ? 12 : t.tm_hour % 12;
    return FormatText("Date: %02d/%02d/%02d  Time: %02d:%02d:%02d %s", t.tm_mon + 1, t.tm_mday,
                      (t.tm_year + 1900) % 100, hour12, t.tm_min, t.tm_sec,
                      t.tm_hour < 12 ? "AM" : "PM");
}

std::string EventConditionText(const AlarmRecord& record, const ConditionRowSummaries& rows)
{
    std::vector<const ConditionRowSummary*> entries;
    const auto [first, last] = rows.equal_range(record.output);
    for (auto it = first; it != last; ++it) entries.push_back(&it->second);

    // The module numbers a subtraction (a "Minus" row and the row below it)
    // as one condition, so the pair takes one bit, set or not, and the rows
    // after it take the bits after that. Both kinds of entry step the same
    // way, or the rows after a pair would be named by their neighbour's bit.
    std::string text;
    unsigned bit = 1;
    for (std::size_t i = 0; i < entries.size(); ++i, bit <<= 1) {
        const bool pair = entries[i]->checkType == CheckMinus && i + 1 < entries.size();
        const std::string name =
            pair ? entries[i]->parameter + " MINUS " + entries[i + 1]->parameter
                 : entries[i]->parameter;
        if (pair) ++i;
        // An active event names the last condition whose bit is set; an
        // inactive one every condition whose bit is clear, empty rows too,
        // each with a blank.
        if (record.active && (record.conditionMask & bit)) text = name;
        if (!record.active && !(record.conditionMask & bit)) text += name + " ";
    }
    return text;
}

std::string AlarmEntryText(const AlarmRecord& record, const std::string& conditions,
                           const std::string& date)
{
    return FormatText("Output #%d  ( %s )\n", record.output + 1, conditions.c_str()) +
           (record.active ? "Output Active -  " : "Output Not Active -  ") + date + "\n\n\n";
}

std::string DownloadingText(int index, int count)
{
    return FormatText("Downloading record: %d/%d", index, count);
}

AlarmDownloadResult DownloadAlarmLog(int count, const ConditionRowSummaries& rows,
                                     const std::atomic<bool>& cancel, const std::tm& now,
                                     const AlarmDownloadHooks& hooks, const fs::path& file)
{
    AlarmDownloadResult result;
    result.count = count;
    result.fileName = file.empty() ? AlarmFileName(now) : file.string();
    std::error_code ec;
    const fs::path dir = fs::current_path(ec);
    result.path = (ec ? fs::path(result.fileName) : dir / result.fileName).string();

    // Truncated when it exists: a second download on the same day replaces
    // the first, as the module still holds every event.
    std::FILE* out = std::fopen(result.path.c_str(), "w");
    if (!out) {
        // Reading on would cost the user minutes for events that go nowhere.
        result.end = DownloadEnd::FileFailed;
        result.reason = SystemReason(errno);
        return result;
    }

    int writeError = 0;
    for (int i = 0; i < count; ++i) {
        if (hooks.status) hooks.status(DownloadingText(i, count));
        AlarmRecord record;
        if (cancel.load()) {
            result.end = DownloadEnd::Cancelled;
        } else if (!ReadAlarmRecord(i, record)) {
            result.end = DownloadEnd::ReadFailed;
        }
        if (result.end != DownloadEnd::Complete) {
            result.recordsDone = i;
            break;
        }
        const std::string conditions = EventConditionText(record, rows);
        if (!conditions.empty()) {
            const std::string entry =
                AlarmEntryText(record, conditions, EventDateText(record, now));
            errno = 0;
            if (std::fwrite(entry.data(), 1, entry.size(), out) != entry.size()) {
                writeError = errno ? errno : EIO;
                break;
            }
        }
        if (hooks.progress) hooks.progress(i + 1);
    }
    errno = 0;
    if (std::fclose(out) != 0 && writeError == 0) writeError = errno ? errno : EIO;
    if (writeError != 0) {
        // A full disk loses entries: that is no completed download either.
        result.end = DownloadEnd::FileFailed;
        result.reason = SystemReason(writeError);
        return result;
    }
    if (result.end != DownloadEnd::Complete) return result;

    result.recordsDone = count;
    if (hooks.status) hooks.status(kDownloadComplete);
    PauseMs(kDownloadCompletePauseMs);
    return result;
}

std::string AlarmFileFailedText(const AlarmDownloadResult& result)
{
    return "The alarm records could not be written to the file\n" + result.path + "\n" +
           result.reason;
}

std::string AlarmDownloadStoppedText(const AlarmDownloadResult& result)
{
    const std::string where = "The events read before it are in\n" + result.path;
    if (result.end == DownloadEnd::ReadFailed)
        return FormatText(kRecordUnreadable, result.recordsDone + 1, result.count) + "\n" + where;
    return FormatText(kDownloadStopped, result.recordsDone + 1, result.count) + "\n" + where;
}

void FinishAlarmDownload(const AlarmDownloadResult& result)
{
    if (result.end == DownloadEnd::Complete) {
        ShowTextFile(result.fileName);
    } else if (result.end == DownloadEnd::ReadFailed) {
        // The file is not complete: the user must know, and where it is.
        ShowMessage(AlarmDownloadStoppedText(result));
    } else if (result.end == DownloadEnd::FileFailed) {
        const std::string text = AlarmFileFailedText(result);
        Log().WriteError(kAlarmFileOrigin, text);
        ShowMessage(text);
    }
}

std::tm LocalNow()
{
    const std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}
