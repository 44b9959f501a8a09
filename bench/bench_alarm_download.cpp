// Wall time per record of the alarm log download through the real termios
// code against corvane-sim, next to its floor: the 250 ms the module needs
// after every record query, plus the bytes' time on the wire at the set
// speed (10 bits a byte, both directions). The clock stops at "Download
// Complete!", before the pause that lets the user read it.

#include "aom/AlarmDownload.h"
#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "link/ModuleCommands.h"
#include "link/SerialLink.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBaud = 19200;
constexpr double kQueryPauseMs = 250.0;

std::vector<SimAlarmRecord> Records(int count)
{
    std::vector<SimAlarmRecord> records;
    for (int i = 0; i < count; ++i)
        records.push_back(EncodeAlarmRecord(i % 4, i % 2 == 0, 1 << (i % 8), 1 + i % 12,
                                            1 + i % 28, i % 24, i % 60, (7 * i) % 60));
    return records;
}

ConditionRowSummaries Rows()
{
    ConditionRowSummaries rows;
    for (int output = 0; output < 4; ++output)
        for (int row = 0; row < 8; ++row)
            rows.insert({output, {"Parameter " + std::to_string(row + 1), 1, "OR", "", "", ""}});
    return rows;
}

}  // namespace

int main()
{
    // The day's file is written in the working directory.
    BenchWorkDir work(kBaud, "", true);
    const fs::path& dir = work.Dir();

    std::printf("Alarm log download at %d baud against corvane-sim (real pauses).\n"
                "A pty passes bytes at memory speed, so the wire part of the floor is what\n"
                "a real line would add; a ratio just below 1 is that saving.\n\n",
                kBaud);
    std::printf("%8s %10s %14s %14s %7s\n", "records", "wall ms", "ms per record",
                "floor/record", "ratio");

    int status = 0;
    const ConditionRowSummaries rows = Rows();
    for (int count : {6, 100}) {
        SimOptions options = BenchSimOptions(SimKind::Aom, dir);
        SimState state = SimState::Defaults(SimKind::Aom);
        state.alarms = Records(count);
        options.state = state;
        CorvaneSim sim(options);
        if (!work.StartOnCom1(sim)) return 1;
        if (LinkOpen(1, kBaud) != 0) {
            std::fprintf(stderr, "cannot open the simulator's port\n");
            return 1;
        }

        // Per record: the wake-up LF and its LF CR, the query, the reply with LF CR.
        std::size_t bytes = 0;
        for (int i = 0; i < count; ++i) {
            const SimAlarmRecord& r = state.alarms[static_cast<std::size_t>(i)];
            bytes += 1 + 2 + ModuleQueryArgLine(22, std::to_string(i)).size() +
                     std::to_string(r.n1).size() + std::to_string(r.n2).size() +
                     std::to_string(r.n3).size() + 2 + 2;
        }
        const double floorMs = count * kQueryPauseMs + bytes * 10 * 1000.0 / kBaud;

        const std::atomic<bool> cancel{false};
        const auto start = std::chrono::steady_clock::now();
        double wallMs = 0;
        AlarmDownloadHooks hooks;
        hooks.status = [&](const std::string& text) {
            if (text == kDownloadComplete)
                wallMs = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - start)
                             .count();
        };
        const AlarmDownloadResult result = DownloadAlarmLog(count, rows, cancel, LocalNow(), hooks);
        LinkClose();
        sim.Stop();

        const bool complete = result.end == DownloadEnd::Complete;
        std::printf("%8d %10.1f %14.1f %14.1f %7.3f%s\n", count, wallMs, wallMs / count,
                    floorMs / count, wallMs / floorMs, complete ? "" : "  (incomplete)");
        if (!complete) status = 1;
    }

    return status;
}
