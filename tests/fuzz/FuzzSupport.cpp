#include "FuzzSupport.h"

#include "loggers/AlohaSettings.h"
#include "aom/AomSettings.h"
#include "loggers/AprsSettings.h"
#include "loggers/IrrigationSettings.h"
#include "detect/LoggerDetection.h"

#include <map>

std::unique_ptr<CLoggerSettings> SimLoggerRecord(SimKind kind)
{
    // Detection is read once per kind; each caller gets its own copy.
    static std::map<SimKind, std::unique_ptr<CLoggerSettings>> read;
    auto& held = read[kind];
    if (!held) {
        SimBackedLink link(kind);
        held = DetectAndReadLogger(nullptr);
        if (!held) FuzzFinding("the simulated logger was not read");
    }
    switch (held->kind) {
    case LoggerAloha: return std::make_unique<CAlohaSettings>(static_cast<const CAlohaSettings&>(*held));
    case LoggerAprs: return std::make_unique<CAprsSettings>(static_cast<const CAprsSettings&>(*held));
    case LoggerIrrigation: return std::make_unique<CIrrigationSettings>(static_cast<const CIrrigationSettings&>(*held));
    case LoggerAom: {
        // Its conditions are not copied; the module settings are all a set needs.
        const auto& aom = static_cast<const CAomSettings&>(*held);
        return std::make_unique<CAomSettings>(nullptr, aom.identification, aom.timeout, aom.alarmLogging);
    }
    }
    return nullptr;
}
