#include "FuzzSupport.h"

#include "AlohaSettings.h"
#include "AomSettings.h"
#include "AprsSettings.h"
#include "IrrigationSettings.h"
#include "LoggerDetection.h"

#include <map>

namespace {

template <class T>
std::unique_ptr<CLoggerSettings> Copy(const CLoggerSettings& record)
{
    return std::make_unique<T>(static_cast<const T&>(record));
}

}  // namespace

std::unique_ptr<CLoggerSettings> SimLoggerRecord(SimKind kind)
{
    // Detection is read once per kind; each caller gets its own copy.
    static std::map<SimKind, std::unique_ptr<CLoggerSettings>> read;
    auto& held = read[kind];
    if (!held) {
        SimBackedLink link(kind);
        held = DetectAndReadLogger(nullptr);
        if (!held) return nullptr;
    }
    switch (held->kind) {
    case LoggerAloha: return Copy<CAlohaSettings>(*held);
    case LoggerAprs: return Copy<CAprsSettings>(*held);
    case LoggerIrrigation: return Copy<CIrrigationSettings>(*held);
    case LoggerAom: {
        // Its conditions are not copied; the module settings are all a set needs.
        const auto& aom = static_cast<const CAomSettings&>(*held);
        return std::make_unique<CAomSettings>(nullptr, aom.identification, aom.timeout, aom.alarmLogging);
    }
    }
    return nullptr;
}
