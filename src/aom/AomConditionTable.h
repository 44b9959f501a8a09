#pragma once
// An output's conditions as the conditions page shows them: eight rows of
// parameter name, check type, values in the display units and minutes,
// built from the module's condition reply, and the records the module is
// sent built back from such rows. The page, the alarm log download and the
// terminal read the conditions through these.
#include "aom/AlarmRowSummary.h"
#include "aom/AomSettings.h"
#include "aom/AomUnits.h"
#include <optional>
#include <string>
#include <vector>

inline constexpr int kConditionRows = 8;
// The module code of "Time of Day", whose values are hh:mm times.
inline constexpr int kTimeOfDay = 128;

// A row as the core checks and sends it. held*: what the module held on
// the row when it was read (parameter, check type, the values in the
// module's own text; a subtraction's second row: its stored threshold), so
// a value left as shown goes back exactly as it was held, not rounded
// through the display.
struct ConditionRow : ConditionRowSummary {
    std::string heldParameter{};
    int heldCheck = -1;
    std::string held1{};
    std::string held2{};
    // The row's own grouping list is open (the page's rows): nothing chosen
    // there is refused.
    bool groupingOpen = false;
    // The row is open on the page: without a parameter it is refused.
    bool inUse = false;
};

// The two replies an output is loaded from: its conditions (16) and its
// output logic (18). read: both came as whole lines; an empty conditions
// line is the module's "no conditions", while silence or a malformed reply
// is a failed read and the texts are then meaningless.
struct OutputConditionReplies {
    std::string conditions;
    std::string logic;
    bool read = false;
};
// Wakes the console and queries both on the open link.
OutputConditionReplies QueryOutputConditions(int output);
// Said when outputs (0-3) could not be read: their pages stay empty and
// are not sent.
std::string UnreadOutputsText(const std::vector<int>& outputs);

// How values are written into the rows: as the page shows them in the
// display units, or at the module's own resolution in its base units (a
// backup, which must give the module's very text back).
enum class RowValues { Shown, Exact };

// The eight rows of the reply (all empty for a malformed one, which is no
// read); rows past the last record are empty
// (no parameter, checkType -1). The grouping of every row is the text of
// the output logic ("OR", "AND", "XOR"). Each row keeps what the module held.
std::vector<ConditionRow> ConditionRowsFromReply(const std::string& reply, int logic,
                                                        const AomUnitSettings& units,
                                                        RowValues values = RowValues::Shown);

inline constexpr const char* kSendFailed =
    "Failed to set configuration in the module for output %i.  \n\t\tPlease check Serial Port "
    "settings and connections.";
// Said before changed conditions are sent: sending them clears the log.
inline constexpr const char* kClearWarning = "This operation will clear your Alarm Event Log";
inline constexpr const char* kAlarmLogClearFailed = "Could not clear alarm records";
inline constexpr const char* kSelectParameter = "Please select a parameter.";
inline constexpr const char* kSelectCheckType = "Please select a check type.";
inline constexpr const char* kSelectGrouping = "Please select a logical grouping.";
// A subtraction's second parameter on a transmitter the station lacks.
inline constexpr const char* kSensorMissing = "No transmitter of the station carries %s.";

// The value fields a check type opens on its row.
struct CheckFields {
    bool value1 = false;
    bool value2 = false;
    bool minutes = false;
};
CheckFields FieldsOfCheck(int checkType);

// The first refusal among an output's rows: where it is (row 0-7 and the
// control) and the message. validator: shown as a validator's box
// (caption "Error", error icon); otherwise a plain box.
enum class ConditionField { Parameter, CheckType, Grouping, Value1, Value2, Minutes };
struct RowRefusal {
    int row = 0;
    ConditionField field = ConditionField::Parameter;
    std::string message;
    bool validator = false;
};

// The page's checks of typed rows before anything is sent, in row order:
// parameter, check type, grouping, then each open value with the
// characters the field takes and its kind's validator. A subtraction's
// second row must be a member of the first's group, on a transmitter the
// station has, compared with "Greater Than or =" or "Less Than or =", and
// its threshold must pass that parameter's validator and fit the module.
std::optional<RowRefusal> ValidateConditionRows(const std::vector<ConditionRow>& rows,
                                                const AomUnitSettings& units);

// Rows back to what the module is sent: empty rows are skipped, a "Minus"
// row takes the row below it as its second operand. logic receives the
// output logic of the first grouping given. A value left as the module's
// held value shows goes back as the module's own text.
std::vector<AomCondition> ConditionsFromRows(int output,
                                             const std::vector<ConditionRow>& rows,
                                             const AomUnitSettings& units, int& logic);

// Everything one output's write sends, checked whole before any of it goes.
struct OutputConditionPlan {
    int output = 0;
    std::vector<AomCondition> conditions;
    int logic = 1;
};
// Validates the rows and builds the plan; every line must also be one the
// module takes. On a refusal nothing is built.
std::optional<RowRefusal> PlanOutputConditions(int output,
                                               const std::vector<ConditionRow>& rows,
                                               const AomUnitSettings& units,
                                               OutputConditionPlan& plan);
// The plan's lines as they go on the wire: the clear, each head and values
// line (extra sensors the station lacks are skipped), the logic.
std::vector<std::string> PlanLines(const OutputConditionPlan& plan);
// The whole write of one output: the record takes the plan, the output is
// cleared and sent, and the module is given its time to settle afterwards.
bool WriteOutputConditions(CAomSettings& record, const OutputConditionPlan& plan);
