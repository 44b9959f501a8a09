// A backup file: read, written again and read back to the same content, and
// the writes a restore would send, judged by the simulated logger. Also a
// value as a logger might answer it (the first line): when the file can hold
// it, it must come back unchanged.
#include "cli/BackupFile.h"
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
    SimKind kind = SimKind::Aom;
    for (const SimKind k : {SimKind::Aloha, SimKind::Aprs, SimKind::Irr})
        if (content.kind == SimKindWord(k)) kind = k;
    const auto record = SimLoggerRecord(kind);
    // A restore applies the file's values as they are.
    const ApplyOutcome outcome = ApplySettings(*record, content.settings);
    if (outcome.result == ApplyOutcome::Ok)
        if (const auto line = FirstRefusedWrite(kind, outcome.plan))
            FuzzFinding("a restore would send \"" + *line + "\", which the logger refuses");
    if (kind != SimKind::Aom) return;
    const AomUnitSettings units =
        content.units.value_or(AomUnitSettings{UnitFahrenheit, UnitInch, UnitMph, UnitInch});
    for (int n = 0; n < kAomOutputs; ++n) {
        const BackupOutput& out = content.outputs[static_cast<std::size_t>(n)];
        if (const auto line = out.present ? FirstRefusedRows(n, out.rows, units) : std::nullopt)
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
