#include "link/LinkLog.h"

#include "base/NumericText.h"
#include "link/SerialLink.h"

#include <ctime>

void TranscriptLines::Add(bool sent, const char* bytes, std::size_t count, Clock::time_point now)
{
    if (sent != sent_) {
        Finish(now);
        sent_ = sent;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\n') line_ += "\\n";
        else if (c == '\r') line_ += "\\r";
        else if (c == '\\') line_ += "\\\\";
        else if (c < 0x20 || c > 0x7E) line_ += FormatText("\\x%02X", c);
        else line_ += static_cast<char>(c);
        if ((sent && c == '\n') || (!sent && c == '\r')) Finish(now);
    }
}

void TranscriptLines::Finish(Clock::time_point now)
{
    if (line_.empty()) return;
    Line(TranscriptStamp(now) + (sent_ ? " > " : " < ") + line_ + "\n", now);
    line_.clear();
}

std::string TranscriptStamp(std::chrono::system_clock::time_point when)
{
    using namespace std::chrono;
    const std::time_t seconds = system_clock::to_time_t(when);
    std::tm local{};
    localtime_r(&seconds, &local);
    char stamp[16];
    std::strftime(stamp, sizeof stamp, "%H:%M:%S", &local);
    const auto ms = duration_cast<milliseconds>(when.time_since_epoch()).count() % 1000;
    return stamp + FormatText(".%03d", static_cast<int>(ms));
}

void LinkLog::Add(bool sent, const char* bytes, std::size_t count, Clock::time_point now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    TranscriptLines::Add(sent, bytes, count, now);
}

void LinkLog::Line(const std::string& line, Clock::time_point when)
{
    lines_.push_back({when, line});
    bytes_ += line.size();
    while (!lines_.empty() && (bytes_ > kMaxBytes || lines_.front().when < when - kKeep)) {
        bytes_ -= lines_.front().text.size();
        lines_.pop_front();
    }
}

std::string LinkLog::Text(Clock::time_point now)
{
    std::lock_guard<std::mutex> lock(mutex_);
    // A reply still arriving is shown as far as it came.
    Finish(now);
    std::string text;
    text.reserve(bytes_);
    for (const Entry& e : lines_)
        if (e.when >= now - kKeep) text += e.text;
    return text;
}

LinkLog& ProgramLinkLog()
{
    static LinkLog log;
    return log;
}

void KeepProgramLinkLog()
{
    SetLinkTap([](bool sent, const char* bytes, std::size_t count) {
        ProgramLinkLog().Add(sent, bytes, count);
    });
}

std::string LastLines(const std::string& text, std::size_t lines)
{
    if (lines == 0) return {};
    // The final line end ends the last line; it separates nothing.
    std::size_t start = text.size();
    if (start > 0 && text[start - 1] == '\n') --start;
    for (std::size_t found = 0; start > 0; --start)
        if (text[start - 1] == '\n' && ++found == lines) break;
    return text.substr(start);
}

std::string FormatLinkReport(const LinkReport& r, std::chrono::system_clock::time_point now)
{
    const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&seconds, &local);
    char date[32];
    std::strftime(date, sizeof date, "%Y-%m-%d %H:%M:%S", &local);
    std::string text = r.program + "\nLink log saved " + date + "\nPort: " + r.port + "\n\n";
    text += "Link traffic of the last 20 minutes (> sent to the console, < received):\n";
    text += r.traffic.empty() ? std::string("(none)\n") : r.traffic;
    text += "\nEnd of eventLog.txt:\n";
    text += r.eventLogTail.empty() ? std::string("(empty)\n") : r.eventLogTail;
    if (text.back() != '\n') text += '\n';
    return text;
}
