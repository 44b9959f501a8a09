// One reply of the condition query as the module might send it, with the
// display units, the station's accessories and the console's transmitter
// list taken from the first bytes: the page's rows, the page's checks, and
// when they pass, the lines OK would send, judged by the simulated module.
#include "aom/AlarmParameterTable.h"
#include "aom/AomConditionTable.h"
#include "aom/AomStation.h"
#include "FuzzSupport.h"
#include "settings/SettingsKeys.h"

namespace {

void StationFrom(FuzzInput& input)
{
    static constexpr const char* kConfigs[] = {"", "1$", "2$3$4$", "-1$5$6$7$8$9$"};
    static int held = -1;
    const int pick = input.Pick(4);
    if (pick != held) Settings().SetValue(key::AomStationConfig, kConfigs[pick]);
    held = pick;
    std::uint8_t block[kTransmitterBlockSize];
    for (std::uint8_t& b : block) b = input.Byte();
    ConsoleTransmitters().Decode(block);
    RebuildExtraSensorCodes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    const AomUnitSettings units = UnitsFrom(input.Byte());
    StationFrom(input);
    const int logic = input.Pick(3);
    const int output = input.Pick(4);
    const std::string reply = input.Line();

    const std::vector<ConditionRow> rows = ConditionRowsFromReply(reply, logic, units);
    if (rows.size() != kConditionRows) FuzzFinding("a page without eight rows");
    if (const auto line = FirstRefusedRows(output, rows, units))
        FuzzFinding("reply \"" + reply + "\" loads rows whose \"" + *line + "\" the module refuses");
    return 0;
}
