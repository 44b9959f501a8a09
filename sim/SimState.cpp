#include "SimState.h"

#include "SimText.h"

#include <cstdio>

namespace {

struct KindInfo {
    SimKind kind;
    const char* name;
    const char* word;
    int firmware;
};

constexpr KindInfo kKinds[] = {
    {SimKind::Aloha, "aloha", "ALOHA", 100},
    {SimKind::Aprs, "aprs", "APRS", 100},
    {SimKind::Irr, "irr", "IRR", 202},
    {SimKind::Aom, "aom", "AOM", 100},
    {SimKind::None, "none", "", 0},
};

const KindInfo& Info(SimKind kind)
{
    for (const KindInfo& k : kKinds)
        if (k.kind == kind) return k;
    return kKinds[4];
}

// Fields a record of each check type carries after the module code and the
// check type: head fields (sent with parameter 16) and value fields (17).
struct RecordShape {
    int headFields;
    int valueFields;
};

RecordShape ShapeOf(int check)
{
    switch (check) {
    case 2:
    case 3:
        return {0, 2};
    case 4:
        return {1, 2};
    case 5:
    case 8:
        return {0, 0};
    case 7:
        return {1, 1};
    default:
        return {0, 1};
    }
}

SimCondition Condition(int parameter, int check, std::vector<int> values, int extra = 0)
{
    SimCondition c;
    c.parameter = parameter;
    c.check = check;
    c.extra = extra;
    c.hasValues = true;
    c.values = std::move(values);
    return c;
}

bool ParseIntPair(const std::string& text, int& a, int& b)
{
    auto f = SimSplit(text, ' ');
    return f.size() == 2 && SimParseInt(f[0], a) && SimParseInt(f[1], b);
}

bool ParseAlarms(const std::string& text, std::vector<SimAlarmRecord>& alarms)
{
    std::vector<SimAlarmRecord> result;
    if (!text.empty()) {
        for (const std::string& record : SimSplit(text, ';')) {
            auto f = SimSplit(record, ' ');
            int n[3];
            if (f.size() != 3) return false;
            for (int i = 0; i < 3; ++i)
                if (!SimParseInt(f[i], n[i]) || n[i] < 0) return false;
            result.push_back({static_cast<unsigned>(n[0]), static_cast<unsigned>(n[1]),
                              static_cast<unsigned>(n[2])});
        }
    }
    alarms = std::move(result);
    return true;
}

bool ParseTransmitters(const std::string& text, std::array<std::uint8_t, kSimTransmitterBytes>& bytes)
{
    auto f = SimSplit(text, ' ');
    if (f.size() != kSimTransmitterBytes) return false;
    std::array<std::uint8_t, kSimTransmitterBytes> result{};
    for (std::size_t i = 0; i < f.size(); ++i) {
        unsigned v = 0;
        char end = 0;
        if (f[i].size() != 2 || std::sscanf(f[i].c_str(), "%2x%c", &v, &end) != 1) return false;
        result[i] = static_cast<std::uint8_t>(v);
    }
    bytes = result;
    return true;
}

// "output.N.field" -> N and field.
bool SplitOutputKey(const std::string& key, int& output, std::string& field)
{
    const std::string prefix = "output.";
    if (key.compare(0, prefix.size(), prefix) != 0) return false;
    auto dot = key.find('.', prefix.size());
    if (dot == std::string::npos) return false;
    if (!SimParseInt(key.substr(prefix.size(), dot - prefix.size()), output)) return false;
    if (output < 0 || output >= kSimOutputs) return false;
    field = key.substr(dot + 1);
    return true;
}

bool ApplyLine(SimState& state, const std::string& key, const std::string& value)
{
    int n = 0;
    if (key.rfind("param.", 0) == 0) {
        if (!SimParseInt(key.substr(6), n) || n < 0) return false;
        if (value.find('\n') != std::string::npos) return false;
        state.params[n] = value;
        return true;
    }
    if (key.rfind("switch.", 0) == 0) {
        int v = 0;
        if (!SimParseInt(key.substr(7), n) || n < 0 || n >= kSimOutputs) return false;
        if (!SimParseInt(value, v) || (v != 0 && v != 1)) return false;
        state.switches[n] = v;
        return true;
    }
    if (key == "alarms") return ParseAlarms(value, state.alarms);
    if (key == "transmitters") return ParseTransmitters(value, state.transmitters);

    std::string field;
    if (!SplitOutputKey(key, n, field)) return false;
    SimOutput& out = state.outputs[n];
    if (field == "conditions") return ParseConditions(value, out.conditions);
    if (field == "logic") {
        int v = 0;
        if (!SimParseInt(value, v) || v < 0 || v > 2) return false;
        out.logic = v;
        return true;
    }
    if (field == "options") {
        int a = 0, b = 0;
        if (!ParseIntPair(value, a, b)) return false;
        out.releaseDelay = a;
        out.reactivationDelay = b;
        return true;
    }
    if (field == "pulse") {
        int a = 0, b = 0;
        if (!ParseIntPair(value, a, b) || (b != 0 && b != 1)) return false;
        out.pulseWidth = a;
        out.circuit = b;
        return true;
    }
    return false;
}

}  // namespace

const char* SimKindName(SimKind kind)
{
    return Info(kind).name;
}

const char* SimKindWord(SimKind kind)
{
    return Info(kind).word;
}

int SimDefaultFirmware(SimKind kind)
{
    return Info(kind).firmware;
}

bool ParseSimKind(const std::string& text, SimKind& kind)
{
    for (const KindInfo& k : kKinds) {
        if (text == k.name) {
            kind = k.kind;
            return true;
        }
    }
    return false;
}

SimAlarmRecord EncodeAlarmRecord(int output, bool active, int mask, int month, int day,
                                 int hour, int minute, int second)
{
    SimAlarmRecord r;
    r.n1 = (static_cast<unsigned>(output & 7) << 13) | (active ? 1u << 12 : 0u) |
           (static_cast<unsigned>(mask & 0xFF) << 4) | static_cast<unsigned>(month & 0xF);
    r.n2 = (static_cast<unsigned>(day & 0x1F) << 11) | (static_cast<unsigned>(hour & 0x1F) << 6) |
           static_cast<unsigned>(minute & 0x3F);
    r.n3 = static_cast<unsigned>(second & 0x3F) << 2;
    return r;
}

SimState SimState::Defaults(SimKind kind)
{
    SimState s;
    switch (kind) {
    case SimKind::Aloha:
        s.params = {{1, "30"}, {2, "1"}};
        break;
    case SimKind::Aprs:
        s.params = {{1, "30"}, {12, "9600"}, {13, "4903.50N/07201.75W_"}, {14, "10"}};
        break;
    case SimKind::Irr:
        // Rain quantities in hundredths of an inch; 10 is the rain-rate
        // cut-off, where 255 would mean none.
        s.params = {{1, "60"}, {3, "5"},   {4, "10"},   {5, "500"},  {6, "1"},   {7, "0"},
                    {8, "3"},  {9, "0"},   {10, "50"},  {25, "100"}, {26, "150"}, {27, "300"}};
        break;
    case SimKind::Aom:
        s.params = {{1, "60"}, {24, "1"}};
        // Output 1: outside temperature >= 85.0 F, OR inside temperature <= 60.0 F.
        s.outputs[0].conditions = {Condition(17, 0, {850}), Condition(2, 1, {600})};
        s.outputs[0].logic = 0;
        // Output 2: daily rain >= 0.50 in, XOR wind speed rising from 10 to 25 mph in 30 min.
        s.outputs[1].conditions = {Condition(10, 0, {50}), Condition(19, 4, {10, 25}, 30)};
        s.outputs[1].logic = 2;
        // Output 3: outside temperature minus outside dew point >= 5.0 F.
        s.outputs[2].conditions = {Condition(17, 7, {50}, 129)};
        // Output 4: outside humidity >= 90 %, AND the time between 7:00 and 19:00.
        s.outputs[3].conditions = {Condition(18, 0, {90}), Condition(128, 2, {700, 1900})};
        s.outputs[0].releaseDelay = 5;
        s.outputs[0].reactivationDelay = 10;
        s.outputs[1].pulseWidth = 250;
        s.outputs[1].circuit = 1;
        s.alarms = {
            EncodeAlarmRecord(0, true, 0x03, 2, 1, 4, 1, 15),
            EncodeAlarmRecord(0, false, 0x00, 2, 1, 6, 30, 0),
            EncodeAlarmRecord(1, true, 0x01, 3, 14, 13, 45, 30),
            EncodeAlarmRecord(1, false, 0x00, 3, 14, 15, 5, 2),
            EncodeAlarmRecord(2, true, 0x01, 3, 20, 9, 12, 48),
            EncodeAlarmRecord(1, true, 0x02, 4, 2, 18, 0, 59),
        };
        break;
    case SimKind::None:
        break;
    }
    // ID 1 the outdoor station, 2 temperature and humidity (with a high
    // nibble the program must ignore), 3 temperature, 4 humidity, 5-8 none.
    s.transmitters = {0x00, 0xFF, 0x13, 0x10, 0x01, 0x21, 0x02, 0x02,
                      0x0A, 0xFF, 0x0A, 0xFF, 0x0A, 0xFF, 0x0A, 0xFF};
    return s;
}

std::string FormatConditions(const std::vector<SimCondition>& conditions)
{
    std::string text;
    for (const SimCondition& c : conditions) {
        if (!text.empty()) text += ';';
        text += std::to_string(c.parameter) + ' ' + std::to_string(c.check);
        const RecordShape shape = ShapeOf(c.check);
        if (shape.headFields) text += ' ' + std::to_string(c.extra);
        if (c.hasValues) {
            for (int i = 0; i < shape.valueFields && i < static_cast<int>(c.values.size()); ++i)
                text += ' ' + std::to_string(c.values[i]);
        }
    }
    return text;
}

bool ParseConditions(const std::string& text, std::vector<SimCondition>& conditions)
{
    std::vector<SimCondition> result;
    if (!text.empty()) {
        for (const std::string& record : SimSplit(text, ';')) {
            auto f = SimSplit(record, ' ');
            std::vector<int> n;
            for (const std::string& field : f) {
                int v = 0;
                if (!SimParseInt(field, v)) return false;
                n.push_back(v);
            }
            if (n.size() < 2 || n[1] < 0 || n[1] > 8) return false;
            SimCondition c;
            c.parameter = n[0];
            c.check = n[1];
            const RecordShape shape = ShapeOf(c.check);
            const std::size_t head = 2 + static_cast<std::size_t>(shape.headFields);
            const std::size_t full = head + static_cast<std::size_t>(shape.valueFields);
            if (n.size() != head && n.size() != full) return false;
            if (shape.headFields) c.extra = n[2];
            if (n.size() == full) {
                c.hasValues = true;
                c.values.assign(n.begin() + static_cast<long>(head), n.end());
                if (shape.valueFields == 0) c.values = {0};
            }
            result.push_back(c);
        }
    }
    if (result.size() > static_cast<std::size_t>(kSimMaxConditions)) return false;
    conditions = std::move(result);
    return true;
}

std::string SimState::ToText() const
{
    std::string text = "# corvane-sim state: key=value, one a line\n";
    for (const auto& [number, value] : params)
        text += "param." + std::to_string(number) + "=" + value + "\n";
    for (int i = 0; i < kSimOutputs; ++i)
        text += "switch." + std::to_string(i) + "=" + std::to_string(switches[i]) + "\n";
    for (int i = 0; i < kSimOutputs; ++i) {
        const SimOutput& o = outputs[i];
        const std::string k = "output." + std::to_string(i) + ".";
        text += k + "conditions=" + FormatConditions(o.conditions) + "\n";
        text += k + "logic=" + std::to_string(o.logic) + "\n";
        text += k + "options=" + std::to_string(o.releaseDelay) + " " +
                std::to_string(o.reactivationDelay) + "\n";
        text += k + "pulse=" + std::to_string(o.pulseWidth) + " " + std::to_string(o.circuit) + "\n";
    }
    text += "alarms=";
    for (std::size_t i = 0; i < alarms.size(); ++i) {
        if (i) text += ';';
        text += std::to_string(alarms[i].n1) + " " + std::to_string(alarms[i].n2) + " " +
                std::to_string(alarms[i].n3);
    }
    text += "\ntransmitters=";
    for (std::size_t i = 0; i < transmitters.size(); ++i) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", transmitters[i]);
        if (i) text += ' ';
        text += hex;
    }
    text += "\n";
    return text;
}

bool SimState::ApplyText(const std::string& text, std::string* error)
{
    bool ok = true;
    int lineNumber = 0;
    for (std::string line : SimSplit(text, '\n')) {
        ++lineNumber;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line[0] == '#') continue;
        auto eq = line.find('=');
        if (eq == std::string::npos || !ApplyLine(*this, line.substr(0, eq), line.substr(eq + 1))) {
            if (ok && error) *error = "line " + std::to_string(lineNumber) + ": " + line;
            ok = false;
        }
    }
    return ok;
}
