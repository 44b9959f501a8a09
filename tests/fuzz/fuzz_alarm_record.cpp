// Replies of the alarm log: the first line is an output's condition reply
// (naming the events), the second the record count, the next up to eight
// record replies. Each record is decoded, dated and written as a file
// entry; then the count and records go through the download loop over a
// scripted port (at most sixteen records asked for).
#include "aom/AlarmDownload.h"
#include "aom/AomConditionTable.h"
#include "FuzzSupport.h"

#include "link/SerialLink.h"

#include <algorithm>
#include <atomic>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSetUp();
    FuzzInput input(data, size);
    const AomUnitSettings units{input.Byte() & 1 ? UnitFahrenheit : UnitCelsius, UnitInch, UnitMph,
                                UnitInch};
    std::tm now{};
    now.tm_year = 100 + input.Pick(60);
    now.tm_mon = input.Pick(12);
    now.tm_mday = 1 + input.Pick(28);
    const std::vector<ConditionRow> page = ConditionRowsFromReply(input.Line(), 1, units);
    ConditionRowSummaries rows;
    for (int output = 0; output < 4; ++output)
        for (const ConditionRow& row : page) rows.emplace(output, row);

    const std::string countReply = input.Line();
    std::vector<std::string> replies;
    while (!input.Empty() && replies.size() < 8) replies.push_back(input.Line());
    for (const std::string& reply : replies) {
        const std::optional<AlarmRecord> record = ParseAlarmRecordReply(reply);
        if (record) AlarmEntryText(*record, EventConditionText(*record, rows), EventDateText(*record, now));
    }

    FakeLink link;
    link.Respond("\n", "\n\r");
    link.Respond("MOD21\n", countReply + "\n\r");
    for (std::size_t i = 0; i < replies.size(); ++i)
        link.Respond("MOD22 " + std::to_string(i) + "\n", replies[i] + "\n\r");
    std::atomic<bool> cancel{false};
    if (LinkOpen(1, 19200) != 0) return 0;
    if (const std::optional<int> count = GetAlarmRecordCount())
        DownloadAlarmLog(std::clamp(*count, 0, 16), rows, cancel, now, {});
    LinkClose();
    return 0;
}
