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
    // Reads WORKING_DIRECTORY from the installed settings store (none: the
    // current directory); the path is fixed here.
    explicit EventLog(const std::string& fileName);

    void WriteError(const std::string& origin, const std::string& message);

    const std::filesystem::path& Path() const { return path_; }

    // Local time source; tests replace it to pin the time stamp.
    using Clock = std::function<std::tm()>;
    void SetClock(Clock clock) { clock_ = std::move(clock); }

    // The entry bytes for a given time, as WriteError appends them.
    static std::string FormatEntry(const std::tm& now, const std::string& origin,
                                   const std::string& message);

    // Appends the entries written while no event log was installed (the
    // settings store's errors at start-up), in their order, and forgets them.
    void TakeHeldEntries();

private:
    struct Holding {};
    // The stand-in Log() gives while none is installed: it keeps entries in
    // memory, and building it builds nothing else.
    explicit EventLog(Holding);
    friend EventLog& Log();
    void Append(const std::string& entry);

    bool holding_ = false;
    std::filesystem::path path_;
    Clock clock_;
    std::mutex mutex_;
};

// Process-wide instance, created at start-up right after the settings store.
// While none is installed, entries are held for the first log installed, so
// an error path never has to build a log (nor the settings store it reads).
EventLog& Log();
EventLog* SetProcessEventLog(EventLog* log);
