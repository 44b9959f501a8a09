#include "SimOracle.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomCommands.h"
#include "link/ModuleCommands.h"

#include <cstdio>
#include <cstdlib>

static bool Confirmed(const SimModuleReply& reply) { return reply.text.find("OK") != std::string::npos; }

static std::optional<std::string> FirstRefusedLine(SimKind kind, const std::vector<std::string>& lines)
{
    const SimLogger logger(kind, SimDefaultFirmware(kind));
    SimState held = SimState::Defaults(kind);
    for (const std::string& line : lines)
        if (!Confirmed(logger.Handle(line, held))) return line;
    return std::nullopt;
}

std::optional<std::string> FirstRefusedWrite(SimKind kind, const ModuleWritePlan& plan)
{
    std::vector<std::string> lines;
    for (const ModuleWrite& w : plan) lines.push_back(ModuleSetLine(w.parameter, w.argument));
    for (std::string& line : lines) line.pop_back();  // the line feed
    return FirstRefusedLine(kind, lines);
}

std::optional<std::string> FirstRefusedRows(int output, const std::vector<ConditionRow>& rows,
                                            const AomUnitSettings& units)
{
    if (ValidateConditionRows(rows, units)) return std::nullopt;
    int logic = 0;
    std::vector<std::string> lines{"MOD15 " + std::to_string(output)};
    for (const AomCondition& c : ConditionsFromRows(output, rows, units, logic)) {
        if (c.parameter == kMissingSensor) continue;
        lines.push_back("MOD16 " + ConditionHead(output, c));
        lines.push_back("MOD17 " + ConditionValues(output, c));
    }
    lines.push_back("MOD18 " + std::to_string(output) + " " + std::to_string(logic));
    return FirstRefusedLine(SimKind::Aom, lines);
}

SimBackedLink::SimBackedLink(SimKind kind) : logger_(kind, SimDefaultFirmware(kind)), state_(SimState::Defaults(kind))
{
    RespondWith([this](const std::string& line) -> std::optional<std::string> {
        if (line == "\n") return std::string("\n\r");
        if (line.rfind("MOD", 0) != 0) return std::nullopt;
        const SimModuleReply reply = logger_.Handle(line.substr(0, line.size() - 1), state_);
        if ((reply.form == SimLineForm::Set || reply.form == SimLineForm::Command) && !Confirmed(reply))
            refused_.push_back(line);
        return reply.text + "\n\r";
    });
}

void FuzzFinding(const std::string& what)
{
    std::fprintf(stderr, "fuzz finding: %s\n", FakeLink::Escape(what).c_str());
    std::fflush(stderr);
    std::abort();
}
