#include "AlohaWrite.h"

#include "ConsoleLink.h"
#include "ModuleCommands.h"

namespace {
constexpr int kTimeoutParameter = 1;
constexpr int kStationParameter = 2;
}  // namespace

bool WriteAlohaSettings(const CAlohaSettings& settings)
{
    WakeConsoleQuick();
    if (ModuleSet(kTimeoutParameter, settings.timeout) != 0) return false;
    return ModuleSet(kStationParameter, settings.stationId) == 0;
}
