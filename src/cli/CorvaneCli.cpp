#include "cli/CorvaneCli.h"

#include "aom/OutputTest.h"
#include "base/NumericText.h"
#include "cli/CliCommands.h"
#include "cli/CliSession.h"
#include "link/LinkTermios.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>

int RunCli(std::vector<std::string> args, std::ostream& out, std::ostream& err)
{
    CLI::App app{"corvane-cli: configure a Corvane Logger through the console's serial port, "
                 "from a terminal."};
    app.name("corvane-cli");
    app.set_version_flag("--version", std::string("corvane-cli ") + CORVANE_VERSION);
    app.require_subcommand(1);
    app.fallthrough();
    CliOptions o;
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
    for (const CLI::App* command : {ports, detect, show, set, backup, restore, alarmLog, relays, relay})
        if (command->parsed()) return RunCliCommand(command->get_name(), o, out, err);
    return kCliUsage;
}
