#pragma once
// The logger as the terminal sees it: its record and, for an alarm output
// module, the four outputs, each setting under a name the command line and
// the backup file use, its value as the forms show it.
#include "aom/AlarmRowSummary.h"
#include "aom/AomConditionTable.h"
#include "aom/AomUnits.h"
#include "loggers/LoggerSettings.h"
#include "loggers/LoggerParameters.h"
#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct NamedValue {
    std::string name;
    std::string value;
    bool operator==(const NamedValue&) const = default;
};
using NamedValues = std::vector<NamedValue>;

inline constexpr int kAomOutputs = 4;

struct CliOutput {
    NamedValues options;  // logic, release-delay, reactivation-delay, pulse-width, circuit
    std::vector<ConditionRow> rows;  // eight, as the page shows them
};

struct CliLogger {
    std::unique_ptr<CLoggerSettings> record;
    std::array<CliOutput, kAomOutputs> outputs;  // alarm output module only
    // Outputs (0-3) whose conditions the module did not answer for, or
    // answered with a malformed reply: their rows are empty and stand for
    // nothing.
    std::vector<int> unreadOutputs;
};

// "ALOHA", "APRS", "IRR", "AOM": the kind word of the identification.
const char* KindWord(LoggerType kind);
std::optional<LoggerType> KindFromWord(const std::string& word);

// The settings of the record under their names, in the forms' order.
NamedValues SettingsOf(const CLoggerSettings& record);

// Applies changed values to the record with the forms' checks. On success
// the writes of the form's OK (plan) are returned; on a refusal the form's
// message. An unknown name gives usage (the known names in the text).
struct ApplyOutcome {
    enum Result { Ok, Refused, Usage } result = Ok;
    std::string message;
    ModuleWritePlan plan;
};
ApplyOutcome ApplySettings(CLoggerSettings& record, const NamedValues& changes);
// The writes the form's OK would send for the record as it is.
ModuleWritePlan WritePlanOf(const CLoggerSettings& record);
// Stores what the form's OK stores in config.txt besides the writes.
void StoreLocalSettings(const CLoggerSettings& record);

// Reads the module's outputs (conditions, logic, options) on the open link,
// rows in the given units (values as shown, or exact for a backup). False
// when an output's options did not arrive or step said stop before an
// output; outputs whose conditions did not arrive or were malformed are
// listed in unreadOutputs. The console's transmitters are read when the
// module's conditions or extraSensors ask for them.
bool ReadAomOutputs(CliLogger& logger, const AomUnitSettings& units,
                    RowValues values = RowValues::Shown, bool extraSensors = false,
                    const std::function<bool(const std::string& step)>& step = {});
// An output's option values under their names.
NamedValues OutputOptionsOf(const CLoggerSettings& record, const std::string& logic);
