#include "EventLog.h"

#include "DBConfigParser.h"
#include "SettingsKeys.h"

#include <cstdio>

namespace fs = std::filesystem;

EventLog::EventLog(const std::string& fileName)
{
    std::string dir;
    Settings().GetValue(key::WorkingDirectory, dir);
    // Without WORKING_DIRECTORY the log lands in the current directory,
    // never at the root of the file system.
    // A relative directory (the shipped "." among them) is taken from the
    // current directory now, so the path stays fixed for the whole run.
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) cwd = ".";
    path_ = (dir.empty() ? cwd : cwd / fs::path(dir)) / fileName;
    clock_ = [] {
        std::time_t t = std::time(nullptr);
        std::tm local{};
        localtime_r(&t, &local);
        return local;
    };
}

std::string EventLog::FormatEntry(const std::tm& now, const std::string& origin,
                                  const std::string& message)
{
    std::string entry(64, '*');
    entry += "\n";

    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d/%d  ", now.tm_year + 1900, now.tm_mon + 1, now.tm_mday);
    entry += buf;

    // 12-hour clock: midnight is 00 AM, noon 12 PM, 13-23 are 1-11 PM.
    int hour = now.tm_hour;
    const char* half = "AM";
    if (hour == 12) {
        half = "PM";
    } else if (hour > 12) {
        hour -= 12;
        half = "PM";
    }
    std::snprintf(buf, sizeof buf, "%.2d:%.2d:%.2d %s  ", hour, now.tm_min, now.tm_sec, half);
    entry += buf;

    entry += "{" + origin + "}  \n";
    entry += "\t\t\t" + message + "  \n\n";
    return entry;
}

void EventLog::WriteError(const std::string& origin, const std::string& message)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string entry = FormatEntry(clock_(), origin, message);
    std::FILE* f = std::fopen(path_.c_str(), "a+");
    if (!f) return;  // an entry that cannot be written is dropped
    std::fwrite(entry.data(), 1, entry.size(), f);
    std::fclose(f);
}

namespace {
EventLog* g_log = nullptr;
}

EventLog& Log()
{
    if (!g_log) {
        static EventLog fallback("eventLog.txt");
        g_log = &fallback;
    }
    return *g_log;
}

EventLog* SetProcessEventLog(EventLog* log)
{
    EventLog* previous = g_log;
    g_log = log;
    return previous;
}
