#include "loggers/ModuleWritePlan.h"

#include "link/ConsoleLink.h"
#include "loggers/IrrigationConfig.h"
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

ModuleWritePlan AlohaWritePlan(const CAlohaSettings& record)
{
    return {{1, record.timeout}, {2, record.stationId}};
}

ModuleWritePlan AprsWritePlan(const CAprsSettings& record)
{
    return {{1, record.timeout},
            {12, record.baud},
            {13, record.position},
            {14, record.transmissionRate}};
}

ModuleWritePlan IrrigationAdvancedWritePlan(const CIrrigationSettings& record)
{
    return {{3, record.alarmDuration},
            {4, record.alarmReactivation},
            {5, record.pulseWidth},
            {6, record.continuous ? "1" : "0"},
            {7, record.normallyOpen ? "0" : "1"}};
}

ModuleWritePlan IrrigationWritePlan(const CIrrigationSettings& record)
{
    ModuleWritePlan plan{{1, record.timeout}};
    for (ModuleWrite& w : IrrigationAdvancedWritePlan(record)) plan.push_back(std::move(w));
    plan.push_back({8, record.cycle});
    plan.push_back({10, CutoffOnWire(record.rainRateCutoff)});
    plan.push_back({25, HundredthsOnWire(record.amount)});
    plan.push_back({26, HundredthsOnWire(record.maxDailyRain)});
    plan.push_back({27, HundredthsOnWire(record.maxRainTotal)});
    return plan;
}
