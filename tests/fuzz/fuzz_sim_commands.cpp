// The simulator's own parsers: module lines through the simulated logger of
// the kind the first byte picks (its state must save and load back as it
// is), a state file, a condition list, the command line and the console's
// bytes with made-up arrival times.
#include "FuzzSupport.h"
#include "SimCommandLine.h"
#include "SimDevice.h"
#include "SimText.h"

namespace {

constexpr SimKind kKinds[] = {SimKind::Aloha, SimKind::Aprs, SimKind::Irr, SimKind::Aom, SimKind::None};

void SavesAndLoads(const SimState& state, SimKind kind)
{
    SimState loaded = SimState::Defaults(kind);
    std::string error;
    if (!loaded.ApplyText(state.ToText(), &error)) FuzzFinding("a saved state does not load: " + error);
    if (!(loaded == state)) FuzzFinding("a saved state loads back different");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const SimKind kind = kKinds[input.Pick(5)];
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines;
    while (!input.Empty()) lines.push_back(input.Line());

    SimState state = SimState::Defaults(kind);
    const SimLogger logger(kind, SimDefaultFirmware(kind));
    for (const std::string& line : lines) logger.Handle(line, state);
    SavesAndLoads(state, kind);

    SimState edited = SimState::Defaults(kind);
    edited.ApplyText(text);
    SavesAndLoads(edited, kind);

    std::vector<SimCondition> conditions;
    if (!lines.empty() && ParseConditions(lines.front(), conditions)) {
        std::vector<SimCondition> again;
        if (!ParseConditions(FormatConditions(conditions), again) || !(again == conditions))
            FuzzFinding("a condition list formats into another one");
    }

    SimCommandLine commandLine;
    std::string error;
    ParseSimCommandLine(lines, commandLine, error);

    SimDevice device(SimDeviceConfig{kind}, SimState::Defaults(kind));
    auto now = SimDevice::Clock::time_point{};
    for (const std::string& line : lines) {
        now += std::chrono::milliseconds(line.size() * 7);
        device.Receive(line + "\n", now);
    }
    return 0;
}
