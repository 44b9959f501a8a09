#include "SimCommandLine.h"

#include "SimText.h"

namespace {

bool NeedValue(const std::vector<std::string>& args, std::size_t& i, std::string& value, std::string& error)
{
    const std::string& option = args[i];
    if (i + 1 >= args.size()) {
        error = option + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool NeedNumber(const std::vector<std::string>& args, std::size_t& i, int least, int most, int& number,
                std::string& error)
{
    const std::string option = args[i];
    std::string value;
    if (!NeedValue(args, i, value, error)) return false;
    if (!SimParseInt(value, number) || number < least || number > most) {
        error = option + " needs a whole number from " + std::to_string(least) + " to " +
                std::to_string(most) + ", not '" + value + "'";
        return false;
    }
    return true;
}

}  // namespace

bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line, std::string& error)
{
    SimOptions& o = line.options;
    bool kindGiven = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == "--help" || a == "-h") {
            line.help = true;
            return true;
        } else if (a == "--kind") {
            if (!NeedValue(args, i, value, error)) return false;
            if (!ParseSimKind(value, o.kind)) {
                error = "--kind must be aloha, aprs, irr, aom or none, not '" + value + "'";
                return false;
            }
            kindGiven = true;
        } else if (a == "--link") {
            if (!NeedValue(args, i, o.linkPath, error)) return false;
        } else if (a == "--firmware") {
            if (!NeedNumber(args, i, 0, 999, o.firmware, error)) return false;
        } else if (a == "--firmware-date") {
            if (!NeedValue(args, i, value, error)) return false;
            if (value.size() > 11) {
                error = "--firmware-date takes at most 11 characters (\"Mmm dd yyyy\"), not '" + value + "'";
                return false;
            }
            o.firmwareDate = value;
        } else if (a == "--state") {
            if (!NeedValue(args, i, o.stateFile, error)) return false;
        } else if (a == "--transcript") {
            if (!NeedValue(args, i, o.transcriptFile, error)) return false;
        } else if (a == "--wake-delay-ms") {
            if (!NeedNumber(args, i, 0, 60000, o.wakeDelayMs, error)) return false;
        } else if (a == "--sleep-after-ms") {
            if (!NeedNumber(args, i, 0, 3600000, o.sleepAfterMs, error)) return false;
        } else if (a == "--fault") {
            if (!NeedValue(args, i, value, error)) return false;
            SimFault fault;
            int argument = 0;
            if (!ParseSimFault(value, fault, argument, error)) return false;
            o.faults.emplace_back(fault, argument);
        } else {
            error = "unknown option '" + a + "'";
            return false;
        }
    }
    if (!kindGiven) {
        error = "--kind is required";
        return false;
    }
    if (o.linkPath.empty()) {
        error = "--link is required";
        return false;
    }
    return true;
}

std::string SimUsage()
{
    std::string text =
        "Usage: corvane-sim --kind aloha|aprs|irr|aom|none --link PATH [options]\n"
        "\n"
        "Simulates a Tarrow weather console with a Corvane Logger on a pseudo-terminal.\n"
        "PATH becomes a symbolic link to the terminal's device; point COMn_DEVICE in\n"
        "config.txt at it. Prints \"ready PATH\" once it listens and runs until SIGINT or\n"
        "SIGTERM, then removes PATH.\n"
        "\n"
        "Options:\n"
        "  --kind KIND            logger kind: aloha, aprs, irr (irrigation), aom (alarm\n"
        "                         output module), or none (a console without a logger)\n"
        "  --link PATH            where to make the link to the device\n"
        "  --firmware NNN         firmware number of the identification line, 0-999\n"
        "                         (default: irr 202, the others 100; irr 201 is too old\n"
        "                         for the program)\n"
        "  --firmware-date TEXT   console firmware date answered to VER, \"Mmm dd yyyy\",\n"
        "                         at most 11 characters (default \"Sep 29 2009\")\n"
        "  --state FILE           logger state (key=value text), read at start when it\n"
        "                         exists and rewritten after every change\n"
        "  --transcript FILE      append every byte both ways, time-stamped, one line\n"
        "                         per chunk: \"> \" received, \"< \" sent, \"- \" notes\n"
        "  --wake-delay-ms N      time a sleeping console takes to answer its first line\n"
        "                         feed (default 10); longer than the program's read\n"
        "                         time-out, it makes the first wake-up attempts fail\n"
        "  --sleep-after-ms N     idle time after which the console sleeps again\n"
        "                         (default 2000; 0: never)\n"
        "  --fault NAME[=ARG]     play a device fault; may be repeated:\n";
    constexpr std::size_t kIndent = 25, kWidth = 79;
    for (const SimFaultInfo& f : SimFaultTable()) {
        std::string line = std::string("    ") + f.name + (f.argument ? std::string("[=") + f.argument + "]" : "");
        if (line.size() < kIndent) line.resize(kIndent, ' ');
        else line += "\n" + std::string(kIndent, ' ');
        std::size_t column = kIndent;
        for (const std::string& word : SimSplit(f.help, ' ')) {
            if (column > kIndent && column + 1 + word.size() > kWidth) {
                line += "\n" + std::string(kIndent, ' ');
                column = kIndent;
            } else if (column > kIndent) {
                line += ' ';
                ++column;
            }
            line += word;
            column += word.size();
        }
        text += line + "\n";
    }
    text += "  --help                 this text\n";
    return text;
}
