#pragma once
// Backing up a whole logger and putting a backup back, the same way from
// corvane-cli and from the window: the read with its steps, the backup's
// text, the plan of a restore (what differs, what is refused) and its write.
#include "cli/BackupFile.h"
#include "aom/AomModuleChecks.h"
#include "cli/CliLogger.h"
#include "loggers/LoggerSettings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

// The units the module keeps its values in: a backup in these converts
// back without rounding.
inline constexpr AomUnitSettings kModuleUnits{UnitFahrenheit, UnitInch, UnitMph, UnitInch};

// Told before each step of a long read or write what it does ("Reading
// output 3 of 4"); false stops a read before that step.
using StepReport = std::function<bool(const std::string& step)>;

struct LoggerRead {
    std::unique_ptr<CliLogger> logger;  // null when the read failed or was stopped
    bool stopped = false;               // stopped by the step report
    bool reopened = false;              // the port was opened again after detection
    // Why it failed after detection: the port, an output's options or
    // conditions. Empty when detection's own message said it all.
    std::string message;
    std::string details;
};

// Detects the logger (detection shows its messages over owner) and reads its
// kind's settings; with withOutputs an alarm output module's outputs too,
// rows in units. The port is closed when it returns.
LoggerRead ReadLogger(OwnerWindow owner, bool withOutputs, const AomUnitSettings& units,
                      RowValues values, bool extraSensors, const StepReport& step = {});

// Whether a file's rows name an extra sensor, which only the console's
// transmitters map to a module code.
bool NamesExtraSensor(const BackupContent& file);

BackupContent BackupContentOf(const CliLogger& logger, const AomUnitSettings& units);

// A malformed reply (a line feed inside a value) is a failed read, not
// printed or saved as a file that restore would then refuse: the message
// naming it, empty when every value can be written.
std::string UnwritableText(const BackupContent& content);

// The backup file of a logger read at the module's resolution; writer names
// what wrote it in the first comment line. Empty, with the reason in error,
// when a reply holds text the file cannot keep.
std::string BackupText(const CliLogger& logger, const std::string& writer, std::string& error);

// "holds the configuration of an AOM logger; the logger on the port is IRR."
// when the file is of another kind than the logger, else empty.
std::string OtherKindText(const BackupContent& file, const CLoggerSettings& record);

// One line of a restore's review: a setting, as the logger holds it and as
// the file has it. An output whose conditions change has a Conditions line
// (its logic) followed by a Row line for each row that differs.
struct ReviewLine {
    enum Kind { Setting, Conditions, Row } kind = Setting;
    std::string setting;  // "timeout", "output 2 pulse-width", "output 2 conditions", "output 2 row 3"
    std::string held;
    std::string wanted;
    bool operator==(const ReviewLine&) const = default;
};

// One output of a restore: what changes and how it goes out.
struct OutputChange {
    int output = 0;
    bool options = false;
    AomOptionTexts optionTexts;
    bool conditions = false;
    OutputConditionPlan plan;
};

struct RestorePlan {
    // The forms' messages ("output 2: ..." for an output's); while there is
    // any, nothing is to be sent.
    std::vector<std::string> refusals;
    bool unknownSetting = false;  // a refusal names a setting the kind lacks
    std::vector<ReviewLine> lines;
    ModuleWritePlan writes;
    std::vector<OutputChange> outputs;
    bool clearsLog = false;  // an output's conditions change
    bool NothingToWrite() const { return writes.empty() && outputs.empty(); }
};

// What writing file onto the logger read as logger would change, checked
// with the forms' rules; the record takes the file's settings. Rows are in
// units. Nothing is sent.
RestorePlan PlanRestore(const BackupContent& file, CliLogger& logger, const AomUnitSettings& units);

struct RestoreResult {
    bool ok = true;
    std::string failure;               // the message of the write that failed
    std::vector<std::string> written;  // what went before it, in order
    // "Already written: output 2 options;"; empty when nothing went.
    std::string WrittenText() const;
};
// Writes a plan without refusals on the open link, in the forms' order: the
// settings, each output's options, the alarm log's clear, each output's
// conditions. Stops at the first write that fails.
RestoreResult WriteRestore(CLoggerSettings& record, const RestorePlan& plan,
                           const StepReport& step = {});
