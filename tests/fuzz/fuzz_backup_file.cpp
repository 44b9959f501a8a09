// A backup file: read, written again and read back to the same content, and
// the writes a restore would send, judged by the simulated logger. Also a
// value as a logger might answer it (the first line): when the file can hold
// it, it must come back unchanged.
#include "AomConditionTable.h"
#include "BackupFile.h"
#include "FuzzSupport.h"

#include <sstream>

namespace {

// The content read back from its own file, written again: the same text
// when nothing was lost or changed on the way.
void ReadsBack(const BackupContent& content)
{
    const std::string text = FormatBackup(content, {"Logger Type: fuzz"});
    std::istringstream in(text);
    std::string error;
    const auto again = ParseBackup(in, error);
    if (!again) FuzzFinding("a written backup is refused: " + error);
    if (FormatBackup(*again, {"Logger Type: fuzz"}) != text) FuzzFinding("a backup read back differs");
}

void JudgeRestore(const BackupContent& content)
{
    const SimKind kind = content.kind == "ALOHA" ? SimKind::Aloha
                         : content.kind == "APRS" ? SimKind::Aprs
                         : content.kind == "IRR"  ? SimKind::Irr
                                                  : SimKind::Aom;
    const auto record = SimLoggerRecord(kind);
    if (!record) FuzzFinding("the simulated logger was not read");
    NamedValues wanted;
    for (const NamedValue& v : content.settings)
        if (!IsReadOnlySetting(v.name)) wanted.push_back(v);
    const ApplyOutcome outcome = ApplySettings(*record, wanted);
    if (outcome.result == ApplyOutcome::Ok)
        if (const auto line = FirstRefusedWrite(kind, outcome.plan))
            FuzzFinding("a restore would send \"" + *line + "\", which the logger refuses");
    if (kind != SimKind::Aom) return;
    const AomUnitSettings units =
        content.units.value_or(AomUnitSettings{UnitFahrenheit, UnitInch, UnitMph, UnitInch});
    for (int n = 0; n < kAomOutputs; ++n) {
        const BackupOutput& out = content.outputs[static_cast<std::size_t>(n)];
        if (!out.present || ValidateConditionRows(out.rows, units)) continue;
        int logic = 0;
        const auto conditions = ConditionsFromRows(n, out.rows, units, logic);
        if (const auto line = FirstRefusedLine(SimKind::Aom, OutputConditionLines(n, conditions, logic)))
            FuzzFinding("a restore would send \"" + *line + "\", which the module refuses");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    BackupContent reply;
    reply.kind = "APRS";
    reply.settings = {{"position", input.Line()}};
    if (UnwritableSetting(reply).empty()) ReadsBack(reply);

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const auto content = ParseBackup(in, error);
    if (!content) {
        if (error.empty()) FuzzFinding("a file refused without a reason");
        return 0;
    }
    if (!UnwritableSetting(*content).empty()) FuzzFinding("a value read from a file cannot be written back");
    ReadsBack(*content);
    JudgeRestore(*content);
    return 0;
}
