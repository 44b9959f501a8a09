#pragma once
// The error log: time-stamped entries appended to eventLog.txt in the
// directory named by WORKING_DIRECTORY.

#include <ctime>
#include <filesystem>
#include <functional>
#include <mutex>
#include <string>

class EventLog {
public:
    // Reads WORKING_DIRECTORY from the settings store; the path is fixed here.
    explicit EventLog(const std::string& fileName);

    void WriteError(const std::string& origin, const std::string& message);

    const std::filesystem::path& Path() const { return path_; }

    // Local time source; tests replace it to pin the time stamp.
    using Clock = std::function<std::tm()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // The entry bytes for a given time, as WriteError appends them.
    static std::string FormatEntry(const std::tm& now, const std::string& origin,
                                   const std::string& message);

private:
    std::filesystem::path path_;
    Clock clock_;
    std::mutex mutex_;
};

// Process-wide instance, created in main right after the settings store.
EventLog& Log();
EventLog* SetProcessEventLog(EventLog* log);
