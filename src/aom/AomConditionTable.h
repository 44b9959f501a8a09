#pragma once
// An output's conditions as the conditions page shows them: eight rows of
// parameter name, check type, values in the display units and minutes,
// built from the module's condition reply, and the records the module is
// sent built back from such rows. The page, the alarm log download and the
// terminal read the conditions through these.
#include "AlarmRowSummary.h"
#include "AomSettings.h"
#include "AomUnits.h"
#include <optional>
#include <string>
#include <vector>

inline constexpr int kConditionRows = 8;
// The module code of "Time of Day", whose values are hh:mm times.
inline constexpr int kTimeOfDay = 128;

// The two replies the page loads an output from: its conditions (16) and
// its output logic (18). Empty texts for what the module did not answer.
struct OutputConditionReplies {
    std::string conditions;
    std::string logic;
};
// Wakes the console and queries both on the open link.
OutputConditionReplies QueryOutputConditions(int output);

// The eight rows of the reply; rows past the last record are empty
// (no parameter, checkType -1). The grouping of every row is the text of
// the output logic ("OR", "AND", "XOR").
std::vector<ConditionRowSummary> ConditionRowsFromReply(const std::string& reply, int logic,
                                                        const AomUnitSettings& units);

inline constexpr const char* kSendFailed =
    "Failed to set configuration in the module for output %i.  \n\t\tPlease check Serial Port "
    "settings and connections.";
// Said before changed conditions are sent: sending them clears the log.
inline constexpr const char* kClearWarning = "This operation will clear your Alarm Event Log";
inline constexpr const char* kAlarmLogClearFailed = "Could not clear alarm records";
inline constexpr const char* kSelectParameter = "Please select a parameter.";
inline constexpr const char* kSelectCheckType = "Please select a check type.";

// The value fields a check type opens on its row.
struct CheckFields {
    bool value1 = false;
    bool value2 = false;
    bool minutes = false;
};
CheckFields FieldsOfCheck(int checkType);

// The page's checks of typed rows before anything is sent: the first
// refusal's message, nothing when every row passes. A row below a "Minus"
// row needs only its check type.
std::optional<std::string> ValidateConditionRows(const std::vector<ConditionRowSummary>& rows,
                                                 const AomUnitSettings& units);

// Rows back to what the module is sent: empty rows are skipped, a "Minus"
// row takes the row below it as its second operand. logic receives the
// output logic of the first row's grouping.
std::vector<AomCondition> ConditionsFromRows(int output,
                                             const std::vector<ConditionRowSummary>& rows,
                                             const AomUnitSettings& units, int& logic);
