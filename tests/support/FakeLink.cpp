#include "FakeLink.h"

#include <cstdio>

std::string FakeLink::Escape(const std::string& bytes)
{
    std::string out;
    for (unsigned char c : bytes) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : c < 0x20 || c >= 0x7F || c == '\\' ? hex : std::string(1, c);
    }
    return out;
}

void FakeLink::SentLocked(const std::string& bytes)
{
    written_ += bytes;
    for (char c : bytes) {
        partial_ += c;
        if (c != '\n') continue;
        const std::string line = std::move(partial_);
        partial_.clear();
        lines_.push_back(line);
        bool answered = false;
        for (Rule& rule : rules_) {
            if (rule.left == 0 || rule.line != line) continue;
            if (rule.left > 0) --rule.left;
            for (unsigned char r : rule.reply) queue_.push_back(r);
            answered = true;
            break;
        }
        if (!answered && handler_) {
            if (std::optional<std::string> reply = handler_(line))
                for (unsigned char r : *reply) queue_.push_back(r);
        }
    }
}

void FakeLink::PutByte(int byte)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string b(1, static_cast<char>(byte));
    events_.push_back("PutByte " + Escape(b));
    SentLocked(b);
}

int FakeLink::PutString(const char* text)
{
    std::lock_guard<std::mutex> lock(mutex_);
    const std::string s = text ? text : "";
    if (putStringResult_ != 0) {
        events_.push_back("PutString failed " + Escape(s));
        return putStringResult_;
    }
    events_.push_back("PutString " + Escape(s));
    SentLocked(s);
    return 0;
}

int FakeLink::GetByte()
{
    std::lock_guard<std::mutex> lock(mutex_);
    ++gets_;
    int byte = -1;
    if (!queue_.empty()) {
        byte = queue_.front();
        queue_.pop_front();
    }
    events_.push_back("Get " + std::to_string(byte));
    return byte;
}

