#include "loggers/ModuleWritePlan.h"

#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"

std::size_t SendModuleWrites(const ModuleWritePlan& plan)
{
    WakeConsoleQuick();
    std::size_t done = 0;
    for (const ModuleWrite& write : plan) {
        if (ModuleSet(write.parameter, write.argument) != 0) break;
        ++done;
    }
    return done;
}

ModuleWritePlan ChangedWrites(const ModuleWritePlan& plan, const ModuleWritePlan& held)
{
    ModuleWritePlan changed;
    for (const ModuleWrite& write : plan) {
        bool same = false;
        for (const ModuleWrite& h : held)
            if (h.parameter == write.parameter) same = h.argument == write.argument;
        if (!same) changed.push_back(write);
    }
    return changed;
}
