#include "SimLogger.h"

#include "SimText.h"

#include <cstdio>
#include <optional>
#include <vector>

// What the simulated logger accepts. A set outside these answers "ERR" and
// changes nothing; so does a set with the wrong number of fields. Numbers
// are read as atoi reads them: "30-" is 30, "9600 baud" is 9600, " 5" is 5
// and a field without digits ("-", "x") is 0, then range checked. Values
// are kept as the numbers read.
//
//  kind   param  set argument                range / rule
//  all    0      (query only)                identification, e.g. "IRR     202"
//  ALOHA  1      time-out                    5-255
//  ALOHA  2      station ID                  0-999
//  APRS   1      time-out                    5-999
//  APRS   12     APRS baud rate              1200 2400 4800 9600 14400 19200
//  APRS   13     position                    DDMM.hhN/DDDMM.hhE_ (N|S, E|W; deg <= 90 / 180, min <= 59)
//  APRS   14     transmission rate           1-99
//  IRR    1      time-out                    5-255
//  IRR    3, 4   release / reactivation      0-999 minutes
//  IRR    5      pulse width                 1-9999 ms
//  IRR    6      continuous                  0 or 1
//  IRR    7      normally closed             0 or 1
//  IRR    8      cycle                       0-255 days (0: no residential schedule)
//  IRR    9      (query only)
//  IRR    10     rain-rate cut-off           0-99 hundredths in/hr, or 255 for none
//  IRR    25-27  amount, daily and total cap 0-999 hundredths of an inch
//  IRR    11     "c s"                       circuit 0-3, state 0 or 1; query "c" answers the state
//  AOM    1      time-out                    1-999 (the transmitter-list read lowers it to 1)
//  AOM    11     "o s"                       output 0-3, state 0 or 1; query "o" answers the state
//  AOM    15     "o"                         clears the output's conditions
//  AOM    16     "o p t" / "o p 4 m" / "o p 7 b"   at most 8 conditions an output; p a module
//                                            code that allows check type t; trend minutes m 1-255;
//                                            b a code of p's subtraction group
//  AOM    17     "o p v" / "o p v1 v2" / "o p 0"   values of the output's last condition, which
//                                            must be on p and (but for 5, 8) without values; two values
//                                            for check types 2-4, a literal 0 for 5 and 8;
//                                            each value in p's range below (check 7: 0-65535)
//  AOM    18     "o l"                       logic 0-2; query "o" answers it
//  AOM    19     "o r a"                     delays 0-999 minutes; query "o" answers "r a"
//  AOM    20     "o w c"                     pulse width 0-9999 ms, circuit 0 or 1; query answers "w c"
//  AOM    21     (query only)                number of alarm records
//  AOM    22     (query "MOD22 i")           record i, 0 to count-1
//  AOM    23     (command)                   clears the alarm log
//  AOM    24     alarm logging               0 or 1
//
// Condition values in the module's own form (what the program's conversions
// produce from the limits its forms enforce; the dew point and heat index
// limits include the tenth the form's truncation lets through):
//  temperatures 2, 17 tenths of F -900..1640; dew points and wind chill 129-131
//  -1209..1349; heat indices 132, 133 -909..1649; extra, soil and leaf
//  temperatures 24-30, 44-49 F+90 0..254; humidities 3, 18, 31-37 0..100;
//  barometer 1 thousandths inHg 16000..32500; rain rate 9 and monthly/yearly
//  rain and ET 11, 12, 15, 16 hundredths 0..19999; daily and storm rain 10, 13
//  0..9999; daily ET 14 thousandths 0..65000; wind speeds 19, 20 mph 0..180;
//  wind direction 21 0..360; solar radiation 22 0..1800; UV 23 tenths 0..160;
//  leaf wetness 38, 39 0..15; soil moisture 40-43 0..200; time 128 hhmm
//  0000..2359; console battery 140 0..853; reception 141 tenths 0..1000;
//  flags (bar trends 4-8, low batteries 50-57, 142-149) have no value.

namespace {

enum CheckSet : unsigned {
    kSetN = 0x1DF,  // 0 1 2 3 4 6 7 8
    kSetR = 0x15F,  // 0 1 2 3 4 6 8
    kSetB = 0x14F,  // 0 1 2 3 6 8
    kSetD = 0x16F,  // 0 1 2 3 5 6 8
    kSetT = 0x120,  // 5 8
    kSetF = 0x020,  // 5
    kSetH = 0x04C,  // 2 3 6
};

struct CodeInfo {
    unsigned checks;
    int group;
    int lo;
    int hi;
    bool time;
};

std::optional<CodeInfo> InfoOf(int code)
{
    auto in = [code](int a, int b) { return code >= a && code <= b; };
    if (code == 1) return CodeInfo{kSetB, 0, 16000, 32500, false};
    if (code == 2 || code == 17) return CodeInfo{kSetN, 1, -900, 1640, false};
    if (code == 3 || code == 18 || in(31, 37)) return CodeInfo{kSetN, 2, 0, 100, false};
    if (in(4, 8) || in(50, 57) || in(142, 149)) return CodeInfo{in(4, 8) ? kSetT : kSetF, 0, 0, 0, false};
    if (code == 9) return CodeInfo{kSetR, 0, 0, 19999, false};
    if (code == 10 || code == 13) return CodeInfo{kSetN, 4, 0, 9999, false};
    if (code == 11 || code == 12 || code == 15 || code == 16) return CodeInfo{kSetN, 4, 0, 19999, false};
    if (code == 14) return CodeInfo{kSetN, 4, 0, 65000, false};
    if (code == 19 || code == 20) return CodeInfo{kSetN, 3, 0, 180, false};
    if (code == 21) return CodeInfo{kSetD, 0, 0, 360, false};
    if (code == 22) return CodeInfo{kSetR, 0, 0, 1800, false};
    if (code == 23) return CodeInfo{kSetR, 0, 0, 160, false};
    if (in(24, 30) || in(44, 49)) return CodeInfo{kSetN, 1, 0, 254, false};
    if (code == 38 || code == 39) return CodeInfo{kSetB, 0, 0, 15, false};
    if (in(40, 43)) return CodeInfo{kSetB, 0, 0, 200, false};
    if (code == 128) return CodeInfo{kSetH, 0, 0, 2359, true};
    if (in(129, 131)) return CodeInfo{kSetN, 1, -1209, 1349, false};
    if (code == 132 || code == 133) return CodeInfo{kSetN, 1, -909, 1649, false};
    if (code == 140) return CodeInfo{kSetD, 0, 0, 853, false};
    if (code == 141) return CodeInfo{kSetB, 0, 0, 1000, false};
    return std::nullopt;
}

struct Range {
    int lo;
    int hi;
};

// Plain parameters of each kind: number -> accepted range. A range with
// lo > hi marks a parameter that is only queried.
std::optional<Range> PlainParam(SimKind kind, int n)
{
    switch (kind) {
    case SimKind::Aloha:
        if (n == 1) return Range{5, 255};
        if (n == 2) return Range{0, 999};
        break;
    case SimKind::Aprs:
        if (n == 1) return Range{5, 999};
        if (n == 12 || n == 13) return Range{0, 0};  // checked on their own
        if (n == 14) return Range{1, 99};
        break;
    case SimKind::Irr:
        switch (n) {
        case 1: return Range{5, 255};
        case 3:
        case 4: return Range{0, 999};
        case 5: return Range{1, 9999};
        case 6:
        case 7: return Range{0, 1};
        case 8: return Range{0, 255};
        case 9: return Range{1, 0};
        case 10: return Range{0, 99};  // or 255
        case 25:
        case 26:
        case 27: return Range{0, 999};
        default: break;
        }
        break;
    case SimKind::Aom:
        if (n == 1) return Range{1, 999};
        if (n == 24) return Range{0, 1};
        break;
    case SimKind::None:
        break;
    }
    return std::nullopt;
}

bool IsAprsBaud(int v)
{
    return v == 1200 || v == 2400 || v == 4800 || v == 9600 || v == 14400 || v == 19200;
}

bool Digits(const std::string& s, std::size_t pos, std::size_t count, int& value)
{
    if (pos + count > s.size()) return false;
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        if (s[i] < '0' || s[i] > '9') return false;
        value = value * 10 + (s[i] - '0');
    }
    return true;
}

// DDMM.hhN/DDDMM.hhW_ as the APRS logger stores it.
bool IsAprsPosition(const std::string& s)
{
    if (s.size() != 19) return false;
    int deg = 0, min = 0, hund = 0;
    if (!Digits(s, 0, 2, deg) || !Digits(s, 2, 2, min) || s[4] != '.' || !Digits(s, 5, 2, hund))
        return false;
    if (deg > 90 || min > 59 || (s[7] != 'N' && s[7] != 'S') || s[8] != '/') return false;
    if (!Digits(s, 9, 3, deg) || !Digits(s, 12, 2, min) || s[14] != '.' || !Digits(s, 15, 2, hund))
        return false;
    return deg <= 180 && min <= 59 && (s[17] == 'E' || s[17] == 'W') && s[18] == '_';
}

// Fields of a set argument, each read as a leading number.
bool NumberFields(const std::string& arg, std::size_t count, std::vector<int>& values)
{
    auto fields = SimSplit(arg, ' ');
    if (fields.size() != count) return false;
    values.clear();
    for (const std::string& f : fields) {
        int v = 0;
        if (!SimParseLeadingInt(f, v)) return false;
        values.push_back(v);
    }
    return true;
}

bool OutputNumber(int v)
{
    return v >= 0 && v < kSimOutputs;
}

// A query argument that names one output or circuit.
bool OutputArgument(const std::string& arg, int& output)
{
    return SimParseLeadingInt(arg, output) && arg.find(' ') == std::string::npos && OutputNumber(output);
}

struct ParsedLine {
    int number = -1;
    SimLineForm form = SimLineForm::Malformed;
    bool bare = false;  // no argument and no " |"
    std::string arg;
};

ParsedLine ParseLine(const std::string& line)
{
    ParsedLine p;
    if (line.compare(0, 3, "MOD") != 0) return p;
    std::size_t i = 3;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    const std::size_t digits = i - 3;
    // Two digits below 100, all of them from 100 on; never a leading zero beyond that.
    if (digits < 2 || digits > 4 || (digits > 2 && line[3] == '0')) return p;
    p.number = std::stoi(line.substr(3, digits));
    const std::string rest = line.substr(i);
    if (rest.empty()) {
        p.bare = true;
        p.form = SimLineForm::Command;  // refined per parameter
    } else if (rest == " |") {
        p.form = SimLineForm::Query;
    } else if (rest.size() >= 4 && rest[0] == ' ' && rest.compare(rest.size() - 2, 2, " |") == 0) {
        p.form = SimLineForm::Query;
        p.arg = rest.substr(1, rest.size() - 3);
    } else if (rest.size() >= 2 && rest[0] == ' ') {
        p.form = SimLineForm::Set;
        p.arg = rest.substr(1);
    }
    return p;
}

std::string Ok()
{
    return "OK";
}

}  // namespace

bool SimIsModuleCode(int code)
{
    return InfoOf(code).has_value();
}

bool SimCheckAllowed(int code, int check)
{
    auto info = InfoOf(code);
    return info && check >= 0 && check <= 8 && (info->checks & (1u << check));
}

int SimMinusGroup(int code)
{
    auto info = InfoOf(code);
    return info ? info->group : 0;
}

bool SimValueAllowed(int code, int value)
{
    auto info = InfoOf(code);
    if (!info) return false;
    if (info->time) return value >= 0 && value <= 2359 && value % 100 < 60;
    return value >= info->lo && value <= info->hi;
}

SimLogger::SimLogger(SimKind kind, int firmware) : kind_(kind), firmware_(firmware) {}

std::string SimLogger::Identification() const
{
    char text[32];
    std::snprintf(text, sizeof text, "%-8s%03d", SimKindWord(kind_), firmware_ % 1000);
    return text;
}

SimModuleReply SimLogger::Handle(const std::string& line, SimState& state, bool refuseSets) const
{
    ParsedLine p = ParseLine(line);
    SimModuleReply reply;
    reply.text = kSimErrorReply;
    const int n = p.number;
    const bool aom = kind_ == SimKind::Aom;

    // The bare and argument forms that are queries for these parameters.
    if (p.bare && (n == 0 || (aom && n == 21))) p.form = SimLineForm::Query;
    if (aom && n == 22 && p.form == SimLineForm::Set) p.form = SimLineForm::Query;
    reply.form = p.form;
    if (p.form == SimLineForm::Malformed || kind_ == SimKind::None) return reply;
    // These three never carry " |"; a bare line is a command only for 23.
    if ((n == 0 || n == 21 || n == 22) && !(p.bare || (n == 22 && p.form == SimLineForm::Query && !line.ends_with(" |")))) {
        reply.form = SimLineForm::Malformed;
        return reply;
    }
    if (p.bare && p.form == SimLineForm::Command && !(aom && n == 23)) {
        reply.form = SimLineForm::Malformed;
        return reply;
    }
    if ((p.form == SimLineForm::Set || p.form == SimLineForm::Command) && refuseSets) return reply;

    if (n == 0) {
        reply.text = Identification();
        return reply;
    }

    std::vector<int> v;
    auto store = [&](int number, const std::string& value) {
        state.params[number] = value;
        reply.changed = true;
        reply.text = Ok();
    };

    if (auto range = PlainParam(kind_, n)) {
        if (p.form == SimLineForm::Query) {
            if (!p.arg.empty()) return reply;
            auto it = state.params.find(n);
            reply.text = it != state.params.end() ? it->second : "0";
            return reply;
        }
        if (p.form != SimLineForm::Set) return reply;
        if (kind_ == SimKind::Aprs && n == 13) {
            if (IsAprsPosition(p.arg)) store(n, p.arg);
            return reply;
        }
        int value = 0;
        if (!SimParseLeadingInt(p.arg, value)) return reply;
        bool ok = value >= range->lo && value <= range->hi;
        if (kind_ == SimKind::Aprs && n == 12) ok = IsAprsBaud(value);
        if (kind_ == SimKind::Irr && n == 10) ok = ok || value == 255;
        if (ok) store(n, std::to_string(value));
        return reply;
    }

    const bool switches = aom || kind_ == SimKind::Irr;
    if (switches && n == 11) {
        int o = 0;
        if (p.form == SimLineForm::Query) {
            if (OutputArgument(p.arg, o)) reply.text = std::to_string(state.switches[o]);
        } else if (p.form == SimLineForm::Set && NumberFields(p.arg, 2, v) && OutputNumber(v[0]) &&
                   (v[1] == 0 || v[1] == 1)) {
            state.switches[v[0]] = v[1];
            reply.changed = true;
            reply.text = Ok();
        }
        return reply;
    }
    if (!aom) return reply;

    int o = 0;
    const bool query = p.form == SimLineForm::Query;
    const bool set = p.form == SimLineForm::Set;
    switch (n) {
    case 15:
        if (set && NumberFields(p.arg, 1, v) && OutputNumber(v[0])) {
            state.outputs[v[0]].conditions.clear();
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    case 16:
        if (query) {
            if (OutputArgument(p.arg, o)) reply.text = FormatConditions(state.outputs[o].conditions);
        } else if (set) {
            auto fields = SimSplit(p.arg, ' ');
            const bool withExtra = fields.size() == 4;
            if ((fields.size() != 3 && !withExtra) || !NumberFields(p.arg, fields.size(), v)) break;
            const int out = v[0], code = v[1], check = v[2];
            if (!OutputNumber(out) || !SimCheckAllowed(code, check)) break;
            if (withExtra != (check == 4 || check == 7)) break;
            SimCondition c;
            c.parameter = code;
            c.check = check;
            if (check == 4) {
                if (v[3] < 1 || v[3] > 255) break;
                c.extra = v[3];
            } else if (check == 7) {
                if (!SimIsModuleCode(v[3]) || SimMinusGroup(v[3]) != SimMinusGroup(code)) break;
                c.extra = v[3];
            }
            if (check == 5 || check == 8) {
                // Nothing to wait for: the value of these is always 0.
                c.hasValues = true;
                c.values = {0};
            }
            auto& list = state.outputs[out].conditions;
            if (list.size() >= static_cast<std::size_t>(kSimMaxConditions)) break;
            list.push_back(c);
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    case 17: {
        if (!set) break;
        auto fields = SimSplit(p.arg, ' ');
        if ((fields.size() != 3 && fields.size() != 4) || !NumberFields(p.arg, fields.size(), v)) break;
        if (!OutputNumber(v[0])) break;
        auto& list = state.outputs[v[0]].conditions;
        if (list.empty() || list.back().parameter != v[1]) break;
        SimCondition& c = list.back();
        if (c.hasValues && c.check != 5 && c.check != 8) break;
        const bool two = c.check >= 2 && c.check <= 4;
        if (fields.size() != (two ? 4u : 3u)) break;
        std::vector<int> values(v.begin() + 2, v.end());
        bool ok = true;
        for (int value : values) {
            if (c.check == 5 || c.check == 8) ok = ok && value == 0;
            else if (c.check == 7) ok = ok && value >= 0 && value <= 65535;
            else ok = ok && SimValueAllowed(c.parameter, value);
        }
        if (!ok) break;
        c.values = values;
        c.hasValues = true;
        reply.changed = true;
        reply.text = Ok();
        break;
    }
    case 18:
        if (query) {
            if (OutputArgument(p.arg, o)) reply.text = std::to_string(state.outputs[o].logic);
        } else if (set && NumberFields(p.arg, 2, v) && OutputNumber(v[0]) && v[1] >= 0 && v[1] <= 2) {
            state.outputs[v[0]].logic = v[1];
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    case 19:
        if (query) {
            if (OutputArgument(p.arg, o))
                reply.text = std::to_string(state.outputs[o].releaseDelay) + " " +
                             std::to_string(state.outputs[o].reactivationDelay);
        } else if (set && NumberFields(p.arg, 3, v) && OutputNumber(v[0]) && v[1] >= 0 &&
                   v[1] <= 999 && v[2] >= 0 && v[2] <= 999) {
            state.outputs[v[0]].releaseDelay = v[1];
            state.outputs[v[0]].reactivationDelay = v[2];
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    case 20:
        if (query) {
            if (OutputArgument(p.arg, o))
                reply.text = std::to_string(state.outputs[o].pulseWidth) + " " +
                             std::to_string(state.outputs[o].circuit);
        } else if (set && NumberFields(p.arg, 3, v) && OutputNumber(v[0]) && v[1] >= 0 &&
                   v[1] <= 9999 && (v[2] == 0 || v[2] == 1)) {
            state.outputs[v[0]].pulseWidth = v[1];
            state.outputs[v[0]].circuit = v[2];
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    case 21:
        if (p.bare) reply.text = std::to_string(state.alarms.size());
        break;
    case 22: {
        int index = 0;
        if (!p.arg.empty() && SimParseInt(p.arg, index) && index >= 0 &&
            static_cast<std::size_t>(index) < state.alarms.size()) {
            const SimAlarmRecord& r = state.alarms[static_cast<std::size_t>(index)];
            reply.text = std::to_string(r.n1) + " " + std::to_string(r.n2) + " " + std::to_string(r.n3);
        }
        break;
    }
    case 23:
        if (p.bare) {
            state.alarms.clear();
            reply.changed = true;
            reply.text = Ok();
        }
        break;
    default:
        break;
    }
    return reply;
}
