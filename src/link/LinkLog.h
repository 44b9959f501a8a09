#pragma once
// The link's traffic as text, one time-stamped line per burst: what
// corvane-cli's transcript writes and what the window keeps in memory for a
// support report. "12:34:56.789 > MOD00\n" is a line sent to the console,
// "12:34:56.801 < AOM     100\n\r" one received; bytes that are not
// printable are shown as \n, \r, \\ or \xNN.

#include <chrono>
#include <cstddef>
#include <deque>
#include <mutex>
#include <string>

// Cuts the bytes of both directions into transcript lines: a line ends when
// the direction changes, after a sent line feed and after a received CR (a
// reply ends with LF CR). Each finished line is handed to the sink.
class TranscriptLines {
public:
    using Clock = std::chrono::system_clock;
    virtual ~TranscriptLines() = default;

    void Add(bool sent, const char* bytes, std::size_t count, Clock::time_point now = Clock::now());
    // Hands over a line that has not ended yet.
    void Finish(Clock::time_point now = Clock::now());

protected:
    virtual void Line(const std::string& line, Clock::time_point when) = 0;

private:
    std::string line_;
    bool sent_ = true;
};

// "HH:MM:SS.mmm" in local time.
std::string TranscriptStamp(std::chrono::system_clock::time_point when);

// The last minutes of traffic, in memory only. Safe to feed from the link's
// thread while the window reads it.
class LinkLog : private TranscriptLines {
public:
    static constexpr std::chrono::minutes kKeep{20};
    static constexpr std::size_t kMaxBytes = 2 * 1024 * 1024;

    void Add(bool sent, const char* bytes, std::size_t count, Clock::time_point now = Clock::now());
    // Every line kept, the unfinished one included, oldest first.
    std::string Text(Clock::time_point now = Clock::now());

private:
    void Line(const std::string& line, Clock::time_point when) override;

    struct Entry {
        Clock::time_point when;
        std::string text;
    };
    std::mutex mutex_;
    std::deque<Entry> lines_;
    std::size_t bytes_ = 0;
};

// The program's log, fed by the link tap from start-up on.
LinkLog& ProgramLinkLog();
void KeepProgramLinkLog();

// The report a user attaches for support: who made it, the port in use, the
// traffic and the end of the event log.
struct LinkReport {
    std::string program;      // "Corvane Utility Version 2.0.0"
    std::string port;         // "COM1 = /dev/ttyUSB0 at 19200 baud, ..."
    std::string traffic;      // LinkLog::Text()
    std::string eventLogTail; // the last lines of eventLog.txt
};
std::string FormatLinkReport(const LinkReport& report, std::chrono::system_clock::time_point now);
// The last `lines` lines of a text.
std::string LastLines(const std::string& text, std::size_t lines);
