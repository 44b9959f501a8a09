#include "SimFaults.h"

#include "SimText.h"

const std::vector<SimFaultInfo>& SimFaultTable()
{
    static const std::vector<SimFaultInfo> table = {
        {SimFault::SilentConsole, "silent-console", nullptr, 0,
         "the console answers nothing at all (no wake-up, VER, EEBRD or module reply)"},
        {SimFault::NoLogger, "no-logger", nullptr, 0,
         "the console answers, but module lines get no reply (no logger plugged in)"},
        {SimFault::DropReplies, "drop-replies", "N", 1,
         "every Nth module reply is lost after the logger acted on the line (default 1: all)"},
        {SimFault::FfInReply, "ff-in-reply", nullptr, 0,
         "a byte 0xFF is sent after the first byte of every module reply"},
        {SimFault::LfWithoutCr, "lf-without-cr", nullptr, 0,
         "module replies end with LF alone, without the CR"},
        {SimFault::Garble, "garble", nullptr, 0,
         "every byte of a module reply's text has bit 0x20 flipped (\"OK\" arrives as \"ok\")"},
        {SimFault::NakEebrd, "nak-eebrd", nullptr, 0, "EEBRD is answered with NAK (0x15) alone"},
        {SimFault::BadCrc, "bad-crc", nullptr, 0,
         "the CRC after an EEBRD block has its low byte inverted"},
        {SimFault::ErrorSets, "error-sets", nullptr, 0,
         "every set and command answers \"ERR\" and changes nothing"},
        {SimFault::SlowReplies, "slow-replies", "MS", 1500,
         "module replies are sent MS milliseconds late (default 1500)"},
        {SimFault::Babble, "babble", nullptr, 0,
         "instead of a module reply, endless bytes without LF CR until the next byte arrives"},
        {SimFault::Hangup, "hangup", "N", 1,
         "after N more received bytes (default 1) the device hangs up once, as an unplugged "
         "adapter does; the link path then leads to a fresh device"},
    };
    return table;
}

const char* SimFaultName(SimFault fault)
{
    for (const SimFaultInfo& info : SimFaultTable())
        if (info.fault == fault) return info.name;
    return "?";
}

bool ParseSimFault(const std::string& text, SimFault& fault, int& argument, std::string& error)
{
    const auto eq = text.find('=');
    const std::string name = text.substr(0, eq);
    for (const SimFaultInfo& info : SimFaultTable()) {
        if (name != info.name) continue;
        if (eq == std::string::npos) {
            fault = info.fault;
            argument = info.defaultArgument;
            return true;
        }
        if (!info.argument) {
            error = "fault " + name + " takes no argument";
            return false;
        }
        int value = 0;
        const int least = info.fault == SimFault::SlowReplies ? 0 : 1;
        if (!SimParseInt(text.substr(eq + 1), value) || value < least) {
            error = "fault " + name + " needs a whole number of at least " + std::to_string(least) +
                    " after '='";
            return false;
        }
        fault = info.fault;
        argument = value;
        return true;
    }
    error = "unknown fault '" + name + "'";
    return false;
}
