#pragma once
// The module parameters of the ALOHA, APRS and irrigation loggers: what
// detection reads into the record, and what each form's OK writes back.

#include "loggers/AlohaSettings.h"
#include "loggers/AprsSettings.h"
#include "loggers/IrrigationSettings.h"
#include "loggers/ModuleWritePlan.h"

#include <string>

// The logger's word for "no rain rate cut-off" (parameter 10).
inline constexpr const char* kNoCutoffValue = "255";

// ALOHA: time-out (1), station number (2).
ParameterTable<CAlohaSettings> AlohaParameters();
// APRS: time-out (1), link baud (12), position (13), rate in minutes (14).
ParameterTable<CAprsSettings> AprsParameters();
// Irrigation, in the order detection reads them: 1, 8, 9, 10, 25, 26, 27,
// 3 to 7. Rain travels as whole hundredths of an inch; every numbered
// parameter must be a number an int holds, or the read fails.
ParameterTable<CIrrigationSettings> IrrigationParameters();

ModuleWritePlan AlohaWritePlan(const CAlohaSettings& record);
ModuleWritePlan AprsWritePlan(const CAprsSettings& record);
// Parameters 1, 3-7, 8, 10, 25, 26, 27; 9 is read, never written.
ModuleWritePlan IrrigationWritePlan(const CIrrigationSettings& record);
// The advanced form's parameters 3 to 7.
ModuleWritePlan IrrigationAdvancedWritePlan(const CIrrigationSettings& record);

// A record text in inches as the logger takes it: value x 100, rounded to
// single precision, "%.0f" ("0.29" gives "29").
std::string HundredthsOnWire(const std::string& inches);
// Parameter 10: "255" stays; any other cut-off as hundredths.
std::string CutoffOnWire(const std::string& cutoff);
