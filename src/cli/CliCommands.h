#pragma once
// corvane-cli's commands behind its argument parsing: each reads, checks and
// writes through the same core as the forms and says what it did.
#include "aom/AlarmRowSummary.h"
#include "cli/CliLogger.h"
#include "cli/LoggerBackup.h"

#include <nlohmann/json.hpp>

#include <atomic>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using CliJson = nlohmann::ordered_json;
// A logger's text may hold bytes that are no UTF-8 (line noise, an old
// character set): each becomes U+FFFD instead of ending the program.
std::string JsonText(const CliJson& json);

// What the command line gave.
struct CliOptions {
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

// One run's commands over the options; each returns the exit code.
class CliCommand {
public:
    CliCommand(const CliOptions& options, std::ostream& out, std::ostream& err)
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

    const CliOptions& o_;
    std::ostream& out_;
    std::ostream& err_;
};

// Runs the command named as on the command line ("show", "restore", ...).
int RunCliCommand(const std::string& command, const CliOptions& options, std::ostream& out,
                  std::ostream& err);
