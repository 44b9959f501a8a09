// How long the window goes without processing events while the program talks
// to the logger: one "Configure Corvane Logger" per logger kind (detection,
// the form's OK with the values read, the port's close and rest) and one
// against a silent console, against corvane-sim with the real pauses. Each
// runs twice: with every exchange on the UI thread (how the program first
// worked) and with the exchanges off the UI thread. Desktops offer to kill a
// window that has not answered for about 5 s.

#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "DBConfigParser.h"
#include "EventLog.h"
#include "FormSupport.h"
#include "LinkSequence.h"
#include "QtNumberRules.h"
#include "RegisterForms.h"
#include "SetupCommands.h"
#include "UiLinkRunner.h"
#include "UserMessages.h"

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTimer>

#include <algorithm>
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
    std::printf("%-8s %12s %16s %12s %16s\n", "case", "on UI: wall", "on UI: gap ms", "off: wall",
                "off: gap ms");

    for (const Case& c : cases) {
        double wall[2] = {0, 0};
        double gap[2] = {0, 0};
        for (int offThread = 0; offThread < 2; ++offThread) {
            SetLinkSequenceRunner(offThread ? LinkSequenceRunner(RunSequenceKeepingUiAlive)
                                            : LinkSequenceRunner{});
            SimOptions options = BenchSimOptions(c.kind, dir);
            if (c.fault) options.faults.emplace_back(*c.fault, 0);
            CorvaneSim sim(options);
            if (!work.StartOnCom1(sim)) return 1;

            GapMeter meter;
            QElapsedTimer clock;
            QTimer::singleShot(0, [&] {
                meter.Start();
                clock.start();
                ConfigureLogger(nullptr);
                wall[offThread] = clock.nsecsElapsed() / 1e6;
                gap[offThread] = meter.StopMs();
                QApplication::quit();
            });
            QApplication::exec();
            sim.Stop();
        }
        std::printf("%-8s %12.0f %16.1f %12.0f %16.1f\n", c.name, wall[0], gap[0], wall[1], gap[1]);
    }

    return 0;
}
