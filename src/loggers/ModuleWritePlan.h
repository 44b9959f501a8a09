#pragma once
// A form's write sequence as data: the module parameters in the order the
// form's OK sends them, each with its argument as it goes on the wire. The
// forms send the whole plan; a restore sends only the parameters whose
// argument differs from what the logger holds.
#include "loggers/AlohaSettings.h"
#include "loggers/AprsSettings.h"
#include "loggers/IrrigationSettings.h"
#include <cstddef>
#include <string>
#include <vector>

struct ModuleWrite {
    int parameter;
    std::string argument;
    bool operator==(const ModuleWrite&) const = default;
};
using ModuleWritePlan = std::vector<ModuleWrite>;

// Wakes the console once, then sets each parameter in order, stopping at the
// first the logger does not confirm (nothing is undone). The number of
// writes confirmed; plan.size() when all were.
std::size_t SendModuleWrites(const ModuleWritePlan& plan);

// The writes of plan whose argument differs from the same parameter's in
// held, in plan's order.
ModuleWritePlan ChangedWrites(const ModuleWritePlan& plan, const ModuleWritePlan& held);

ModuleWritePlan AlohaWritePlan(const CAlohaSettings& record);
ModuleWritePlan AprsWritePlan(const CAprsSettings& record);
// Parameters 1, 3-7, 8, 10, 25, 26, 27; rain as hundredths of an inch.
ModuleWritePlan IrrigationWritePlan(const CIrrigationSettings& record);
// The advanced form's parameters 3 to 7.
ModuleWritePlan IrrigationAdvancedWritePlan(const CIrrigationSettings& record);
