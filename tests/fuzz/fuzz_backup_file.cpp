// A backup file: read, written again and read back to the same content, and
// the writes a restore would send, judged by the simulated logger. Also a
// value as a logger might answer it (the first line): when the file can hold
// it, it must come back unchanged.
#include "AomConditionTable.h"
#include "BackupFile.h"
#include "FuzzSupport.h"

#include <sstream>

namespace {

bool SameRows(const std::vector<ConditionRowSummary>& a, const std::vector<ConditionRowSummary>& b)
{
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].parameter != b[i].parameter || a[i].checkType != b[i].checkType ||
            a[i].value1 != b[i].value1 || a[i].value2 != b[i].value2 || a[i].minutes != b[i].minutes)
            return false;
    return true;
}

bool SameContent(const BackupContent& a, const BackupContent& b)
{
    if (a.kind != b.kind || a.settings != b.settings || a.units.has_value() != b.units.has_value())
        return false;
    if (a.units && FormatUnits(*a.units) != FormatUnits(*b.units)) return false;
    for (std::size_t n = 0; n < a.outputs.size(); ++n) {
        const BackupOutput& x = a.outputs[n];
        const BackupOutput& y = b.outputs[n];
        if (x.present != y.present || x.options != y.options || !SameRows(x.rows, y.rows)) return false;
    }
    return true;
}

BackupContent ReadBack(const BackupContent& content)
{
    std::istringstream in(FormatBackup(content, {"Logger Type: fuzz"}));
    std::string error;
    const auto again = ParseBackup(in, error);
    if (!again) FuzzFinding("a written backup is refused: " + error);
    return *again;
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
    if (UnwritableSetting(reply).empty() && !SameContent(ReadBack(reply), reply))
        FuzzFinding("a value the file can hold came back changed");

    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    std::string error;
    const auto content = ParseBackup(in, error);
    if (!content) {
        if (error.empty()) FuzzFinding("a file refused without a reason");
        return 0;
    }
    if (!UnwritableSetting(*content).empty()) FuzzFinding("a value read from a file cannot be written back");
    if (!SameContent(ReadBack(*content), *content)) FuzzFinding("a backup read back differs");
    JudgeRestore(*content);
    return 0;
}
