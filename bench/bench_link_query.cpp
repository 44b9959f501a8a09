// How long one module query takes through the real termios code against
// corvane-sim on a pty, at each console speed, next to its floor: the 250 ms
// pause after the query plus the bytes' time on the wire (10 bits a byte,
// both directions). The ratio shows the link's own overhead.

#include "link/ConsoleLink.h"
#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"
#include "link/SerialLink.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kSamples = 5;
constexpr int kParameter = 1;

double MedianMs(std::vector<double> samples)
{
    std::sort(samples.begin(), samples.end());
    const std::size_t n = samples.size();
    return n % 2 ? samples[n / 2] : (samples[n / 2 - 1] + samples[n / 2]) / 2;
}

}  // namespace

int main()
{
    UseCNumberRules();
    BenchWorkDir work(19200);
    const fs::path& dir = work.Dir();

    SimOptions options = BenchSimOptions(SimKind::Aom, dir);
    CorvaneSim sim(options);
    if (!work.StartOnCom1(sim)) return 1;

    const std::size_t queryBytes = ModuleQueryLine(kParameter).size();
    const std::size_t replyBytes = sim.Param(kParameter).size() + 2;  // the value, LF CR

    std::printf("Module query of parameter %d through the termios link against corvane-sim,\n"
                "median of %d samples per speed (%zu bytes out, %zu back).\n"
                "A pty has no line speed of its own: bytes pass at memory speed whatever\n"
                "the port is set to, so the floor counts them at the set speed as a real\n"
                "serial line would, and a ratio below 1 is the wire time a pty saves.\n\n",
                kParameter, kSamples, queryBytes, replyBytes);
    std::printf("%7s  %10s  %9s  %6s  %14s\n", "speed", "median ms", "floor ms", "ratio",
                "beyond pause");

    int status = 0;
    for (int baud : {1200, 2400, 4800, 9600, 14400, 19200}) {
        if (LinkOpen(1, baud) != 0) {
            std::printf("%7d  could not open the port\n", baud);
            status = 1;
            continue;
        }
        LinkFlush();
        WakeConsoleQuick();
        std::vector<double> samples;
        bool ok = true;
        for (int i = 0; i < kSamples; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const int sent = ModuleQuery(kParameter);
            const std::string reply = ModuleReadLine();
            const auto end = std::chrono::steady_clock::now();
            if (sent != 0 || reply != sim.Param(kParameter)) ok = false;
            samples.push_back(std::chrono::duration<double, std::milli>(end - start).count());
        }
        LinkClose();
        const double median = MedianMs(samples);
        const double floorMs = 250.0 + static_cast<double>((queryBytes + replyBytes) * 10) * 1000.0 / baud;
        std::printf("%7d  %10.1f  %9.1f  %6.2f  %11.2f ms%s\n", baud, median, floorMs,
                    median / floorMs, median - 250.0, ok ? "" : "  (wrong reply)");
        if (!ok) status = 1;
    }

    sim.Stop();
    return status;
}
