#pragma once
// The rules of the conditions page that need no widgets: reading the
// module's condition reply, and turning typed rows into what the module
// stores (times, ranges, the subtracted value, the output logic).

#include "aom/AomUnits.h"

#include <string>
#include <vector>

// The reply of the condition query: records separated by ";", fields by
// blanks. Empty records and fields (doubled separators) are skipped, so an
// empty reply gives no record.
using ConditionFields = std::vector<std::string>;
std::vector<ConditionFields> ParseConditionReply(const std::string& reply);
// Whether every field is a number the module can hold: digits with an
// optional minus, within 16 bits (signed or not). A reply with any other
// field is malformed, and the output it came for was not read: such a field
// must never be shown, kept or sent back as a value.
bool IsConditionReplyWellFormed(const std::string& reply);
// A field of a record; empty when the record ends before it.
std::string RecordField(const ConditionFields& record, std::size_t index);

// A time the module keeps as hhmm without leading zeros, as shown ("730"
// shows as "7:30"). Text of another length is shown as it comes.
std::string TimeForDisplay(const std::string& moduleText);
// "7:30" -> "0730": hours before the first ":", minutes after it.
std::string TimeForModule(const std::string& typed);

// The value of a subtraction (already in the module's form) for the check
// type of its second row: "Greater Than or =" drops every "-", "Less Than
// or =" is sent as the 16-bit two's complement of its negation, anything
// else goes as it is.
std::string MinusValueForModule(const std::string& moduleText, int checkType);
// The stored value back: bit 0x8000 marks "Less Than or =".
struct MinusValue {
    int checkType;
    std::string moduleText;
};
MinusValue MinusValueFromModule(const std::string& stored);

// Puts the lower bound of a "Between"/"Not Between" range first. A
// wind-direction range keeps its order: it may wrap through north.
void OrderRange(int moduleCode, std::string& value1, std::string& value2);

// The grouping operator of the page: 0 "OR", 1 "AND", 2 "XOR".
int OutputLogicFromOperator(const std::string& text);
// The operator number the module holds, as the grouping list shows it;
// "DONE" for any other number.
std::string OperatorText(int number);

inline constexpr const char* kGroupingDone = "DONE";
inline constexpr const char* kGroupingOr = "OR";
inline constexpr const char* kGroupingAnd = "AND";
inline constexpr const char* kGroupingXor = "XOR";
