#include "aom/AomModuleChecks.h"

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

CheckResult ApplyAomOptionTexts(const AomOptionTexts& texts, CAomSettings& record)
{
    if (!WholeInRange(texts.releaseDelay, 0, 999))
        return FieldRefusal{OptionReleaseDelay, kInvalidDuration};
    record.releaseDelay = texts.releaseDelay;
    if (!WholeInRange(texts.reactivationDelay, 0, 999))
        return FieldRefusal{OptionReactivationDelay, kInvalidReactivation};
    record.reactivationDelay = texts.reactivationDelay;
    if (!WholeInRange(texts.pulseWidth, 0, 9999))
        return FieldRefusal{OptionPulseWidth, kInvalidAomPulseWidth};
    record.pulseWidth = texts.pulseWidth;
    record.normallyOpen = texts.normallyOpen;
    return std::nullopt;
}
