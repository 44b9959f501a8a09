// corvane-cli's words: a "set" list of NAME=VALUE words (one a line) for a
// logger of the kind the first byte picks, applied with the forms' checks;
// when they pass, the writes go to the simulated logger, which must take
// them. Also the option words of an output (release-delay, reactivation-
// delay, pulse-width) and the units line of a backup.
#include "aom/AomCommands.h"
#include "aom/AomModuleChecks.h"
#include "cli/BackupFile.h"
#include "cli/CliLogger.h"
#include "FuzzSupport.h"
#include "link/SerialLink.h"

namespace {

constexpr SimKind kKinds[] = {SimKind::Aloha, SimKind::Aprs, SimKind::Irr, SimKind::Aom};

void OutputOptions(const std::vector<std::string>& words)
{
    CAomSettings record(nullptr, "AOM     100", "60", true);
    AomOptionTexts texts{words.size() > 0 ? words[0] : "", words.size() > 1 ? words[1] : "",
                         words.size() > 2 ? words[2] : "", words.size() % 2 == 0};
    if (ApplyAomOptionTexts(texts, record)) return;
    SimBackedLink link(SimKind::Aom);
    if (LinkOpen(1, 19200) != 0) return;
    WriteOutputOptions(record, 0);
    LinkClose();
    if (!link.RefusedSets().empty())
        FuzzFinding("options passed the form, the module refuses \"" + link.RefusedSets().front() + "\"");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    const SimKind kind = kKinds[input.Pick(4)];
    std::vector<std::string> words;
    NamedValues changes;
    while (!input.Empty() && words.size() < 16) {
        words.push_back(input.Line());
        const auto equals = words.back().find('=');
        if (equals != std::string::npos && equals != 0)
            changes.push_back({words.back().substr(0, equals), words.back().substr(equals + 1)});
    }
    if (!words.empty()) ParseUnits(words.front());
    OutputOptions(words);

    const ApplyOutcome outcome = ApplySettings(*SimLoggerRecord(kind), changes);
    if (outcome.result != ApplyOutcome::Ok) {
        if (outcome.message.empty()) FuzzFinding("a refusal without a message");
        return 0;
    }
    if (const auto line = FirstRefusedWrite(kind, outcome.plan))
        FuzzFinding("set passed the checks, the logger refuses \"" + *line + "\"");
    return 0;
}
