#include "loggers/LoggerParameters.h"

#include "base/NumericText.h"

namespace {

std::string Hundredths(int number)
{
    return FormatText("%.2f", number * 0.01);
}

// A number beyond an int is no setting the logger holds: the form would
// write back a value it never had.
template <class Record, auto Field>
constexpr ModuleParameter<Record> HundredthsParameter(int number)
{
    return {number,
            [](Record& record, const std::string& reply) {
                const auto value = ReadWholeNumber(reply);
                if (value) record.*Field = Hundredths(*value);
                return value.has_value();
            },
            [](const Record& record) { return HundredthsOnWire(record.*Field); }};
}

using Irr = CIrrigationSettings;

const ModuleParameter<CAlohaSettings> kAloha[] = {
    TextParameter<CAlohaSettings, &CAlohaSettings::timeout>(1),
    TextParameter<CAlohaSettings, &CAlohaSettings::stationId>(2),
};

const ModuleParameter<CAprsSettings> kAprs[] = {
    TextParameter<CAprsSettings, &CAprsSettings::timeout>(1),
    TextParameter<CAprsSettings, &CAprsSettings::baud>(12),
    TextParameter<CAprsSettings, &CAprsSettings::position>(13),
    TextParameter<CAprsSettings, &CAprsSettings::transmissionRate>(14),
};

const ModuleParameter<Irr> kIrrigation[] = {
    TextParameter<Irr, &Irr::timeout>(1),
    // The cycle; 0 means no residential schedule.
    {8,
     [](Irr& r, const std::string& reply) {
         const auto value = ReadWholeNumber(reply);
         r.cycle = reply;
         r.residential = value.value_or(0) != 0;
         return value.has_value();
     },
     [](const Irr& r) { return r.cycle; }},
    {9,
     [](Irr& r, const std::string& reply) {
         const auto value = ReadWholeNumber(reply);
         if (value) r.parameter9 = Hundredths(*value);
         return value.has_value();
     },
     nullptr},
    // 255 hundredths is the logger's "no rain-rate cut-off", kept as the word.
    {10,
     [](Irr& r, const std::string& reply) {
         const auto value = ReadWholeNumber(reply);
         if (value) r.rainRateCutoff = *value == 255 ? kNoCutoffValue : Hundredths(*value);
         return value.has_value();
     },
     [](const Irr& r) { return CutoffOnWire(r.rainRateCutoff); }},
    HundredthsParameter<Irr, &Irr::amount>(25),
    HundredthsParameter<Irr, &Irr::maxDailyRain>(26),
    HundredthsParameter<Irr, &Irr::maxRainTotal>(27),
    TextParameter<Irr, &Irr::alarmDuration>(3),
    TextParameter<Irr, &Irr::alarmReactivation>(4),
    TextParameter<Irr, &Irr::pulseWidth>(5),
    {6,
     [](Irr& r, const std::string& reply) {
         const auto value = ReadWholeNumber(reply);
         r.continuous = value.value_or(0) != 0;
         return value.has_value();
     },
     [](const Irr& r) -> std::string { return r.continuous ? "1" : "0"; }},
    // The logger's 0 is a normally open circuit.
    {7,
     [](Irr& r, const std::string& reply) {
         const auto value = ReadWholeNumber(reply);
         r.normallyOpen = value.value_or(1) == 0;
         return value.has_value();
     },
     [](const Irr& r) -> std::string { return r.normallyOpen ? "0" : "1"; }},
};

}  // namespace

ParameterTable<CAlohaSettings> AlohaParameters() { return kAloha; }
ParameterTable<CAprsSettings> AprsParameters() { return kAprs; }
ParameterTable<CIrrigationSettings> IrrigationParameters() { return kIrrigation; }

ModuleWritePlan AlohaWritePlan(const CAlohaSettings& record)
{
    return WritesOf(AlohaParameters(), {1, 2}, record);
}

ModuleWritePlan AprsWritePlan(const CAprsSettings& record)
{
    return WritesOf(AprsParameters(), {1, 12, 13, 14}, record);
}

ModuleWritePlan IrrigationWritePlan(const CIrrigationSettings& record)
{
    return WritesOf(IrrigationParameters(), {1, 3, 4, 5, 6, 7, 8, 10, 25, 26, 27}, record);
}

ModuleWritePlan IrrigationAdvancedWritePlan(const CIrrigationSettings& record)
{
    return WritesOf(IrrigationParameters(), {3, 4, 5, 6, 7}, record);
}

std::string HundredthsOnWire(const std::string& inches)
{
    // Rounded to a float first so 0.29 x 100 (28.999...) goes out as 29.
    return FormatText("%.0f", static_cast<float>(ReadDouble(inches) * 100));
}

std::string CutoffOnWire(const std::string& cutoff)
{
    return cutoff == kNoCutoffValue ? cutoff : HundredthsOnWire(cutoff);
}
