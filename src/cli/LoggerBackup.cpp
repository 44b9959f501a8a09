#include "cli/LoggerBackup.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConditionTable.h"
#include "aom/AomSettings.h"
#include "link/LinkChoice.h"
#include "detect/LoggerDetection.h"
#include "base/NumericText.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"

#include <algorithm>

LoggerRead ReadLogger(OwnerWindow owner, bool withOutputs, const AomUnitSettings& units,
                      RowValues values, bool extraSensors, const StepReport& step)
{
    LoggerRead read;
    const StepReport report = [&](const std::string& text) {
        if (!step || step(text)) return true;
        read.stopped = true;
        return false;
    };
    if (!report("Detecting the logger")) return read;
    auto logger = std::make_unique<CliLogger>();
    logger->record = DetectAndReadLogger(owner);
    if (!logger->record) return read;
    if (withOutputs && logger->record->kind == LoggerAom) {
        if (OpenLink(ChosenPort(), ChosenBaud()) != 0) {
            read.message = kNoLoggerFound;
            read.details = LastPortFailureDetails();
            return read;
        }
        read.reopened = true;
        const bool done = ReadAomOutputs(*logger, units, values, extraSensors, report);
        LinkClose();
        if (read.stopped) return read;
        if (!done) {
            read.message = kNoLoggerFound;
            return read;
        }
        // An output that could not be read is not empty: nothing is shown,
        // kept or compared for it.
        if (!logger->unreadOutputs.empty()) {
            read.message = UnreadOutputsText(logger->unreadOutputs);
            return read;
        }
    }
    read.logger = std::move(logger);
    return read;
}

bool NamesExtraSensor(const BackupContent& file)
{
    for (const BackupOutput& out : file.outputs)
        for (const ConditionRow& row : out.rows)
            if (row.parameter.rfind("Extra ", 0) == 0) return true;
    return false;
}

BackupContent BackupContentOf(const CliLogger& logger, const AomUnitSettings& units)
{
    BackupContent content;
    content.kind = KindWord(logger.record->kind);
    content.settings = SettingsOf(*logger.record);
    if (logger.record->kind == LoggerAom) {
        content.units = units;
        for (std::size_t n = 0; n < logger.outputs.size(); ++n) {
            content.outputs[n].present = true;
            content.outputs[n].options = logger.outputs[n].options;
            content.outputs[n].rows = logger.outputs[n].rows;
        }
    }
    return content;
}

std::string UnwritableText(const BackupContent& content)
{
    const std::string name = UnwritableSetting(content);
    if (name.empty()) return {};
    return "The logger's reply for " + name +
           " holds a line feed or blanks a backup file cannot keep; nothing was written.";
}

std::string BackupText(const CliLogger& logger, const std::string& writer, std::string& error)
{
    const BackupContent content = BackupContentOf(logger, kModuleUnits);
    error = UnwritableText(content);
    if (!error.empty()) return {};
    return FormatBackup(
        content,
        {"Corvane Logger configuration, written by " + writer + ".",
         "Logger Type: " + FormatIdentification(logger.record->identification),
         "One setting a line as \"name = value\"; lines starting with # are comments.",
         "corvane-cli restore writes back only what differs from the logger."});
}

std::string OtherKindText(const BackupContent& file, const CLoggerSettings& record)
{
    if (file.kind == KindWord(record.kind)) return {};
    return "holds the configuration of an " + file.kind + " logger; the logger on the port is " +
           KindWord(record.kind) + ".";
}

namespace {

bool IsLogicWord(const std::string& word)
{
    for (int logic = 0; logic <= 3; ++logic)
        if (word == OperatorText(logic)) return true;
    return false;
}

std::string RowText(const ConditionRowSummary& row)
{
    if (row.parameter.empty()) return "(empty)";
    return row.parameter + " | " + CheckTypeText(row.checkType) + " | " + row.value1 + " | " +
           row.value2 + " | " + row.minutes;
}

// One output of the file against the module's: the review lines and the
// change, or the refusal.
std::optional<std::string> PlanOutput(int n, const BackupOutput& want, const CliOutput& have,
                                      const AomUnitSettings& units, RestorePlan& plan)
{
    const std::string prefix = FormatText("output %d ", n + 1);
    OutputChange change;
    change.output = n;
    // What the file leaves out stays as the module holds it.
    NamedValues options = have.options;
    for (const NamedValue& v : want.options)
        for (NamedValue& o : options)
            if (o.name == v.name && o.value != v.value) {
                if (v.name != "logic") {
                    change.options = true;
                    plan.lines.push_back({ReviewLine::Setting, prefix + v.name, o.value, v.value});
                }
                o.value = v.value;
            }
    auto option = [&](const char* name) {
        for (const NamedValue& o : options)
            if (o.name == name) return o.value;
        return std::string();
    };
    const std::string wantedLogic = option("logic");
    const std::string circuit = option("circuit");
    if (circuit != "normally-open" && circuit != "normally-closed")
        return "circuit: must be normally-open or normally-closed";
    change.optionTexts = {option("release-delay"), option("reactivation-delay"),
                          option("pulse-width"), circuit == "normally-open"};
    CAomSettings scratch(nullptr, {}, {}, false);
    if (const CheckResult r = ApplyAomOptionTexts(change.optionTexts, scratch)) return r->message;
    if (!IsLogicWord(wantedLogic)) return "logic: must be OR, AND, XOR or DONE";
    std::vector<ConditionRow> rows = want.rows;
    for (ConditionRow& r : rows) r.grouping = wantedLogic;
    // The page's checks, then every line of the output's write.
    if (const auto refusal = PlanOutputConditions(n, rows, units, change.plan))
        return refusal->message;
    // Compared as the module's values: what it holds goes back as its own text.
    OutputConditionPlan held;
    held.output = n;
    held.conditions = ConditionsFromRows(n, have.rows, units, held.logic);
    change.conditions = PlanLines(change.plan) != PlanLines(held);
    if (change.conditions) {
        plan.clearsLog = true;
        plan.lines.push_back(
            {ReviewLine::Conditions, prefix + "conditions", have.rows[0].grouping, wantedLogic});
        for (std::size_t r = 0; r < rows.size(); ++r)
            if (RowText(have.rows[r]) != RowText(rows[r]))
                plan.lines.push_back({ReviewLine::Row, prefix + FormatText("row %zu", r + 1),
                                      RowText(have.rows[r]), RowText(rows[r])});
    }
    if (change.options || change.conditions) plan.outputs.push_back(change);
    return std::nullopt;
}

}  // namespace

RestorePlan PlanRestore(const BackupContent& file, CliLogger& logger, const AomUnitSettings& units)
{
    RestorePlan plan;
    CLoggerSettings& record = *logger.record;
    // Every value is checked first, with the forms' rules.
    const NamedValues held = SettingsOf(record);
    const ModuleWritePlan heldPlan = WritePlanOf(record);
    const ApplyOutcome outcome = ApplySettings(record, file.settings);
    if (outcome.result != ApplyOutcome::Ok) {
        plan.refusals.push_back(outcome.message);
        plan.unknownSetting = outcome.result == ApplyOutcome::Usage;
    } else {
        plan.writes = ChangedWrites(outcome.plan, heldPlan);
        for (const NamedValue& v : file.settings) {
            const auto old = std::find_if(held.begin(), held.end(),
                                          [&](const NamedValue& h) { return h.name == v.name; });
            if (old != held.end() && old->value != v.value)
                plan.lines.push_back({ReviewLine::Setting, v.name, old->value, v.value});
        }
    }
    if (record.kind == LoggerAom)
        for (int n = 0; n < kAomOutputs; ++n) {
            const auto i = static_cast<std::size_t>(n);
            if (!file.outputs[i].present) continue;
            if (const auto refusal = PlanOutput(n, file.outputs[i], logger.outputs[i], units, plan))
                plan.refusals.push_back(FormatText("output %d: ", n + 1) + *refusal);
        }
    return plan;
}

std::string RestoreResult::WrittenText() const
{
    if (written.empty()) return {};
    std::string text = "Already written:";
    for (const std::string& w : written) text += " " + w + ";";
    return text;
}

RestoreResult WriteRestore(CLoggerSettings& record, const RestorePlan& plan, const StepReport& step)
{
    RestoreResult result;
    auto report = [&](const std::string& text) {
        if (step) step(text);  // a write in progress is not stopped halfway
    };
    auto failed = [&](const std::string& message) {
        result.ok = false;
        result.failure = message;
        return result;
    };
    if (!plan.writes.empty()) report("Writing the settings");
    const std::size_t done = SendModuleWrites(plan.writes);
    for (std::size_t i = 0; i < done; ++i)
        result.written.push_back(
            FormatText("parameter %d (%s)", plan.writes[i].parameter, plan.writes[i].argument.c_str()));
    if (done != plan.writes.size()) return failed(kLoggerWriteFailed);
    if (record.kind != LoggerAom) return result;
    auto& aom = static_cast<CAomSettings&>(record);
    for (const OutputChange& change : plan.outputs) {
        if (!change.options) continue;
        report(FormatText("Writing output %d options", change.output + 1));
        ApplyAomOptionTexts(change.optionTexts, aom);
        if (!WriteOutputOptions(aom, change.output)) return failed(kAomOptionsWriteFailed);
        result.written.push_back(FormatText("output %d options", change.output + 1));
    }
    if (plan.clearsLog) {
        report("Clearing the alarm log");
        if (!ClearAlarmLog()) return failed(kAlarmLogClearFailed);
        result.written.push_back("alarm log cleared");
    }
    for (const OutputChange& change : plan.outputs) {
        if (!change.conditions) continue;
        report(FormatText("Writing output %d conditions", change.output + 1));
        if (!WriteOutputConditions(aom, change.plan))
            return failed(FormatText(kSendFailed, change.output + 1));
        result.written.push_back(FormatText("output %d conditions", change.output + 1));
    }
    return result;
}
