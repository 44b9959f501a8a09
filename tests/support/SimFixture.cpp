#include "SimFixture.h"

#include "settings/SettingsKeys.h"
#include "TestSupport.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>

namespace fs = std::filesystem;

SimOptions SimFixture::Options(SimKind kind)
{
    SimOptions o;
    o.kind = kind;
    o.wakeDelayMs = o.sleepAfterMs = 0;
    return o;
}

SimFixture::SimFixture(SimKind kind) : SimFixture(Options(kind)) {}

SimFixture::SimFixture(SimOptions options)
{
    std::string pattern = (fs::temp_directory_path() / "corvane-sim-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed for the simulator's link");
    dir_ = pattern;
    options.linkPath = (dir_ / "ttySIM").string();
    sim_ = std::make_unique<CorvaneSim>(std::move(options));
    try {
        sim_->Start();
    } catch (...) {
        std::error_code ec;
        fs::remove_all(dir_, ec);
        throw;
    }
}

SimFixture::~SimFixture()
{
    sim_->Stop();
    std::error_code ec;
    fs::remove_all(dir_, ec);
}

void SimFixture::UseAsPort(TempWorkDir& dir, int port, int baud, int timeoutMs) const
{
    char key[32];
    std::snprintf(key, sizeof key, key::ComDeviceFormat, port);
    dir.Settings().SetValue(key, DevicePath());
    dir.Settings().SetValue(key::SerialPort, port);
    dir.Settings().SetValue(key::BaudRate, baud);
    dir.Settings().SetValue(key::LinkTimeoutMs, timeoutMs);
}

void SimFixture::SetConditions(int output, const std::string& records, int logic)
{
    if (output < 0 || output >= kSimOutputs) throw std::out_of_range("output index");
    std::vector<SimCondition> conditions;
    if (!ParseConditions(records, conditions)) throw std::invalid_argument("not a condition reply: " + records);
    sim_->UpdateState([&](SimState& s) {
        s.outputs[static_cast<std::size_t>(output)].conditions = conditions;
        s.outputs[static_cast<std::size_t>(output)].logic = logic;
    });
}

std::vector<std::string> SimFixture::SwitchSetsIn(std::vector<std::string> lines)
{
    std::erase_if(lines, [](const std::string& l) { return l.rfind("MOD11 ", 0) != 0 || l[8] == '|'; });
    return lines;
}

bool SimFixture::WaitForSwitchSets(std::size_t n) const
{
    const std::size_t target = SwitchSets().size() + n;
    return sim_->WaitForReceived([&](const std::vector<std::string>& l) { return SwitchSetsIn(l).size() >= target; },
                                 std::chrono::seconds(60));
}
