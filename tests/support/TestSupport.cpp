#include "TestSupport.h"

#include "base/Pause.h"

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace fs = std::filesystem;

MsgAnswer RecordingMessages::Show(const UserMessage& message)
{
    std::lock_guard lock(mutex_);
    shown_.push_back(message);
    if (answers_.empty()) return MsgAnswer::Ok;
    const MsgAnswer a = answers_.front();
    answers_.pop_front();
    return a;
}

InstantPauses::InstantPauses() : state_(std::make_shared<State>())
{
    SetPauseFunction([state = state_](int ms) { std::lock_guard lock(state->mutex); state->durations.push_back(ms); });
}

InstantPauses::~InstantPauses() { SetPauseFunction({}); }

TempWorkDir::TempWorkDir(const char* configText)
{
    std::string pattern = (fs::temp_directory_path() / "corvane-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    dir_ = pattern;
    oldCwd_ = fs::current_path();
    fs::current_path(dir_);
    if (configText) WriteFile("config.txt", configText);
    Restart();
}

void TempWorkDir::Restart()
{
    SetProcessEventLog(nullptr);
    SetProcessSettings(nullptr);
    log_.reset();
    settings_.reset();
    settings_ = std::make_unique<DBConfigParser>(dir_);
    SetProcessSettings(settings_.get());
    log_ = std::make_unique<EventLog>("eventLog.txt");
    SetProcessEventLog(log_.get());
    log_->TakeHeldEntries();
}

TempWorkDir::~TempWorkDir()
{
    SetProcessEventLog(prevLog_);
    SetProcessSettings(prevSettings_);
    log_.reset();
    settings_.reset();
    std::error_code ec;
    fs::current_path(oldCwd_, ec);
    fs::remove_all(dir_, ec);
}

std::string TempWorkDir::ReadFile(const std::string& name) const
{
    std::ostringstream s;
    s << std::ifstream(dir_ / name, std::ios::binary).rdbuf();
    return s.str();
}

void TempWorkDir::WriteFile(const std::string& name, const std::string& bytes) const
{
    std::ofstream(dir_ / name, std::ios::binary | std::ios::trunc) << bytes;
}

