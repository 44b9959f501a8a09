#include "cli/CliLogger.h"

#include "loggers/AlohaSettings.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConditionTable.h"
#include "aom/AomModuleChecks.h"
#include "aom/AomSettings.h"
#include "aom/AomStation.h"
#include "aom/AlarmParameterTable.h"
#include "loggers/AprsConfig.h"
#include "loggers/IrrigationConfig.h"
#include "loggers/LoggerChecks.h"
#include "base/NumericText.h"

#include <algorithm>
#include <functional>
#include <map>
#include <regex>

namespace {

// Text fields and two-word switches of one kind's form, by name.
struct FieldMap {
    std::map<std::string, std::string*> texts;
    std::map<std::string, std::pair<bool*, std::array<const char*, 2>>> switches;  // true word, false word
    std::vector<std::string> order;

    void Text(const std::string& name, std::string& field)
    {
        texts[name] = &field;
        order.push_back(name);
    }
    void Switch(const std::string& name, bool& field, const char* yes, const char* no)
    {
        switches[name] = {&field, {yes, no}};
        order.push_back(name);
    }
    NamedValues Values() const
    {
        NamedValues values;
        for (const std::string& name : order) {
            if (auto t = texts.find(name); t != texts.end())
                values.push_back({name, *t->second});
            else {
                const auto& s = switches.at(name);
                values.push_back({name, *s.first ? s.second[0] : s.second[1]});
            }
        }
        return values;
    }
    bool Has(const std::string& name) const
    {
        return texts.count(name) != 0 || switches.count(name) != 0;
    }
    // Empty when taken, else the refusal.
    std::string Set(const NamedValue& change)
    {
        if (auto t = texts.find(change.name); t != texts.end()) {
            *t->second = change.value;
            return {};
        }
        const auto& s = switches.at(change.name);
        if (change.value == s.second[0]) *s.first = true;
        else if (change.value == s.second[1]) *s.first = false;
        else
            return change.name + ": must be " + s.second[0] + " or " + s.second[1];
        return {};
    }
    std::string Known() const
    {
        std::string text;
        for (const std::string& name : order) text += (text.empty() ? "" : ", ") + name;
        return text;
    }
};

// Hemispheres as the position's own letters.
std::string HemisphereText(Hemisphere h, char first, char second)
{
    if (h == Hemisphere::NorthOrEast) return std::string(1, first);
    if (h == Hemisphere::SouthOrWest) return std::string(1, second);
    return "";
}

void MapAprs(FieldMap& map, AprsTexts& t, std::string& latHem, std::string& lonHem)
{
    map.Text("timeout", t.timeout);
    map.Text("baud", t.baud);
    map.Text("rate", t.rate);
    map.Text("lat-degrees", t.position.latitude.degrees);
    map.Text("lat-minutes", t.position.latitude.minutes);
    map.Text("lat-seconds", t.position.latitude.seconds);
    map.Text("lat-hemisphere", latHem);
    map.Text("lon-degrees", t.position.longitude.degrees);
    map.Text("lon-minutes", t.position.longitude.minutes);
    map.Text("lon-seconds", t.position.longitude.seconds);
    map.Text("lon-hemisphere", lonHem);
}

void MapIrrigation(FieldMap& map, IrrigationTexts& t, IrrigationAdvancedTexts& a)
{
    map.Switch("rain-unit", t.inches, "in", "mm");
    map.Text("timeout", t.timeout);
    map.Switch("residential", t.residential, "yes", "no");
    map.Text("cycle", t.cycle);
    map.Text("amount", t.amount);
    map.Text("max-daily-rain", t.maxDailyRain);
    map.Text("max-rain-total", t.maxRainTotal);
    map.Text("rain-cutoff", t.cutoff);
    map.Text("alarm-duration", a.alarmDuration);
    map.Text("alarm-reactivation", a.alarmReactivation);
    map.Text("pulse-width", a.pulseWidth);
    map.Switch("activation", a.continuous, "continuous", "pulse");
    map.Switch("circuit", a.normallyOpen, "normally-open", "normally-closed");
}

bool IsAdvancedName(const std::string& name)
{
    return name == "alarm-duration" || name == "alarm-reactivation" || name == "pulse-width" ||
           name == "activation" || name == "circuit";
}

// The layout the form writes: "4903.50N/07201.75W_".
bool IsAprsPositionLayout(const std::string& text)
{
    static const std::regex layout(R"(\d{4}\.\d{2}[NS]/\d{5}\.\d{2}[EW]_)");
    return std::regex_match(text, layout);
}

Hemisphere HemisphereFrom(const std::string& text, char first, char second)
{
    if (text.size() == 1 && text[0] == first) return Hemisphere::NorthOrEast;
    if (text.size() == 1 && text[0] == second) return Hemisphere::SouthOrWest;
    return Hemisphere::None;
}

}  // namespace

const char* KindWord(LoggerType kind)
{
    switch (kind) {
    case LoggerAloha: return "ALOHA";
    case LoggerAprs: return "APRS";
    case LoggerIrrigation: return "IRR";
    case LoggerAom: return "AOM";
    }
    return "";
}

std::optional<LoggerType> KindFromWord(const std::string& word)
{
    for (LoggerType kind : {LoggerAloha, LoggerAprs, LoggerIrrigation, LoggerAom})
        if (word == KindWord(kind)) return kind;
    return std::nullopt;
}

NamedValues SettingsOf(const CLoggerSettings& record)
{
    FieldMap map;
    switch (record.kind) {
    case LoggerAloha: {
        AlohaTexts t = AlohaTextsOf(static_cast<const CAlohaSettings&>(record));
        map.Text("timeout", t.timeout);
        map.Text("station", t.station);
        return map.Values();
    }
    case LoggerAprs: {
        const auto& aprs = static_cast<const CAprsSettings&>(record);
        AprsTexts t = AprsTextsOf(aprs);
        std::string lat = HemisphereText(t.position.latitude.hemisphere, 'N', 'S');
        std::string lon = HemisphereText(t.position.longitude.hemisphere, 'E', 'W');
        MapAprs(map, t, lat, lon);
        NamedValues values = map.Values();
        values.push_back({"position", aprs.position});
        return values;
    }
    case LoggerIrrigation: {
        const auto& irr = static_cast<const CIrrigationSettings&>(record);
        IrrigationTexts t = IrrigationTextsOf(irr);
        IrrigationAdvancedTexts a = IrrigationAdvancedTextsOf(irr);
        MapIrrigation(map, t, a);
        return map.Values();
    }
    case LoggerAom: {
        const auto& aom = static_cast<const CAomSettings&>(record);
        return {{"timeout", aom.timeout}, {"alarm-logging", aom.alarmLogging ? "on" : "off"}};
    }
    }
    return {};
}

ModuleWritePlan WritePlanOf(const CLoggerSettings& record)
{
    switch (record.kind) {
    case LoggerAloha: return AlohaWritePlan(static_cast<const CAlohaSettings&>(record));
    case LoggerAprs: return AprsWritePlan(static_cast<const CAprsSettings&>(record));
    case LoggerIrrigation:
        return IrrigationWritePlan(static_cast<const CIrrigationSettings&>(record));
    case LoggerAom: return AomModuleWritePlan(static_cast<const CAomSettings&>(record));
    }
    return {};
}

void StoreLocalSettings(const CLoggerSettings& record)
{
    if (record.kind == LoggerIrrigation)
        StoreRainUnit(static_cast<const CIrrigationSettings&>(record));
}

ApplyOutcome ApplySettings(CLoggerSettings& record, const NamedValues& changes)
{
    ApplyOutcome outcome;
    auto usage = [&](const FieldMap& map, const std::string& name) {
        outcome.result = ApplyOutcome::Usage;
        outcome.message = "Unknown setting \"" + name + "\" for " + KindWord(record.kind) +
                          "; settings: " + map.Known();
        return outcome;
    };
    auto refused = [&](const std::string& message) {
        outcome.result = ApplyOutcome::Refused;
        outcome.message = message;
        return outcome;
    };
    FieldMap map;
    switch (record.kind) {
    case LoggerAloha: {
        auto& aloha = static_cast<CAlohaSettings&>(record);
        AlohaTexts t = AlohaTextsOf(aloha);
        map.Text("timeout", t.timeout);
        map.Text("station", t.station);
        for (const NamedValue& c : changes) {
            if (!map.Has(c.name)) return usage(map, c.name);
            map.Set(c);
        }
        if (const CheckResult r = ApplyAlohaTexts(t, aloha)) return refused(r->message);
        outcome.plan = AlohaWritePlan(aloha);
        return outcome;
    }
    case LoggerAprs: {
        auto& aprs = static_cast<CAprsSettings&>(record);
        AprsTexts t = AprsTextsOf(aprs);
        std::string lat = HemisphereText(t.position.latitude.hemisphere, 'N', 'S');
        std::string lon = HemisphereText(t.position.longitude.hemisphere, 'E', 'W');
        MapAprs(map, t, lat, lon);
        std::optional<std::string> position;
        for (const NamedValue& c : changes) {
            if (c.name == "position") {
                position = c.value;
                continue;
            }
            if (!map.Has(c.name)) return usage(map, c.name);
            map.Set(c);
        }
        if (position) {
            // The fields are a view of this text (seconds from hundredths of
            // a minute, so 4903.51N shows as 30 seconds like 4903.50N): the
            // text itself is written, and a field given with it must agree.
            const auto parsed = ParseAprsPosition(*position);
            if (!parsed || !IsAprsPositionLayout(*position))
                return refused("position: \"" + *position +
                               "\" is not laid out as 4903.50N/07201.75W_");
            AprsTexts exact = t;
            exact.position = *parsed;
            std::string exactLat = HemisphereText(parsed->latitude.hemisphere, 'N', 'S');
            std::string exactLon = HemisphereText(parsed->longitude.hemisphere, 'E', 'W');
            FieldMap view;
            MapAprs(view, exact, exactLat, exactLon);
            const NamedValues shown = view.Values();
            for (const NamedValue& c : changes)
                for (const NamedValue& v : shown)
                    if (c.name == v.name && c.value != v.value)
                        return refused("position: " + *position + " gives " + v.name + " = " +
                                       v.value + ", not " + c.value);
            t.position = *parsed;
            lat = exactLat;
            lon = exactLon;
        }
        // A letter other than the two of the half is no hemisphere chosen:
        // the form's own message names what to choose.
        t.position.latitude.hemisphere = HemisphereFrom(lat, 'N', 'S');
        t.position.longitude.hemisphere = HemisphereFrom(lon, 'E', 'W');
        if (const CheckResult r = ApplyAprsTexts(t, aprs)) return refused(r->message);
        if (position) aprs.position = *position;
        outcome.plan = AprsWritePlan(aprs);
        return outcome;
    }
    case LoggerIrrigation: {
        auto& irr = static_cast<CIrrigationSettings&>(record);
        IrrigationTexts t = IrrigationTextsOf(irr);
        IrrigationAdvancedTexts a = IrrigationAdvancedTextsOf(irr);
        MapIrrigation(map, t, a);
        bool main = false;
        // The unit first: the shown rain values convert as the radios do,
        // then the values given are read in the new unit.
        for (const NamedValue& c : changes) {
            if (!map.Has(c.name)) return usage(map, c.name);
            if (c.name != "rain-unit") continue;
            if (c.value != "in" && c.value != "mm") return refused(c.name + ": must be in or mm");
            SwitchIrrigationUnit(t, c.value == "in");
            main = true;
        }
        for (const NamedValue& c : changes) {
            if (c.name == "rain-unit") continue;
            if (const std::string r = map.Set(c); !r.empty()) return refused(r);
            main = main || !IsAdvancedName(c.name);
        }
        if (const CheckResult r = ApplyIrrigationAdvancedTexts(a, irr)) return refused(r->message);
        if (main) {
            if (const CheckResult r = ApplyIrrigationTexts(t, irr)) return refused(r->message);
            // Without a residential schedule the form writes the other rain
            // values again as they were; one given here is written as given,
            // with the form's checks, instead of being dropped unsaid.
            const auto given = [&](const char* name) {
                return std::any_of(changes.begin(), changes.end(),
                                   [&](const NamedValue& c) { return c.name == name; });
            };
            if (!t.residential && given("cycle") && t.cycle != "0")
                return refused("cycle: must be 0 while residential is no");
            if (!t.residential && (given("amount") || given("max-daily-rain") ||
                                   given("max-rain-total") || given("rain-cutoff")))
                if (const CheckResult r = ApplyIrrigationRainTexts(t, irr)) return refused(r->message);
            outcome.plan = IrrigationWritePlan(irr);
        } else {
            outcome.plan = IrrigationAdvancedWritePlan(irr);
        }
        return outcome;
    }
    case LoggerAom: {
        auto& aom = static_cast<CAomSettings&>(record);
        AomModuleTexts t = AomModuleTextsOf(aom);
        map.Text("timeout", t.timeout);
        map.Switch("alarm-logging", t.alarmLogging, "on", "off");
        for (const NamedValue& c : changes) {
            if (!map.Has(c.name)) return usage(map, c.name);
            if (const std::string r = map.Set(c); !r.empty()) return refused(r);
        }
        if (const CheckResult r = ApplyAomModuleTexts(t, aom)) return refused(r->message);
        outcome.plan = AomModuleWritePlan(aom);
        return outcome;
    }
    }
    return outcome;
}

NamedValues OutputOptionsOf(const CLoggerSettings& record, const std::string& logic)
{
    const auto& aom = static_cast<const CAomSettings&>(record);
    return {{"logic", logic},
            {"release-delay", aom.releaseDelay},
            {"reactivation-delay", aom.reactivationDelay},
            {"pulse-width", aom.pulseWidth},
            {"circuit", aom.normallyOpen ? "normally-open" : "normally-closed"}};
}

bool ReadAomOutputs(CliLogger& logger, const AomUnitSettings& units, RowValues values,
                    bool extraSensors, const std::function<bool(const std::string& step)>& step)
{
    auto& aom = static_cast<CAomSettings&>(*logger.record);
    std::array<OutputConditionReplies, kAomOutputs> replies;
    logger.unreadOutputs.clear();
    for (int output = 0; output < kAomOutputs; ++output) {
        const auto n = static_cast<std::size_t>(output);
        if (step && !step(FormatText("Reading output %d of %d", output + 1, kAomOutputs)))
            return false;
        replies[n] = QueryOutputConditions(output);
        if (!replies[n].read) logger.unreadOutputs.push_back(output);
        if (!ReadOutputOptions(aom, output)) return false;
        logger.outputs[n].options = OutputOptionsOf(aom, OperatorText(ReadInt(replies[n].logic)));
        if (!replies[n].read) continue;
        for (const ConditionFields& record : ParseConditionReply(replies[n].conditions)) {
            // A subtraction names its second parameter in the third field.
            const bool minus = ReadInt(RecordField(record, 1)) == CheckMinus;
            extraSensors = extraSensors || IsExtraSensorCode(ReadInt(RecordField(record, 0))) ||
                           (minus && IsExtraSensorCode(ReadInt(RecordField(record, 2))));
        }
    }
    // Extra sensors are named after the console's transmitters. Reading
    // them lowers the module's time-out for a moment, so it is done only
    // when a condition held or about to be written needs it.
    if (extraSensors) {
        if (step && !step("Reading the station's transmitters")) return false;
        ReadTransmitterList();
        RebuildExtraSensorCodes();
    }
    for (std::size_t n = 0; n < replies.size(); ++n)
        logger.outputs[n].rows =
            replies[n].read ? ConditionRowsFromReply(replies[n].conditions,
                                                     ReadInt(replies[n].logic), units, values)
                            : std::vector<ConditionRow>(kConditionRows);
    return true;
}
