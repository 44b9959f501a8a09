#include "settings/EventLog.h"

#include "settings/DBConfigParser.h"
#include "settings/SettingsKeys.h"

#include <cstdio>
#include <vector>

namespace fs = std::filesystem;

namespace {

EventLog* g_log = nullptr;

std::mutex g_heldMutex;
std::vector<std::string> g_held;
// Enough for every start-up error; a runaway source cannot fill the memory.
constexpr std::size_t kMaxHeld = 64;

std::tm LocalNow()
{
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    return local;
}

}  // namespace

EventLog::EventLog(const std::string& fileName) : clock_(LocalNow)
{
    std::string dir;
    if (DBConfigParser* settings = ProcessSettings()) settings->GetValue(key::WorkingDirectory, dir);
    // Without WORKING_DIRECTORY the log lands in the current directory,
    // never at the root of the file system.
    // A relative directory (the shipped "." among them) is taken from the
    // current directory now, so the path stays fixed for the whole run.
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    if (ec) cwd = ".";
    path_ = (dir.empty() ? cwd : cwd / fs::path(dir)) / fileName;
}

EventLog::EventLog(Holding) : holding_(true), clock_(LocalNow) {}

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
    if (holding_) {
        std::lock_guard<std::mutex> held(g_heldMutex);
        if (g_held.size() < kMaxHeld) g_held.push_back(entry);
        return;
    }
    Append(entry);
}

void EventLog::Append(const std::string& entry)
{
    std::FILE* f = std::fopen(path_.c_str(), "a+");
    if (!f) return;  // an entry that cannot be written is dropped
    std::fwrite(entry.data(), 1, entry.size(), f);
    std::fclose(f);
}

void EventLog::TakeHeldEntries()
{
    std::vector<std::string> held;
    {
        std::lock_guard<std::mutex> lock(g_heldMutex);
        held.swap(g_held);
    }
    std::lock_guard<std::mutex> lock(mutex_);
    for (const std::string& entry : held) Append(entry);
}

EventLog& Log()
{
    static EventLog holding{EventLog::Holding{}};
    return g_log ? *g_log : holding;
}

EventLog* SetProcessEventLog(EventLog* log)
{
    EventLog* previous = g_log;
    g_log = log;
    return previous;
}
