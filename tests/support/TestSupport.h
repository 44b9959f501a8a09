#pragma once
// Shared test fixtures: a recording message presenter, instant pauses that
// remember what was asked, and a private working directory with its own
// settings store and event log.

#include "DBConfigParser.h"
#include "EventLog.h"
#include "UserMessages.h"

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
    // Runs f under the lock (defined first: the accessors below use it).
    template <class F>
    auto Locked(F f) const
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return f();
    }

public:
    RecordingMessages();
    ~RecordingMessages() override;
    MsgAnswer Show(const UserMessage& message) override;

    std::vector<UserMessage> Shown() const { return Locked([&] { return shown_; }); }
    std::vector<std::string> Texts() const;
    void AnswerNext(MsgAnswer answer) { Locked([&] { answers_.push_back(answer); }); }
    void Clear() { Locked([&] { shown_.clear(); }); }

private:
    mutable std::mutex mutex_;
    std::vector<UserMessage> shown_;
    std::deque<MsgAnswer> answers_;
    UserMessages* previous_;
};

// Makes every PauseMs instant while alive and records the durations asked.
class InstantPauses {
public:
    InstantPauses();
    ~InstantPauses();
    std::vector<int> Durations() const;
    void Clear();

private:
    struct State;
    std::shared_ptr<State> state_;
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

    std::string ReadFile(const std::string& name) const;
    void WriteFile(const std::string& name, const std::string& bytes) const;
    bool Exists(const std::string& name) const;

    // Re-creates the store and the log, as a restart of the program would.
    void Restart();

private:
    std::filesystem::path dir_;
    std::filesystem::path oldCwd_;
    std::unique_ptr<DBConfigParser> settings_;
    std::unique_ptr<EventLog> log_;
    DBConfigParser* prevSettings_;
    EventLog* prevLog_;
};
