#include "FuzzSupport.h"

#include "LoggerDetection.h"

std::unique_ptr<CLoggerSettings> SimLoggerRecord(SimKind kind)
{
    SimBackedLink link(kind);
    return DetectAndReadLogger(nullptr);
}
