#pragma once
// The simulated logger as the judge of what the program sends: "would the
// logger take this?" answered by the simulator's own command handling, in
// process. Fuzz targets treat a refusal of something the program's checks
// passed as a finding.
//
//   SimBackedLink link(SimKind::Aom);     // a FakeLink whose logger is the simulator
//   auto record = DetectAndReadLogger(nullptr);
//   if (auto line = FirstRefusedWrite(SimKind::Aom, plan)) ...  // the line refused

#include "aom/AomConditionTable.h"
#include "FakeLink.h"
#include "loggers/ModuleWritePlan.h"
#include "SimLogger.h"

#include <optional>
#include <string>
#include <vector>

// A form's write sequence sent in order to a logger of kind fresh from the
// box: the first line (without its line feed) whose reply holds no "OK",
// nullopt when every one was taken.
std::optional<std::string> FirstRefusedWrite(SimKind kind, const ModuleWritePlan& plan);

// The same for the lines an output's conditions page sends for rows the
// page's checks pass (conditions on a sensor the station lacks are skipped);
// nullopt too when the page refuses the rows.
std::optional<std::string> FirstRefusedRows(int output, const std::vector<ConditionRow>& rows,
                                            const AomUnitSettings& units);

// A scripted port whose console answers a wake-up line feed with LF CR and
// whose logger is the simulator's: "MOD" lines are answered from state as
// the simulated logger of kind answers them. Fixed Respond rules still come
// first. Sets and commands the logger refused are kept.
class SimBackedLink : public FakeLink {
public:
    explicit SimBackedLink(SimKind kind);
    // Read after the code under test has finished with the link.
    const std::vector<std::string>& RefusedSets() const { return refused_; }

private:
    SimLogger logger_;
    SimState state_;
    std::vector<std::string> refused_;
};

// A fuzz target's finding: what went wrong, then abort so the fuzzer keeps
// the input as a crasher.
[[noreturn]] void FuzzFinding(const std::string& what);
