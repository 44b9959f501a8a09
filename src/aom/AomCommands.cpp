#include "aom/AomCommands.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomConversions.h"
#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "base/WaitCursor.h"

#include <cerrno>
#include <cstdlib>
#include <limits>
#include <mutex>
#include <vector>

namespace {

enum Parameter {
    ParamTimeout = 1,
    ParamOutputState = 11,
    ParamClearConditions = 15,
    ParamConditionHead = 16,
    ParamConditionValues = 17,
    ParamOutputLogic = 18,
    ParamDelays = 19,
    ParamPulse = 20,
    ParamRecordCount = 21,
    ParamRecord = 22,
    ParamClearLog = 23,
    ParamAlarmLogging = 24,
};

// The module needs these to take one setting before the next arrives.
constexpr int kBetweenSetsMs = 100;
constexpr int kAfterClearMs = 1000;
constexpr int kAfterStateMs = 100;
constexpr int kRecordAttempts = 3;
constexpr int kStateAttempts = 3;

std::mutex& OutputStateMutex()
{
    static std::mutex mutex;
    return mutex;
}

bool ValidOutput(int output) { return output >= 0 && output <= 3; }

std::vector<std::string> SplitAtBlanks(const std::string& line)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    while (start < line.size()) {
        const auto begin = line.find_first_not_of(' ', start);
        if (begin == std::string::npos) break;
        const auto end = line.find(' ', begin);
        fields.push_back(line.substr(begin, end == std::string::npos ? end : end - begin));
        start = end == std::string::npos ? line.size() : end;
    }
    return fields;
}

std::string Field(const std::vector<std::string>& fields, std::size_t index)
{
    return index < fields.size() ? fields[index] : std::string();
}

// A field of a log reply: digits only, small enough for a long.
std::optional<long> ReadLogNumber(const std::string& text)
{
    if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos)
        return std::nullopt;
    errno = 0;
    const long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE) return std::nullopt;
    return value;
}

}  // namespace

AlarmRecord DecodeAlarmRecord(long first, long second, long third)
{
    const auto a = static_cast<unsigned long>(first);
    const auto b = static_cast<unsigned long>(second);
    const auto c = static_cast<unsigned long>(third);
    AlarmRecord record;
    record.output = static_cast<int>((a >> 13) & 0x7);
    record.active = ((a >> 12) & 0x1) != 0;
    record.conditionMask = static_cast<int>((a >> 4) & 0xFF);
    record.month = static_cast<int>(a & 0xF);
    record.day = static_cast<int>((b >> 11) & 0x1F);
    record.hour = static_cast<int>((b >> 6) & 0x1F);
    record.minute = static_cast<int>(b & 0x3F);
    record.second = static_cast<int>((c >> 2) & 0x3F);
    return record;
}

std::optional<AlarmRecord> ParseAlarmRecordReply(const std::string& line)
{
    // A lost reply reads as an empty line: taken as "0 0 0" it would put an
    // invented event into the file in place of the real one.
    const std::vector<std::string> fields = SplitAtBlanks(line);
    if (fields.size() != 3) return std::nullopt;
    const auto first = ReadLogNumber(fields[0]);
    const auto second = ReadLogNumber(fields[1]);
    const auto third = ReadLogNumber(fields[2]);
    if (!first || !second || !third) return std::nullopt;
    return DecodeAlarmRecord(*first, *second, *third);
}

std::optional<int> ParseAlarmCountReply(const std::string& line)
{
    const std::vector<std::string> fields = SplitAtBlanks(line);
    if (fields.size() != 1) return std::nullopt;
    const auto count = ReadLogNumber(fields[0]);
    if (!count || *count > std::numeric_limits<int>::max()) return std::nullopt;
    return static_cast<int>(*count);
}

std::string ConditionHead(int output, const AomCondition& c)
{
    switch (c.checkType) {
    case CheckTrending:
        return FormatText("%i %i %i %s", output, c.parameter, CheckTrending, c.trendPeriod.c_str());
    case CheckMinus:
        return FormatText("%i %i %i %i", output, c.parameter, CheckMinus, c.secondParameter);
    default: return FormatText("%i %i %i", output, c.parameter, c.checkType);
    }
}

std::string ConditionValues(int output, const AomCondition& c)
{
    switch (c.checkType) {
    case CheckBetween:
    case CheckNotBetween:
    case CheckTrending:
        return FormatText("%i %i %s %s", output, c.parameter, c.value1.c_str(), c.value2.c_str());
    case CheckTrue:
    case CheckMissing: return FormatText("%i %i 0", output, c.parameter);
    default: return FormatText("%i %i %s", output, c.parameter, c.value1.c_str());
    }
}

namespace {

const ModuleParameter<CAomSettings> kModule[] = {
    TextParameter<CAomSettings, &CAomSettings::timeout>(ParamTimeout),
    // Anything but 1 reads as logging off.
    {ParamAlarmLogging,
     [](CAomSettings& record, const std::string& reply) {
         record.alarmLogging = ReadInt(reply) == 1;
         return true;
     },
     [](const CAomSettings& record) -> std::string { return record.alarmLogging ? "1" : "0"; }},
};

}  // namespace

ParameterTable<CAomSettings> AomModuleParameters()
{
    return kModule;
}

ModuleWritePlan AomModuleWritePlan(const CAomSettings& record)
{
    return WritesOf(AomModuleParameters(), {ParamTimeout, ParamAlarmLogging}, record);
}

bool WriteModuleSettings(const CAomSettings& record)
{
    const ModuleWritePlan plan = AomModuleWritePlan(record);
    return SendModuleWrites(plan) == plan.size();
}

bool ClearOutputConditions(int output)
{
    WakeConsoleQuick();
    if (ModuleSet(ParamClearConditions, FormatText("%i", output)) != 0) return false;
    PauseMs(kAfterClearMs);
    return true;
}

bool SendOutputConditions(const CAomSettings& record, int output)
{
    if (!ClearOutputConditions(output)) return false;
    WakeConsoleQuick();
    const int count = record.ConditionCount(output);
    for (int i = 0; i < count; ++i) {
        const AomCondition* condition = record.ConditionAt(output, i);
        // An extra sensor the station lacks has no module code to send.
        if (!condition || condition->parameter == kMissingSensor) continue;
        if (ModuleSet(ParamConditionHead, ConditionHead(output, *condition)) != 0) return false;
        PauseMs(kBetweenSetsMs);
        if (ModuleSet(ParamConditionValues, ConditionValues(output, *condition)) != 0) return false;
        PauseMs(kBetweenSetsMs);
    }
    if (ModuleSet(ParamOutputLogic, FormatText("%i %i", output, record.outputLogic)) != 0)
        return false;
    PauseMs(kBetweenSetsMs);
    return true;
}

bool WriteOutputOptions(const CAomSettings& record, int output)
{
    WakeConsoleQuick();
    if (ModuleSet(ParamDelays, FormatText("%i %s %s", output, record.releaseDelay.c_str(),
                                          record.reactivationDelay.c_str())) != 0)
        return false;
    // The module's circuit flag: 0 normally open, 1 normally closed.
    return ModuleSet(ParamPulse, FormatText(record.normallyOpen ? "%i %s 0" : "%i %s 1", output,
                                            record.pulseWidth.c_str())) == 0;
}

bool ReadOutputOptions(CAomSettings& record, int output)
{
    WaitCursorGuard cursor;
    WakeConsoleQuick();
    const std::string argument = FormatText("%i", output);
    if (ModuleQueryArg(ParamDelays, argument) != 0) return false;
    const std::vector<std::string> delays = SplitAtBlanks(ModuleReadLine());
    record.releaseDelay = Field(delays, 0);
    record.reactivationDelay = Field(delays, 1);

    if (ModuleQueryArg(ParamPulse, argument) != 0) return false;
    const std::string reply = ModuleReadLine();
    if (reply.empty()) return false;
    const std::vector<std::string> pulse = SplitAtBlanks(reply);
    record.pulseWidth = Field(pulse, 0);
    record.normallyOpen = ReadInt(Field(pulse, 1)) == 0;
    return true;
}

std::optional<int> GetAlarmRecordCount()
{
    // Read as 0, a lost reply would tell "--clear" there is nothing to save.
    WakeConsoleQuick();
    if (ModuleQuery(ParamRecordCount) != 0) return std::nullopt;
    return ParseAlarmCountReply(ModuleReadLine());
}

bool ReadAlarmRecord(int index, AlarmRecord& record)
{
    // Reading a record changes nothing in the module, so a lost or garbled
    // reply is simply asked for again.
    for (int attempt = 0; attempt < kRecordAttempts; ++attempt) {
        WakeConsoleQuick();
        if (ModuleQueryInt(ParamRecord, index) != 0) continue;
        if (const auto read = ParseAlarmRecordReply(ModuleReadLine())) {
            record = *read;
            return true;
        }
    }
    return false;
}

bool ClearAlarmLog()
{
    WaitCursorGuard cursor;
    WakeConsoleQuick();
    return ModuleCommand(ParamClearLog) == 0;
}

void SetOutputState(int output, const std::atomic<int>& state)
{
    // The output test's poller and its presses both switch relays (both on
    // the link worker now); one exchange must finish before the next starts.
    std::lock_guard<std::mutex> lock(OutputStateMutex());
    WakeConsoleQuick();
    if (!ValidOutput(output)) return;
    ModuleSet(ParamOutputState, FormatText("%i %i", output, state.load()));
    PauseMs(kAfterStateMs);
}

void SetOutputState(int output, int state)
{
    const std::atomic<int> fixed{state};
    SetOutputState(output, fixed);
}

int ReadOutputState(int output)
{
    WakeConsoleQuick();
    if (!ValidOutput(output)) return -1;
    const std::string digit = FormatText("%i", output);
    bool sent = false;
    for (int attempt = 0; attempt < kStateAttempts && !sent; ++attempt)
        sent = ModuleQueryArg(ParamOutputState, digit) == 0;
    if (!sent) return -1;
    const std::string reply = ModuleReadLine();
    PauseMs(kAfterStateMs);
    if (reply.find('0') != std::string::npos) return 0;
    if (reply.find('1') != std::string::npos) return 1;
    return -1;
}
