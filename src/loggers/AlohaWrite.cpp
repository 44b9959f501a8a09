#include "loggers/AlohaWrite.h"

#include "loggers/LoggerParameters.h"

bool WriteAlohaSettings(const CAlohaSettings& settings)
{
    const ModuleWritePlan plan = AlohaWritePlan(settings);
    return SendModuleWrites(plan) == plan.size();
}
