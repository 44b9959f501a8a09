#pragma once
// The logger the APRS and irrigation form tests talk to, with what it
// received, line by line (a wake-up line feed is the line "\n").

#include "FakeLink.h"

#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

class IrrTestDevice {
public:
    IrrTestDevice()
    {
        link_.Respond("\n", "\n\r");
        link_.RespondWith([this](const std::string& line) -> std::optional<std::string> {
            std::lock_guard<std::mutex> lock(mutex_);
            const bool query = line.size() >= 3 && line.compare(line.size() - 3, 3, " |\n") == 0;
            if (!query) ++setsSeen_;
            changed_.notify_all();
            if (silent_) return std::nullopt;
            if (line == refused_) return std::string("ERR\n\r");
            if (line.rfind("MOD11 ", 0) == 0 && line.size() == 10 && line.substr(7) == " |\n")
                return circuitReply_[line[6] - '0'] + "\n\r";
            return std::string("OK\n\r");
        });
    }

    std::vector<std::string> Lines() const { return link_.Lines(); }
    void ClearLines() { link_.ClearRecord(); }

    // The logger answers this line with an error instead of "OK".
    void Refuse(const std::string& line)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        refused_ = line;
    }
    // The logger stops answering module lines (the console still wakes).
    void Silence()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        silent_ = true;
    }
    void SetCircuitReply(int circuit, const std::string& reply)
    {
        std::lock_guard<std::mutex> lock(mutex_);
        circuitReply_[circuit] = reply;
    }

    // Waits until the count of module sets received reaches n, at most
    // the generous limit; false when it did not.
    bool WaitForSets(int n)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        return changed_.wait_for(lock, std::chrono::seconds(60), [&] { return setsSeen_ >= n; });
    }

    int SetsSeen() const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return setsSeen_;
    }

private:
    FakeLink link_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::string refused_;
    bool silent_ = false;
    int setsSeen_ = 0;
    std::string circuitReply_[4] = {"0", "0", "0", "0"};
};
