#include "loggers/AlohaWrite.h"

#include "loggers/ModuleWritePlan.h"

bool WriteAlohaSettings(const CAlohaSettings& settings)
{
    const ModuleWritePlan plan = AlohaWritePlan(settings);
    return SendModuleWrites(plan) == plan.size();
}
