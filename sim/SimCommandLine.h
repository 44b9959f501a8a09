#pragma once
// The command line of corvane-sim.

#include "CorvaneSim.h"

#include <string>
#include <vector>

struct SimCommandLine {
    SimOptions options;
    bool help = false;
};

// args without the program name. False with a reason in error.
bool ParseSimCommandLine(const std::vector<std::string>& args, SimCommandLine& line, std::string& error);

// The --help text: every option and every fault.
std::string SimUsage();
