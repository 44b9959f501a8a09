#include "AomModuleChecks.h"

AomModuleTexts AomModuleTextsOf(const CAomSettings& record)
{
    return {record.timeout, record.alarmLogging};
}

CheckResult ApplyAomModuleTexts(const AomModuleTexts& texts, CAomSettings& record)
{
    if (!WholeInRange(texts.timeout, 5, 999)) return FieldRefusal{0, kInvalidTimeout999};
    record.timeout = texts.timeout;
    record.alarmLogging = texts.alarmLogging;
    return std::nullopt;
}
