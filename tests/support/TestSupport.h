#pragma once
// Shared test fixtures: a recording message presenter, instant pauses that
// remember what was asked, and a private working directory with its own
// settings store and event log.

#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "base/UserMessages.h"

#include <deque>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Lines sent or received, messages shown: the tests' common list of texts.
using Lines = std::vector<std::string>;

// Records every message shown; answers from a script (Ok when it runs out).
class RecordingMessages : public UserMessages {
public:
    ~RecordingMessages() override { SetUserMessages(previous_); }
    MsgAnswer Show(const UserMessage& message) override;

    std::vector<UserMessage> Shown() const { std::lock_guard lock(mutex_); return shown_; }
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const auto& m : Shown()) texts.push_back(m.text);
        return texts;
    }
    void AnswerNext(MsgAnswer answer) { std::lock_guard lock(mutex_); answers_.push_back(answer); }
    void Clear() { std::lock_guard lock(mutex_); shown_.clear(); }

private:
    mutable std::mutex mutex_;
    std::vector<UserMessage> shown_;
    std::deque<MsgAnswer> answers_;
    UserMessages* previous_ = SetUserMessages(this);
};

// Makes every PauseMs instant while alive and records the durations asked.
class InstantPauses {
    // Shared with the pause function installed while this is alive.
    struct State { std::mutex mutex; std::vector<int> durations; };
    std::shared_ptr<State> state_;

public:
    InstantPauses();
    ~InstantPauses();
    std::vector<int> Durations() const { std::lock_guard lock(state_->mutex); return state_->durations; }
    void Clear() { std::lock_guard lock(state_->mutex); state_->durations.clear(); }
};

// A fresh temporary directory made current, with config.txt written from
// the given text (none when configText is null), a settings store and an
// event log installed as the process-wide ones. Everything is restored and
// removed on destruction.
class TempWorkDir {
public:
    explicit TempWorkDir(const char* configText = "");
    ~TempWorkDir();

    const std::filesystem::path& Path() const { return dir_; }
    DBConfigParser& Settings() { return *settings_; }
    EventLog& Log() { return *log_; }

    // Names are relative to the directory; a full path names any file.
    std::string ReadFile(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& bytes) const;
    bool Exists(const std::string& name) const { return std::filesystem::exists(dir_ / name); }

    // Re-creates the store and the log, as a restart of the program would.
    void Restart();

private:
    std::filesystem::path dir_, oldCwd_;
    std::unique_ptr<DBConfigParser> settings_;
    std::unique_ptr<EventLog> log_;
    DBConfigParser* prevSettings_ = SetProcessSettings(nullptr);
    EventLog* prevLog_ = SetProcessEventLog(nullptr);
};
