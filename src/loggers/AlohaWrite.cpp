#include "AlohaWrite.h"

#include "ModuleWritePlan.h"

bool WriteAlohaSettings(const CAlohaSettings& settings)
{
    const ModuleWritePlan plan = AlohaWritePlan(settings);
    return SendModuleWrites(plan) == plan.size();
}
