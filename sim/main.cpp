// corvane-sim: the simulated console and logger on a pty, until SIGINT or SIGTERM.

#include "base/NumericText.h"
#include "SimCommandLine.h"

#include <csignal>
#include <cstdio>
#include <exception>
#include <string>
#include <vector>

int main(int argc, char** argv)
{
    UseCNumberRules();
    std::vector<std::string> args(argv + 1, argv + argc);
    SimCommandLine line;
    std::string error;
    if (!ParseSimCommandLine(args, line, error)) {
        std::fprintf(stderr, "corvane-sim: %s\n\n%s", error.c_str(), SimUsage().c_str());
        return 2;
    }
    if (line.help) {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }

    // Blocked before the serving thread starts, so only sigwait sees them.
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    sigaddset(&signals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);

    CorvaneSim sim(line.options);
    std::string device;
    try {
        device = sim.Start();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "corvane-sim: %s\n", e.what());
        return 1;
    }
    for (const std::string& w : sim.Warnings()) std::fprintf(stderr, "corvane-sim: %s\n", w.c_str());
    std::printf("ready %s\n", device.c_str());
    std::fflush(stdout);

    int received = 0;
    sigwait(&signals, &received);
    sim.Stop();
    for (const std::string& w : sim.Warnings()) std::fprintf(stderr, "corvane-sim: %s\n", w.c_str());
    return 0;
}
