#pragma once
// The simulated logger as the judge of what the program sends: "would the
// logger take this?" answered by the simulator's own command handling, in
// process. Fuzz targets treat a refusal of something the program's checks
// passed as a finding.
//
//   SimBackedLink link(SimKind::Aom);     // a FakeLink whose logger is the simulator
//   auto record = DetectAndReadLogger(nullptr);
//   if (auto line = FirstRefusedWrite(SimKind::Aom, plan)) ...  // the line refused

#include "FakeLink.h"
#include "ModuleWritePlan.h"
#include "SimLogger.h"

#include <optional>
#include <string>
#include <vector>

// Lines without their line feed, sent in order to a logger of kind holding
// state: the first one whose reply holds no "OK", nullopt when every one
// was taken.
// A logger fresh from the box when no state is given.
std::optional<std::string> FirstRefusedLine(SimKind kind, const std::vector<std::string>& lines,
                                            std::optional<SimState> state = std::nullopt);
// The same for a form's write sequence.
std::optional<std::string> FirstRefusedWrite(SimKind kind, const ModuleWritePlan& plan);

// The lines that send an output's conditions and logic, as the conditions
// page sends them (conditions on a sensor the station lacks are skipped).
struct AomCondition;
std::vector<std::string> OutputConditionLines(int output, const std::vector<AomCondition>& conditions,
                                              int logic);

// A scripted port whose console answers a wake-up line feed with LF CR and
// whose logger is the simulator's: "MOD" lines are answered from state as
// the simulated logger of kind answers them. Fixed Respond rules still come
// first. Sets and commands the logger refused are kept.
class SimBackedLink : public FakeLink {
public:
    explicit SimBackedLink(SimKind kind);
    SimBackedLink(SimKind kind, SimState state);
    // Read after the code under test has finished with the link.
    const SimState& State() const { return state_; }
    const std::vector<std::string>& RefusedSets() const { return refused_; }

private:
    SimLogger logger_;
    SimState state_;
    std::vector<std::string> refused_;
};

// A fuzz target's finding: what went wrong, then abort so the fuzzer keeps
// the input as a crasher.
[[noreturn]] void FuzzFinding(const std::string& what);
