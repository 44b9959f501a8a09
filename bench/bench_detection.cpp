// Wall time of one detection run per logger kind through the real termios
// code against corvane-sim, next to its floor: 250 ms after every query, the
// 2 s rest after closing the port, and the bytes' time on the wire at the
// set speed (10 bits a byte, both directions).

#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "detect/LoggerDetection.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBaud = 19200;

struct Kind {
    SimKind sim;
    const char* name;
    std::vector<int> parameters;  // read after the identification, in order
};

}  // namespace

int main()
{
    UseCNumberRules();
    BenchWorkDir work(kBaud);
    const fs::path& dir = work.Dir();

    const std::vector<Kind> kinds{
        {SimKind::Aloha, "ALOHA", {1, 2}},
        {SimKind::Aprs, "APRS", {1, 12, 13, 14}},
        {SimKind::Irr, "IRR", {1, 8, 9, 10, 25, 26, 27, 3, 4, 5, 6, 7}},
        {SimKind::Aom, "AOM", {1, 24}},
    };

    std::printf("One detection run per kind at %d baud against corvane-sim (real pauses).\n"
                "A pty passes bytes at memory speed, so the wire part of the floor is what\n"
                "a real line would add; a ratio just below 1 is that saving.\n\n",
                kBaud);
    std::printf("%-6s %8s %10s %10s %7s\n", "kind", "queries", "wall ms", "floor ms", "ratio");

    int status = 0;
    for (const Kind& k : kinds) {
        SimOptions options = BenchSimOptions(k.sim, dir);
        CorvaneSim sim(options);
        if (!work.StartOnCom1(sim)) return 1;

        // Wake-up LF and its LF CR, then each line out and each reply with LF CR back.
        std::size_t bytes = 1 + 2 + ModuleQueryLine(0).size() + sim.Identification().size() + 2;
        for (int p : k.parameters) bytes += ModuleQueryLine(p).size() + sim.Param(p).size() + 2;
        const int queries = 1 + static_cast<int>(k.parameters.size());
        const double floorMs = queries * 250.0 + 2000.0 + bytes * 10 * 1000.0 / kBaud;

        const auto start = std::chrono::steady_clock::now();
        auto record = DetectAndReadLogger(nullptr);
        const double wallMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        sim.Stop();

        std::printf("%-6s %8d %10.1f %10.1f %7.3f%s\n", k.name, queries, wallMs, floorMs,
                    wallMs / floorMs, record ? "" : "  (no record)");
        if (!record) status = 1;
    }

    return status;
}
