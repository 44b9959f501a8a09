#pragma once
// The logger half of the simulator: reads one module line ("MOD" and a
// parameter number, then the operation's layout) and answers it from the
// state, the way a logger of the given kind does.

#include "SimState.h"

#include <string>

enum class SimLineForm {
    Query,      // "MODnn |", "MODnn arg |"; bare "MOD00", "MOD21"; "MOD22 i"
    Set,        // "MODnn arg"
    Command,    // bare "MOD23"
    Malformed,  // anything else, and operations the parameter does not have
};

struct SimModuleReply {
    std::string text;  // without the LF CR that ends it on the wire
    SimLineForm form = SimLineForm::Malformed;
    bool changed = false;  // the state was changed
};

// The reply of every refused line: it holds no "OK".
inline constexpr const char* kSimErrorReply = "ERR";

class SimLogger {
public:
    SimLogger(SimKind kind, int firmware);

    // line is the module line without its line feed. With refuseSets every
    // set and command answers the error line and changes nothing.
    SimModuleReply Handle(const std::string& line, SimState& state, bool refuseSets = false) const;

    // The kind word left-justified in 8 columns, then the firmware number in
    // three digits, so the number sits at positions 8-10 ("IRR     202").
    std::string Identification() const;

    SimKind Kind() const { return kind_; }

private:
    SimKind kind_;
    int firmware_;
};

// Module codes of the alarm parameters and what the module accepts for them.
bool SimIsModuleCode(int code);
// Whether a condition on the code may use the check type.
bool SimCheckAllowed(int code, int check);
// The subtraction group 1-4 of a code, 0 for none.
int SimMinusGroup(int code);
// Whether value (in the module's form) fits the code's parameter.
bool SimValueAllowed(int code, int value);
