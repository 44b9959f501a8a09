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
#include "link/detect/LoggerDetection.h"
#include "base/NumericText.h"
#include "aom/OutputTest.h"
#include "base/Pause.h"
#include "link/PortFailure.h"
#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"

#include <CLI/CLI.hpp>
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

namespace {

using Json = nlohmann::ordered_json;

// A logger's text may hold bytes that are no UTF-8 (line noise, an old
// character set): each becomes U+FFFD instead of ending the program.
std::string JsonText(const Json& json)
{
    return json.dump(2, ' ', false, Json::error_handler_t::replace);
}

struct Options {
    std::string dir;
    int port = 0;
    int baud = 0;
    std::string transcript;
    bool json = false;
    bool scan = false;
    std::vector<std::string> assignments;
    std::string file;
    bool dryRun = false;
    bool yes = false;
    std::string output;
    bool clear = false;
    int relay = 0;
    std::string position;
    // Where the command was started: names on the command line are the
    // caller's, though the run works in the settings' folder.
    std::filesystem::path callerDir;
};

class Command {
public:
    Command(const Options& options, std::ostream& out, std::ostream& err)
        : o_(options), out_(out), err_(err) {}

    int Ports();
    int Detect();
    int Show();
    int Set();
    int Backup();
    int Restore();
    int AlarmLog();
    int Relays();
    int Relay();

private:
    // Detects the logger and reads its settings (an alarm output module's
    // outputs too when withOutputs), rows in units. Null after telling why.
    std::unique_ptr<CliLogger> Read(bool withOutputs, const AomUnitSettings& units,
                                    RowValues values = RowValues::Shown, bool extraSensors = false);
    bool Open();
    // What went; after a failed write the form's message, then what went
    // before it.
    int Written(const RestoreResult& result);
    const CAomSettings* RequireAom(const CliLogger& logger);
    int DownloadAndClear(const ConditionRowSummaries& rows, const std::atomic<bool>& stop);
    // A file named on the command line, relative to the caller's folder.
    std::filesystem::path CallerPath(const std::string& name) const;

    const Options& o_;
    std::ostream& out_;
    std::ostream& err_;
};

std::unique_ptr<CliLogger> Command::Read(bool withOutputs, const AomUnitSettings& units,
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

bool Command::Open()
{
    if (OpenLink(ChosenPort(), ChosenBaud()) == 0) return true;
    err_ << kNoLoggerFound << "\n" << LastPortFailureDetails() << "\n";
    return false;
}

std::filesystem::path Command::CallerPath(const std::string& name) const
{
    if (name.empty()) return {};
    return o_.callerDir / name;  // an absolute name stays as it is
}

const CAomSettings* Command::RequireAom(const CliLogger& logger)
{
    if (logger.record->kind == LoggerAom) return static_cast<const CAomSettings*>(logger.record.get());
    err_ << "This command needs an alarm output module; the logger is "
         << KindWord(logger.record->kind) << ".\n";
    return nullptr;
}

int Command::Written(const RestoreResult& result)
{
    if (result.ok) {
        for (const std::string& w : result.written) out_ << "written: " << w << "\n";
        return kCliDone;
    }
    err_ << result.failure << "\n";
    if (result.written.empty()) return kCliLinkFailed;
    err_ << "Already written:";
    for (const std::string& w : result.written) err_ << " " << w << ";";
    err_ << "\n";
    return kCliPartWrite;
}

int Command::Ports()
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

int Command::Detect()
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
    const Json json = {
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

Json ContentJson(const BackupContent& content, const std::string& identification)
{
    Json json = {{"kind", content.kind}, {"identification", identification}};
    Json settings = Json::object();
    for (const NamedValue& v : content.settings) settings[v.name] = v.value;
    json["settings"] = settings;
    if (content.units) json["units"] = FormatUnits(*content.units);
    Json outputs = Json::array();
    for (const BackupOutput& out : content.outputs) {
        if (!out.present) continue;
        Json o = Json::object();
        for (const NamedValue& v : out.options) o[v.name] = v.value;
        Json rows = Json::array();
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

int Command::Show()
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
bool ParseAssignments(const std::vector<std::string>& words, NamedValues& values,
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

int Command::Set()
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
std::string UnwritableReason(const std::filesystem::path& path)
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

int Command::Backup()
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

int Command::Restore()
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

// Ctrl-C (or a TERM) during a download stops it between two records: the
// entries read so far stay in their file and the log is not cleared.
class StopOnSignals {
public:
    StopOnSignals()
    {
        Flag().store(false);
        struct sigaction action {};
        action.sa_handler = &StopOnSignals::Handle;
        sigemptyset(&action.sa_mask);
        action.sa_flags = SA_RESTART;
        sigaction(SIGINT, &action, &oldInt_);
        sigaction(SIGTERM, &action, &oldTerm_);
    }
    ~StopOnSignals()
    {
        sigaction(SIGINT, &oldInt_, nullptr);
        sigaction(SIGTERM, &oldTerm_, nullptr);
    }
    StopOnSignals(const StopOnSignals&) = delete;
    StopOnSignals& operator=(const StopOnSignals&) = delete;
    static std::atomic<bool>& Flag()
    {
        static std::atomic<bool> stop{false};
        return stop;
    }

private:
    static void Handle(int) { Flag().store(true); }
    struct sigaction oldInt_ {};
    struct sigaction oldTerm_ {};
};
static_assert(std::atomic<bool>::is_always_lock_free, "set from a signal handler");

int Command::AlarmLog()
{
    LoadAomUnitSettings();
    const auto logger = Read(true, AomUnits());
    if (!logger) return kCliLinkFailed;
    if (!RequireAom(*logger)) return kCliLinkFailed;
    ConditionRowSummaries rows;
    for (int n = 0; n < kAomOutputs; ++n)
        for (const ConditionRowSummary& row : logger->outputs[static_cast<std::size_t>(n)].rows)
            rows.emplace(n, row);
    const StopOnSignals signals;
    const std::atomic<bool>& stop = StopOnSignals::Flag();
    if (!Open()) return kCliLinkFailed;
    const int code = DownloadAndClear(rows, stop);
    LinkClose();
    return code;
}

int Command::DownloadAndClear(const ConditionRowSummaries& rows, const std::atomic<bool>& stop)
{
    const std::optional<int> count = GetAlarmRecordCount();
    if (!count) {
        // Not "no records": an unread count must never let --clear go ahead.
        err_ << kAlarmCountUnreadable << "\n";
        return kCliLinkFailed;
    }
    if (*count == 0) {
        err_ << kNoAlarmRecords << "\n";
    } else {
        AlarmDownloadHooks hooks;
        hooks.progress = [&](int done) {
            err_ << "\r" << DownloadingText(done, *count) << std::flush;
        };
        // The file is written where asked, so the day's file (perhaps the
        // desktop's earlier download) stays as it is.
        const AlarmDownloadResult result =
            DownloadAlarmLog(*count, rows, stop, LocalNow(), hooks, CallerPath(o_.output));
        err_ << "\n";
        switch (result.end) {
        case DownloadEnd::Complete: break;
        case DownloadEnd::FileFailed:
            err_ << AlarmFileFailedText(result) << "\n";
            return kCliPartWrite;
        case DownloadEnd::ReadFailed:
            err_ << AlarmDownloadStoppedText(result) << "\n";
            return kCliLinkFailed;
        case DownloadEnd::Cancelled:
            err_ << AlarmDownloadStoppedText(result) << "\n";
            return kCliInterrupted;
        }
        err_ << kDownloadComplete << "\n";
        out_ << result.path << "\n";
    }
    if (!o_.clear) return kCliDone;
    if (stop.load()) {
        err_ << "Interrupted: the alarm log was not cleared.\n";
        return kCliInterrupted;
    }
    // An event logged while the records were read is in no file yet.
    const std::optional<int> now = GetAlarmRecordCount();
    if (now != count) {
        err_ << (now ? FormatText("The module now holds %d alarm records, not %d; ", *now, *count)
                     : std::string(kAlarmCountUnreadable) + "\n")
             << "the alarm log was not cleared.\n";
        return kCliLinkFailed;
    }
    const bool cleared = ClearAlarmLog();
    err_ << (cleared ? kLogsCleared : kLogsClearFailed) << "\n";
    return cleared ? kCliDone : kCliLinkFailed;
}

const char* PositionWord(int state)
{
    return state == 1 ? "closed" : state == 0 ? "open" : "unknown";
}

int Command::Relays()
{
    const auto logger = Read(false, AomUnits());
    if (!logger || !RequireAom(*logger)) return kCliLinkFailed;
    if (!Open()) return kCliLinkFailed;
    const std::optional<RelayPositions> positions = ReadRelayPositions();
    LinkClose();
    if (!positions) {
        err_ << kNoLoggerFound << "\n";
        return kCliLinkFailed;
    }
    Json json = Json::object();
    for (int n = 0; n < kRelayCount; ++n)
        json[FormatText("output %d", n + 1)] = PositionWord((*positions)[static_cast<std::size_t>(n)]);
    if (o_.json) {
        out_ << JsonText(json) << "\n";
    } else {
        for (const auto& [name, value] : json.items())
            out_ << name << ": " << value.get<std::string>() << "\n";
    }
    return kCliDone;
}

int Command::Relay()
{
    const auto logger = Read(false, AomUnits());
    if (!logger || !RequireAom(*logger)) return kCliLinkFailed;
    if (!Open()) return kCliLinkFailed;
    const int state = o_.position == "closed" ? 1 : 0;
    SetOutputState(o_.relay - 1, state);
    const int now = ReadOutputState(o_.relay - 1);
    LinkClose();
    // The module settles after the last write before the port is used again.
    PauseMs(kAfterOutputTestMs);
    if (now != state) {
        err_ << FormatText("Output %d did not change to %s.", o_.relay, o_.position.c_str()) << "\n";
        return kCliLinkFailed;
    }
    out_ << FormatText("output %d: %s", o_.relay, PositionWord(now)) << "\n";
    return kCliDone;
}

}  // namespace

int RunCli(std::vector<std::string> args, std::ostream& out, std::ostream& err)
{
    CLI::App app{"corvane-cli: configure a Corvane Logger through the console's serial port, "
                 "from a terminal."};
    app.name("corvane-cli");
    app.set_version_flag("--version", std::string("corvane-cli ") + CORVANE_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    Options o;
    app.add_option("--dir", o.dir, "working directory holding config.txt");
    app.add_option("--port", o.port, "COM port number 1-8 (instead of SERIAL_PORT)")
        ->check(CLI::Range(1, 8));
    app.add_option("--baud", o.baud, "link speed (instead of BAUD_RATE)")
        ->check(CLI::Validator(
            [](std::string& text) -> std::string {
                const std::optional<int> baud = WholeNumberRule(text);
                if (baud && IsLinkSpeed(*baud)) return {};
                return "must be one of the console's speeds: 1200, 2400, 4800, 9600, 14400, 19200";
            },
            "SPEED"));
    app.add_option("--transcript", o.transcript, "write every byte both ways, time-stamped, to FILE");

    auto* ports = app.add_subcommand("ports", "COM1-COM8, their devices and whether they open");
    auto* detect = app.add_subcommand("detect", "find the logger: kind, identification, firmware, port");
    detect->add_flag("--scan", o.scan, "try COM1-COM8 and store the port that answers");
    detect->add_flag("--json", o.json, "print JSON");
    auto* show = app.add_subcommand("show", "every setting of the logger, as its form shows it");
    show->add_flag("--json", o.json, "print JSON");
    auto* set = app.add_subcommand("set", "change settings, checked as the forms check them");
    set->add_option("NAME=VALUE", o.assignments, "settings to change (names as show prints them)")
        ->required();
    auto* backup = app.add_subcommand("backup", "write the logger's whole configuration to FILE");
    backup->add_option("FILE", o.file, "backup file")->required();
    auto* restore = app.add_subcommand("restore", "write back what FILE holds and the logger does not");
    restore->add_option("FILE", o.file, "backup file")->required();
    restore->add_flag("--dry-run", o.dryRun, "only print what would change");
    restore->add_flag("--yes", o.yes, "go ahead although the alarm log is cleared");
    auto* alarmLog = app.add_subcommand("alarm-log", "download the alarm log of an alarm output module");
    alarmLog->add_option("--output", o.output, "file to write instead of the day's file");
    alarmLog->add_flag("--clear", o.clear, "clear the module's alarm log (after any download)");
    auto* relays = app.add_subcommand("relays", "the positions of the four relays");
    relays->add_flag("--json", o.json, "print JSON");
    auto* relay = app.add_subcommand("relay", "set a relay: relay N open|closed");
    relay->add_option("N", o.relay, "output 1-4")->required()->check(CLI::Range(1, kRelayCount));
    relay->add_option("POSITION", o.position, "open or closed")
        ->required()
        ->check(CLI::IsMember({"open", "closed"}));

    // A command word that names no command is said as such, not as a
    // missing one.
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& word = args[i];
        if (word == "--dir" || word == "--port" || word == "--baud" || word == "--transcript") {
            ++i;
            continue;
        }
        if (word.starts_with("-")) continue;
        const std::vector<CLI::App*> commands = app.get_subcommands({});
        if (std::any_of(commands.begin(), commands.end(),
                        [&](const CLI::App* c) { return c->get_name() == word; }))
            break;
        std::string names;
        for (const CLI::App* c : commands) names += (names.empty() ? "" : ", ") + c->get_name();
        err << "Unknown command \"" << word << "\"; commands: " << names << "\n";
        return kCliUsage;
    }
    std::reverse(args.begin(), args.end());
    try {
        app.parse(args);
    } catch (const CLI::ParseError& e) {
        const int code = app.exit(e, out, err);
        return code == 0 ? kCliDone : kCliUsage;
    }

    std::error_code ec;
    o.callerDir = std::filesystem::current_path(ec);
    const std::string transcript = o.transcript.empty() ? "" : (o.callerDir / o.transcript).string();
    CliSession session(o.dir, o.port, o.baud, transcript, err);
    if (!session.Ready()) return kCliUsage;
    Command command(o, out, err);
    if (ports->parsed()) return command.Ports();
    if (detect->parsed()) return command.Detect();
    if (show->parsed()) return command.Show();
    if (set->parsed()) return command.Set();
    if (backup->parsed()) return command.Backup();
    if (restore->parsed()) return command.Restore();
    if (alarmLog->parsed()) return command.AlarmLog();
    if (relays->parsed()) return command.Relays();
    if (relay->parsed()) return command.Relay();
    return kCliUsage;
}
