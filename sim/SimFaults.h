#pragma once
// The device faults the simulator can play, for tests of the link and the
// forms. Each is selected by name on the command line ("--fault NAME[=ARG]")
// or set and cleared at run time through CorvaneSim.

#include <map>
#include <string>
#include <vector>

enum class SimFault {
    SilentConsole,  // nothing answers anything
    NoLogger,       // the console answers, module lines get no reply
    DropReplies,    // ARG N: every Nth module reply is lost (1: all)
    FfInReply,      // a 0xFF byte after the first byte of every module reply
    LfWithoutCr,    // module replies end with LF alone
    Garble,         // the text of every module reply is corrupted
    NakEebrd,       // EEBRD is answered with NAK (0x15) alone
    BadCrc,         // the CRC after an EEBRD block is wrong
    ErrorSets,      // every set and command answers "ERR"
    SlowReplies,    // ARG MS: module replies come MS milliseconds late
    Babble,         // endless bytes without LF CR instead of a module reply
    Hangup,         // ARG N: the device hangs up once after N more bytes
};

struct SimFaultInfo {
    SimFault fault;
    const char* name;
    const char* argument;  // nullptr: takes none
    int defaultArgument;
    const char* help;
};

const std::vector<SimFaultInfo>& SimFaultTable();
const char* SimFaultName(SimFault fault);

// "NAME" or "NAME=ARG" -> fault and argument; false with a reason otherwise.
bool ParseSimFault(const std::string& text, SimFault& fault, int& argument, std::string& error);

using SimFaultSet = std::map<SimFault, int>;
