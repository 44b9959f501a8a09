#include "loggers/LoggerChecks.h"

#include "loggers/IrrigationConfig.h"
#include "base/NumericText.h"

bool WholeInRange(const std::string& text, int low, int high)
{
    const auto value = WholeNumberRule(text);
    return value && *value >= low && *value <= high;
}

AlohaTexts AlohaTextsOf(const CAlohaSettings& record)
{
    return {record.timeout, record.stationId};
}

CheckResult ApplyAlohaTexts(const AlohaTexts& texts, CAlohaSettings& record)
{
    if (!WholeInRange(texts.timeout, 5, 255)) return FieldRefusal{AlohaTimeout, kInvalidTimeout255};
    // The text goes to the logger as typed ("30-" stays "30-"); the logger
    // reads the leading number the same way.
    record.timeout = texts.timeout;
    if (!WholeInRange(texts.station, 0, 999)) return FieldRefusal{AlohaStation, kInvalidStation};
    record.stationId = texts.station;
    return std::nullopt;
}

AprsTexts AprsTextsOf(const CAprsSettings& record)
{
    AprsTexts texts;
    texts.timeout = record.timeout;
    texts.baud = FindAprsBaudEntry(record.baud).value_or("");
    texts.rate = record.transmissionRate;
    if (const auto position = ParseAprsPosition(record.position)) texts.position = *position;
    return texts;
}

std::string AprsPositionText(const AprsPosition& position)
{
    return BuildAprsPosition(BuildLatitudePreview(position.latitude),
                             BuildLongitudePreview(position.longitude));
}

CheckResult ApplyAprsTexts(const AprsTexts& texts, CAprsSettings& record)
{
    if (!WholeInRange(texts.timeout, 5, 999)) return FieldRefusal{AprsTimeout, kInvalidTimeout999};
    record.timeout = texts.timeout;
    if (!IsAprsBaud(texts.baud)) return FieldRefusal{AprsBaud, kInvalidAprsBaud};
    record.baud = texts.baud;
    if (!WholeInRange(texts.rate, 1, 99)) return FieldRefusal{AprsRate, kInvalidAprsRate};
    record.transmissionRate = texts.rate;

    const AprsCoordinate& lat = texts.position.latitude;
    const AprsCoordinate& lon = texts.position.longitude;
    const struct {
        const std::string& text;
        int high;
        int field;
        const char* message;
    } parts[] = {
        {lat.degrees, kMaxLatitudeDegrees, AprsLatDeg, kInvalidLatDeg},
        {lat.minutes, kMaxMinutesOrSeconds, AprsLatMin, kInvalidLatMin},
        {lat.seconds, kMaxMinutesOrSeconds, AprsLatSec, kInvalidLatSec},
        {lon.degrees, kMaxLongitudeDegrees, AprsLonDeg, kInvalidLonDeg},
        {lon.minutes, kMaxMinutesOrSeconds, AprsLonMin, kInvalidLonMin},
        {lon.seconds, kMaxMinutesOrSeconds, AprsLonSec, kInvalidLonSec},
    };
    for (const auto& p : parts)
        if (!WholeInRange(p.text, 0, p.high)) return FieldRefusal{p.field, p.message};
    if (lat.hemisphere == Hemisphere::None) return FieldRefusal{AprsLatHemisphere, kNoLatHemisphere};
    if (lon.hemisphere == Hemisphere::None) return FieldRefusal{AprsLonHemisphere, kNoLonHemisphere};
    record.position = AprsPositionText(texts.position);
    return std::nullopt;
}

IrrigationTexts IrrigationTextsOf(const CIrrigationSettings& record)
{
    IrrigationTexts texts;
    texts.inches = IsInches(record.rainUnit);
    texts.timeout = record.timeout;
    texts.residential = record.residential;
    texts.cycle = record.cycle;
    const bool noCutoff = record.rainRateCutoff == kNoCutoffValue;
    auto shown = [&](const std::string& inches) {
        return texts.inches ? inches : InchesTextToMm(inches);
    };
    texts.amount = shown(record.amount);
    texts.maxDailyRain = shown(record.maxDailyRain);
    texts.maxRainTotal = shown(record.maxRainTotal);
    texts.cutoff = noCutoff ? kNoCutoffText : shown(record.rainRateCutoff);
    return texts;
}

void SwitchIrrigationUnit(IrrigationTexts& texts, bool inches)
{
    if (texts.inches == inches) return;
    if (inches) {
        texts.amount = SwitchedToInches(texts.amount, -kMaxRainMm, kMaxRainMm);
        texts.maxDailyRain = SwitchedToInches(texts.maxDailyRain, -kMaxRainMm, kMaxRainMm);
        texts.maxRainTotal = SwitchedToInches(texts.maxRainTotal, -kMaxRainMm, kMaxRainMm);
        texts.cutoff = CutoffSwitchedToInches(texts.cutoff);
    } else {
        texts.amount = SwitchedToMm(texts.amount, -kMaxRainInches, kMaxRainInches);
        texts.maxDailyRain = SwitchedToMm(texts.maxDailyRain, 0, kMaxRainInches);
        texts.maxRainTotal = SwitchedToMm(texts.maxRainTotal, 0, kMaxRainInches);
        texts.cutoff = CutoffSwitchedToMm(texts.cutoff);
    }
    texts.inches = inches;
}

CheckResult ApplyIrrigationTexts(const IrrigationTexts& texts, CIrrigationSettings& record)
{
    if (!kIrrigationTimeoutRange.Holds(texts.timeout))
        return FieldRefusal{IrrTimeout, kInvalidTimeout255};
    record.timeout = texts.timeout;

    if (!texts.residential) {
        // The rest of the schedule stays as it was and goes out again.
        record.cycle = "0";
    } else {
        if (!kIrrigationCycleRange.Holds(texts.cycle)) return FieldRefusal{IrrCycle, kInvalidCycle};
        record.cycle = texts.cycle;
        if (const CheckResult r = ApplyIrrigationRainTexts(texts, record)) return r;
    }
    record.rainUnit = texts.inches ? kRainUnitInches : kRainUnitMm;
    return std::nullopt;
}

CheckResult ApplyIrrigationRainTexts(const IrrigationTexts& texts, CIrrigationSettings& record)
{
    const struct {
        const std::string& text;
        int field;
        const char* message;
        double maxInches;
        double maxMm;
        std::string& target;
    } rain[] = {
        {texts.amount, IrrAmount, kAmountMessage, kMaxRainInches, kMaxRainMm, record.amount},
        {texts.maxDailyRain, IrrMaxDailyRain, kMaxDailyRainMessage, kMaxRainInches, kMaxRainMm,
         record.maxDailyRain},
        {texts.maxRainTotal, IrrMaxRainTotal, kMaxRainTotalMessage, kMaxRainInches, kMaxRainMm,
         record.maxRainTotal},
        {texts.cutoff, IrrCutoff, kCutoffMessage, kMaxRateInches, kMaxRateMm,
         record.rainRateCutoff},
    };
    for (const auto& r : rain) {
        if (r.field == IrrCutoff && MeansNoCutoff(r.text)) {
            r.target = kNoCutoffValue;
            continue;
        }
        const auto stored = RainFieldToRecord(r.text, texts.inches, r.maxInches, r.maxMm);
        if (!stored)
            return FieldRefusal{r.field, RainRangeMessage(r.message, texts.inches,
                                                          r.maxInches, r.maxMm)};
        r.target = *stored;
    }
    return std::nullopt;
}

IrrigationAdvancedTexts IrrigationAdvancedTextsOf(const CIrrigationSettings& record)
{
    return {record.alarmDuration, record.alarmReactivation, record.pulseWidth, record.continuous,
            record.normallyOpen};
}

CheckResult ApplyIrrigationAdvancedTexts(const IrrigationAdvancedTexts& texts,
                                         CIrrigationSettings& record)
{
    if (!kAlarmDelayRange.Holds(texts.alarmDuration))
        return FieldRefusal{AdvDuration, kInvalidDuration};
    record.alarmDuration = texts.alarmDuration;
    if (!kAlarmDelayRange.Holds(texts.alarmReactivation))
        return FieldRefusal{AdvReactivation, kInvalidReactivation};
    record.alarmReactivation = texts.alarmReactivation;
    if (!kPulseWidthRange.Holds(texts.pulseWidth))
        return FieldRefusal{AdvPulseWidth, kInvalidPulseWidth};
    record.pulseWidth = texts.pulseWidth;
    record.continuous = texts.continuous;
    record.normallyOpen = texts.normallyOpen;
    return std::nullopt;
}
