#include "cli/CliCommands.h"

#include "cli/CorvaneCli.h"

#include "aom/AlarmDownload.h"
#include "aom/AlarmParameterTable.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionRows.h"
#include "aom/AomConditionTable.h"
#include "aom/AomModuleChecks.h"
#include "aom/AomSettings.h"
#include "aom/AomStation.h"
#include "aom/AomUnits.h"
#include "cli/BackupFile.h"
#include "cli/CliLogger.h"
#include "cli/CliSession.h"
#include "cli/LoggerBackup.h"
#include "settings/DBConfigParser.h"
#include "loggers/FirmwareLink.h"
#include "link/LinkChoice.h"
#include "link/LinkTermios.h"
#include "detect/LoggerDetection.h"
#include "base/NumericText.h"
#include "aom/OutputTest.h"
#include "base/Pause.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <atomic>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

std::string JsonText(const CliJson& json)
{
    return json.dump(2, ' ', false, CliJson::error_handler_t::replace);
}



std::unique_ptr<CliLogger> CliCommand::Read(bool withOutputs, const AomUnitSettings& units,
                                         RowValues values, bool extraSensors)
{
    LoggerRead read = ReadLogger(nullptr, withOutputs, units, values, extraSensors);
    if (read.logger) return std::move(read.logger);
    if (!read.message.empty()) {
        err_ << read.message << "\n";
        if (!read.details.empty()) err_ << read.details << "\n";
        return nullptr;
    }
    const std::string reply = LastIdentificationReply();
    if (!reply.empty() && !NamesLoggerKind(reply))
        err_ << "The logger answered \"" << reply << "\", which names no known kind.\n";
    return nullptr;
}

bool CliCommand::Open()
{
    if (OpenLink(ChosenPort(), ChosenBaud()) == 0) return true;
    err_ << kNoLoggerFound << "\n" << LastPortFailureDetails() << "\n";
    return false;
}

std::filesystem::path CliCommand::CallerPath(const std::string& name) const
{
    if (name.empty()) return {};
    return o_.callerDir / name;  // an absolute name stays as it is
}

const CAomSettings* CliCommand::RequireAom(const CliLogger& logger)
{
    if (logger.record->kind == LoggerAom) return static_cast<const CAomSettings*>(logger.record.get());
    err_ << "This command needs an alarm output module; the logger is "
         << KindWord(logger.record->kind) << ".\n";
    return nullptr;
}

int CliCommand::Written(const RestoreResult& result)
{
    if (result.ok) {
        for (const std::string& w : result.written) out_ << "written: " << w << "\n";
        return kCliDone;
    }
    err_ << result.failure << "\n";
    if (result.written.empty()) return kCliLinkFailed;
    err_ << result.WrittenText() << "\n";
    return kCliPartWrite;
}

int CliCommand::Ports()
{
    DBConfigParser& settings = Settings();
    const int baud = ChosenBaud();
    for (int port = 1; port <= 8; ++port) {
        const std::string device = settings.GetValue(FormatText(key::ComDeviceFormat, port));
        out_ << "COM" << port << "  " << (device.empty() ? "(no device)" : device) << "  ";
        if (LinkOpen(port, baud) == 0) {
            LinkClose();
            out_ << "opens\n";
            continue;
        }
        std::string details = LastPortFailureDetails();
        std::replace(details.begin(), details.end(), '\n', ' ');
        out_ << "does not open: " << details << "\n";
    }
    return kCliDone;
}

int CliCommand::Detect()
{
    DBConfigParser& settings = Settings();
    if (o_.scan) {
        if (ScanPorts(ChosenBaud()) == 0) {
            err_ << kNoLoggerFound << "\n";
            return kCliLinkFailed;
        }
        // The port found is stored and used from here on.
        SetLinkChoiceOverride(0, o_.baud);
    }
    const auto logger = Read(false, AomUnits());
    if (!logger) return kCliLinkFailed;
    const CLoggerSettings& record = *logger->record;
    const int port = ChosenPort();
    const CliJson json = {
        {"kind", KindWord(record.kind)},
        {"identification", record.identification},
        {"logger-type", FormatIdentification(record.identification)},
        {"firmware", IrrigationFirmware(record.identification)},
        {"port", FormatText("COM%d", port)},
        {"device", settings.GetValue(FormatText(key::ComDeviceFormat, port))},
        {"speed", ChosenBaud()},
    };
    if (o_.json) {
        out_ << JsonText(json) << "\n";
        return kCliDone;
    }
    for (const auto& [name, value] : json.items())
        out_ << name << ": " << (value.is_string() ? value.get<std::string>() : value.dump()) << "\n";
    return kCliDone;
}

static CliJson ContentJson(const BackupContent& content, const std::string& identification)
{
    CliJson json = {{"kind", content.kind}, {"identification", identification}};
    CliJson settings = CliJson::object();
    for (const NamedValue& v : content.settings) settings[v.name] = v.value;
    json["settings"] = settings;
    if (content.units) json["units"] = FormatUnits(*content.units);
    CliJson outputs = CliJson::array();
    for (const BackupOutput& out : content.outputs) {
        if (!out.present) continue;
        CliJson o = CliJson::object();
        for (const NamedValue& v : out.options) o[v.name] = v.value;
        CliJson rows = CliJson::array();
        for (const ConditionRowSummary& r : out.rows) {
            if (r.parameter.empty()) continue;
            rows.push_back({{"parameter", r.parameter},
                            {"check", CheckTypeText(r.checkType)},
                            {"value1", r.value1},
                            {"value2", r.value2},
                            {"minutes", r.minutes}});
        }
        o["conditions"] = rows;
        outputs.push_back(o);
    }
    if (!outputs.empty()) json["outputs"] = outputs;
    return json;
}

int CliCommand::Show()
{
    LoadAomUnitSettings();
    const AomUnitSettings units = AomUnits();
    const auto logger = Read(true, units);
    if (!logger) return kCliLinkFailed;
    const BackupContent content = BackupContentOf(*logger, units);
    if (const std::string why = UnwritableText(content); !o_.json && !why.empty()) {
        err_ << why << "\n";
        return kCliLinkFailed;
    }
    if (o_.json)
        out_ << JsonText(ContentJson(content, logger->record->identification)) << "\n";
    else
        out_ << FormatBackup(content, {"Logger Type: " +
                                       FormatIdentification(logger->record->identification)});
    return kCliDone;
}

// NAME=VALUE words; false (usage) for a word without "=".
static bool ParseAssignments(const std::vector<std::string>& words, NamedValues& values,
                      std::ostream& err)
{
    for (const std::string& word : words) {
        const auto equals = word.find('=');
        if (equals == std::string::npos || equals == 0) {
            err << "Expected NAME=VALUE, not \"" << word << "\"\n";
            return false;
        }
        const std::string name = word.substr(0, equals);
        // Which of two values was meant is not for the program to guess.
        if (std::any_of(values.begin(), values.end(), [&](const NamedValue& v) { return v.name == name; })) {
            err << name << " is given twice\n";
            return false;
        }
        values.push_back({name, word.substr(equals + 1)});
    }
    return true;
}

int CliCommand::Set()
{
    NamedValues changes;
    if (!ParseAssignments(o_.assignments, changes, err_)) return kCliUsage;
    const auto logger = Read(false, AomUnits());
    if (!logger) return kCliLinkFailed;
    const ApplyOutcome outcome = ApplySettings(*logger->record, changes);
    if (outcome.result != ApplyOutcome::Ok) {
        err_ << outcome.message << "\n";
        return outcome.result == ApplyOutcome::Usage ? kCliUsage : kCliRefused;
    }
    StoreLocalSettings(*logger->record);
    if (!Open()) return kCliLinkFailed;
    RestorePlan plan;
    plan.writes = outcome.plan;
    const RestoreResult result = WriteRestore(*logger->record, plan);
    LinkClose();
    return Written(result);
}

// Why path cannot be written, empty when it can (as far as can be told
// without creating it).
static std::string UnwritableReason(const std::filesystem::path& path)
{
    std::error_code ec;
    if (std::filesystem::is_directory(path, ec)) return std::strerror(EISDIR);
    const bool exists = std::filesystem::exists(path, ec);
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    if (::access(exists ? path.c_str() : folder.c_str(), exists ? W_OK : W_OK | X_OK) != 0)
        return std::strerror(errno);
    return {};
}

int CliCommand::Backup()
{
    // Said before the logger is read, not after.
    if (const std::string why = UnwritableReason(CallerPath(o_.file)); !why.empty()) {
        err_ << "Cannot write " << o_.file << ": " << why << "\n";
        return kCliUsage;
    }
    LoadAomUnitSettings();
    // Values at the module's own resolution: restored, they give its very text.
    const auto logger = Read(true, kModuleUnits, RowValues::Exact);
    if (!logger) return kCliLinkFailed;
    std::string error;
    const std::string text = BackupText(*logger, "corvane-cli backup", error);
    if (text.empty()) {
        err_ << error << "\n";
        return kCliLinkFailed;
    }
    errno = 0;
    std::ofstream file(CallerPath(o_.file), std::ios::binary | std::ios::trunc);
    file << text;
    file.close();
    if (!file) {
        err_ << "Could not write " << o_.file << ": " << std::strerror(errno ? errno : EIO) << "\n";
        return kCliPartWrite;
    }
    out_ << "Backup of the " << KindWord(logger->record->kind) << " logger written to " << o_.file
         << "\n";
    return kCliDone;
}

int CliCommand::Restore()
{
    const std::filesystem::path path = CallerPath(o_.file);
    std::ifstream in(path);
    std::error_code ec;
    if (!in || std::filesystem::is_directory(path, ec)) {
        err_ << "Cannot read " << o_.file
             << (std::filesystem::is_directory(path, ec) ? ": it is a folder" : "") << "\n";
        return kCliUsage;
    }
    std::string error;
    const std::optional<BackupContent> file = ParseBackup(in, error);
    if (!file) {
        err_ << o_.file << ": " << error << "\n";
        return kCliUsage;
    }
    const AomUnitSettings units = file->units.value_or(kModuleUnits);
    const auto logger = Read(true, units, RowValues::Shown, NamesExtraSensor(*file));
    if (!logger) return kCliLinkFailed;
    if (const std::string other = OtherKindText(*file, *logger->record); !other.empty()) {
        err_ << o_.file << " " << other << "\n";
        return kCliRefused;
    }
    const RestorePlan plan = PlanRestore(*file, *logger, units);
    if (!plan.refusals.empty()) {
        for (const std::string& refusal : plan.refusals) err_ << o_.file << ": " << refusal << "\n";
        return plan.unknownSetting ? kCliUsage : kCliRefused;
    }
    for (const ReviewLine& line : plan.lines) {
        if (line.kind == ReviewLine::Setting)
            out_ << line.setting << ":  " << line.held << "  ->  " << line.wanted << "\n";
        else if (line.kind == ReviewLine::Conditions)
            out_ << line.setting << " (logic " << line.held << "  ->  " << line.wanted << "):\n";
        else
            out_ << "  " << line.setting.substr(line.setting.find("row")) << ":  " << line.held
                 << "  ->  " << line.wanted << "\n";
    }
    CLoggerSettings& record = *logger->record;
    if (plan.NothingToWrite()) {
        out_ << "The logger already holds this configuration; nothing to write.\n";
        // The rain unit lives in config.txt, not in the logger.
        if (!o_.dryRun) StoreLocalSettings(record);
        return kCliDone;
    }
    if (plan.clearsLog) err_ << kClearWarning << "\n";
    if (o_.dryRun) {
        out_ << "Dry run: nothing written.\n";
        return kCliDone;
    }
    if (plan.clearsLog && !o_.yes) {
        err_ << "Give --yes to write the conditions and clear the alarm log.\n";
        return kCliRefused;
    }
    StoreLocalSettings(record);
    if (!Open()) return kCliLinkFailed;
    const RestoreResult result = WriteRestore(record, plan);
    LinkClose();
    return Written(result);
}

int RunCliCommand(const std::string& name, const CliOptions& options, std::ostream& out,
                  std::ostream& err)
{
    CliCommand command(options, out, err);
    if (name == "ports") return command.Ports();
    if (name == "detect") return command.Detect();
    if (name == "show") return command.Show();
    if (name == "set") return command.Set();
    if (name == "backup") return command.Backup();
    if (name == "restore") return command.Restore();
    if (name == "alarm-log") return command.AlarmLog();
    if (name == "relays") return command.Relays();
    if (name == "relay") return command.Relay();
    return kCliUsage;
}
