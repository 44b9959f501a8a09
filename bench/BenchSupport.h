#pragma once
// What every benchmark stands on: a private working directory whose
// config.txt points COM1 at a simulator, with its settings store and event
// log installed as the process-wide ones, and a simulator that answers at
// once, so the figures are the program's own.

#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "base/Pause.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

class BenchWorkDir {
public:
    // config.txt: SERIAL_PORT=1 at baud, a 1 s link time-out, COM1 not set
    // yet, then extraLines. enter: the directory becomes the current one.
    BenchWorkDir(int baud, const std::string& extraLines = "", bool enter = false)
    {
        namespace fs = std::filesystem;
        std::string pattern = (fs::temp_directory_path() / "corvane-bench-XXXXXX").string();
        if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary directory");
        dir_ = pattern;
        std::ofstream(dir_ / "config.txt") << "SERIAL_PORT=1\nBAUD_RATE=" << baud
                                           << "\nLINK_TIMEOUT_MS=1000\nCOM1_DEVICE=\n"
                                           << extraLines << "WORKING_DIRECTORY=" << dir_.string()
                                           << "\n";
        if (enter) {
            previous_ = fs::current_path();
            fs::current_path(dir_);
        }
        settings_ = std::make_unique<DBConfigParser>(dir_);
        SetProcessSettings(settings_.get());
        log_ = std::make_unique<EventLog>("eventLog.txt");
        SetProcessEventLog(log_.get());
    }
    ~BenchWorkDir()
    {
        SetProcessEventLog(nullptr);
        SetProcessSettings(nullptr);
        log_.reset();
        settings_.reset();
        std::error_code ec;
        if (!previous_.empty()) std::filesystem::current_path(previous_, ec);
        std::filesystem::remove_all(dir_, ec);
    }
    BenchWorkDir(const BenchWorkDir&) = delete;
    BenchWorkDir& operator=(const BenchWorkDir&) = delete;

    const std::filesystem::path& Dir() const { return dir_; }
    DBConfigParser& Settings() { return *settings_; }

    // Starts sim and points COM1 at it; false (with the reason on stderr)
    // when the simulator cannot start.
    bool StartOnCom1(CorvaneSim& sim)
    {
        try {
            sim.Start();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "corvane-sim: %s\n", e.what());
            return false;
        }
        settings_->SetValue("COM1_DEVICE", sim.DevicePath());
        return true;
    }


private:
    std::filesystem::path dir_;
    std::filesystem::path previous_;
    std::unique_ptr<DBConfigParser> settings_;
    std::unique_ptr<EventLog> log_;
};

// A simulator of kind that wakes at once and stays awake, linked in dir.
inline SimOptions BenchSimOptions(SimKind kind, const std::filesystem::path& dir)
{
    SimOptions options;
    options.kind = kind;
    options.wakeDelayMs = 0;
    options.sleepAfterMs = 0;
    options.linkPath = (dir / "ttySIM").string();
    return options;
}

// The program's pauses taken for real while alive, their sum kept. The sum is
// read once the sequences that paused have ended.
class RealPauses {
public:
    RealPauses()
        : previous_(SetPauseFunction([this](int ms) {
              totalMs_ += ms;
              std::this_thread::sleep_for(std::chrono::milliseconds(ms));
          }))
    {
    }
    ~RealPauses() { SetPauseFunction(previous_); }
    RealPauses(const RealPauses&) = delete;
    RealPauses& operator=(const RealPauses&) = delete;
    double TotalMs() const { return totalMs_; }

private:
    double totalMs_ = 0;
    PauseFunction previous_;
};

// The time lines received by the simulator took on the wire at baud, 10 bits
// a byte: each line, LF CR after a wake-up's LF, and a reply's "OK" LF CR
// after every module line. moduleLines counts the lines other than wake-ups.
inline double WireMs(const std::vector<std::string>& lines, int baud, int& moduleLines)
{
    std::size_t bytes = 0;
    moduleLines = 0;
    for (const std::string& line : lines) {
        bytes += line.size() + (line == "\n" ? 2 : 4);
        moduleLines += line != "\n";
    }
    return bytes * 10 * 1000.0 / baud;
}
