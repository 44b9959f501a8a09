// How long the window goes without processing events while the program talks
// to the logger: one "Configure Corvane Logger" per logger kind (detection,
// the form's OK with the values read, the port's close and rest) and one
// against a silent console, against corvane-sim with the real pauses. Each
// runs twice: with every exchange on the UI thread (how the program first
// worked) and with the exchanges off the UI thread. Desktops offer to kill a
// window that has not answered for about 5 s. A third run, without the gap
// meter's timer, measures the CPU time the UI thread spends while it waits
// for the sequences, against their wall time.

#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "base/ui/QtNumberRules.h"
#include "shell/RegisterForms.h"
#include "shell/SetupCommands.h"
#include "base/ui/UiLinkRunner.h"
#include "base/UserMessages.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kBaud = 19200;

// Answers every message with OK at once.
class SilentMessages final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage&) override { return MsgAnswer::Ok; }
};

// The longest interval between two turns of the UI thread's event loop.
class GapMeter {
public:
    GapMeter()
    {
        timer_.setInterval(1);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Tick(); });
    }
    void Start()
    {
        longest_ = 0;
        clock_.start();
        timer_.start();
    }
    double StopMs()
    {
        Tick();
        timer_.stop();
        return longest_ / 1e6;
    }

private:
    void Tick()
    {
        longest_ = std::max(longest_, clock_.nsecsElapsed());
        clock_.restart();
    }
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 longest_ = 0;
};

double ThreadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// The UI thread's CPU and wall time inside the waits for sequences.
struct WaitCost {
    double cpuMs = 0;
    double wallMs = 0;
};

struct Case {
    const char* name;
    SimKind kind;
    std::optional<SimFault> fault;
};

}  // namespace

int main(int argc, char** argv)
{
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    BenchWorkDir work(kBaud, "AOM_FIRST_USE=1\n", true);
    const fs::path& dir = work.Dir();

    QApplication app(argc, argv);
    UseCNumberRulesInQt();
    InstallQtSeams();
    SilentMessages messages;
    SetUserMessages(&messages);
    RegisterAllForms();
    // A logger form is accepted with what it shows; other forms close.
    SetFormRunner([](QDialog& form) {
        for (QPushButton* b : form.findChildren<QPushButton*>())
            if (b->text() == "OK") {
                b->click();
                return form.result();
            }
        return int(QDialog::Rejected);
    });

    const std::vector<Case> cases{
        {"ALOHA", SimKind::Aloha, std::nullopt},
        {"APRS", SimKind::Aprs, std::nullopt},
        {"IRR", SimKind::Irr, std::nullopt},
        {"AOM", SimKind::Aom, std::nullopt},
        {"silent", SimKind::Aom, SimFault::SilentConsole},
    };

    std::printf("Configure Corvane Logger at %d baud against corvane-sim (real pauses),\n"
                "longest time the UI thread went without processing events.\n\n",
                kBaud);
    std::printf("%-8s %12s %16s %12s %16s %16s\n", "case", "on UI: wall", "on UI: gap ms", "off: wall",
                "off: gap ms", "off: wait cpu %");

    for (const Case& c : cases) {
        double wall[3] = {0, 0, 0};
        double gap[3] = {0, 0, 0};
        WaitCost wait;
        for (int run = 0; run < 3; ++run) {
            const bool offThread = run > 0;
            const bool metered = run < 2;
            SetLinkSequenceRunner(offThread ? LinkSequenceRunner([&](const std::function<void()>& sequence) {
                QElapsedTimer waited;
                waited.start();
                const double cpu = ThreadCpuMs();
                RunSequenceKeepingUiAlive(sequence);
                if (run == 2 && QThread::currentThread() == qApp->thread()) {
                    wait.cpuMs += ThreadCpuMs() - cpu;
                    wait.wallMs += waited.nsecsElapsed() / 1e6;
                }
            })
                                            : LinkSequenceRunner{});
            SimOptions options = BenchSimOptions(c.kind, dir);
            if (c.fault) options.faults.emplace_back(*c.fault, 0);
            CorvaneSim sim(options);
            if (!work.StartOnCom1(sim)) return 1;

            GapMeter meter;
            QElapsedTimer clock;
            QTimer::singleShot(0, [&] {
                if (metered) meter.Start();
                clock.start();
                ConfigureLogger(nullptr);
                wall[run] = clock.nsecsElapsed() / 1e6;
                gap[run] = metered ? meter.StopMs() : 0;
                QApplication::quit();
            });
            QApplication::exec();
            sim.Stop();
        }
        std::printf("%-8s %12.0f %16.1f %12.0f %16.1f %16.3f\n", c.name, wall[0], gap[0], wall[1], gap[1],
                    wait.wallMs > 0 ? 100 * wait.cpuMs / wait.wallMs : 0.0);
    }

    return 0;
}
