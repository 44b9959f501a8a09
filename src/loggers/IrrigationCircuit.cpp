#include "loggers/IrrigationCircuit.h"

#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "base/Pause.h"

#include <cstdio>

std::optional<bool> ReadCircuitState(int circuit)
{
    bool sent = false;
    for (int attempt = 0; attempt < kCircuitReadAttempts && !sent; ++attempt)
        sent = ModuleQueryInt(kCircuitParameter, circuit) == 0;
    if (!sent) return std::nullopt;
    const std::string reply = ModuleReadLine();
    if (reply == "0") return false;
    if (reply == "1") return true;
    return std::nullopt;
}

std::optional<CircuitStates> ReadCircuitStates()
{
    WakeConsoleQuick();
    CircuitStates states{};
    for (int circuit = 0; circuit < kCircuitCount; ++circuit) {
        const auto state = ReadCircuitState(circuit);
        if (!state) return std::nullopt;
        states[circuit] = *state;
    }
    return states;
}

int SetCircuitState(int circuit, bool closed)
{
    char text[32];
    std::snprintf(text, sizeof text, "%i %i", circuit, closed ? 1 : 0);
    return ModuleSet(kCircuitParameter, text);
}

void RunCircuitTestWorker(SwitchTestBlock& block)
{
    while (!block.stop.load()) {
        for (int circuit = 0; circuit < kCircuitCount && !block.stop.load(); ++circuit)
            SetCircuitState(circuit, block.closed[circuit].load() != 0);
        PauseMs(kCircuitResendPauseMs);
    }
}
