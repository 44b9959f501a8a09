#pragma once
// Everything the alarm output forms write to or read from the module: the
// parameter numbers, argument layouts, order of sends, pauses and retries.
// Each operation works on the open link and returns when the last reply has
// been read; failures are plain results, the caller shows the message.

#include "aom/AomSettings.h"
#include "loggers/ModuleWritePlan.h"

#include <atomic>
#include <optional>
#include <string>

// One alarm event from the module's log. The module keeps no year.
struct AlarmRecord {
    int output = 0;         // 0-7 (0-3 in use)
    bool active = false;    // the output became active (else inactive)
    int conditionMask = 0;  // bit k: condition k of the output was met
    int month = 0;
    int day = 0;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// The three numbers of a log reply, decoded bit by bit; no range test.
AlarmRecord DecodeAlarmRecord(long first, long second, long third);
// A log reply line: exactly three unsigned decimal numbers separated by
// blanks. Anything else (an empty line from a lost reply, a cut or garbled
// one) is no record.
std::optional<AlarmRecord> ParseAlarmRecordReply(const std::string& line);
// The count reply: one unsigned decimal number; anything else is unreadable.
std::optional<int> ParseAlarmCountReply(const std::string& line);

// The arguments of parameters 16 (condition head) and 17 (condition values).
std::string ConditionHead(int output, const AomCondition& condition);
std::string ConditionValues(int output, const AomCondition& condition);

// Module parameter 1 (time-out) and 24 (alarm logging), read and written in
// that order.
ParameterTable<CAomSettings> AomModuleParameters();
ModuleWritePlan AomModuleWritePlan(const CAomSettings& record);
bool WriteModuleSettings(const CAomSettings& record);
// Parameter 15: the output's conditions go.
bool ClearOutputConditions(int output);
// Clears the output, then sends its conditions (those with parameter -2
// skipped) and its logic. A failure leaves the conditions sent so far.
bool SendOutputConditions(const CAomSettings& record, int output);
// Parameters 19 and 20 from the record's option fields.
bool WriteOutputOptions(const CAomSettings& record, int output);
// Fills the record's option fields from parameters 19 and 20.
bool ReadOutputOptions(CAomSettings& record, int output);

// Number of events in the module's log; nothing when the reply was lost or
// unreadable, which is not the same as an empty log.
std::optional<int> GetAlarmRecordCount();
// Up to three attempts, each a query whose reply must be a whole record.
bool ReadAlarmRecord(int index, AlarmRecord& record);
bool ClearAlarmLog();

// Relay of an output: 1 closed, 0 open. Safe to call from several threads.
void SetOutputState(int output, int state);
// The same with the state read once the link is this call's, so a sender
// that waited for another thread's exchange sends the newest state.
void SetOutputState(int output, const std::atomic<int>& state);
// 0 open, 1 closed, -1 unknown.
int ReadOutputState(int output);
