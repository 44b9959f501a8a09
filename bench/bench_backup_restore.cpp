// Wall time of Back Up Logger Settings and Restore Logger Settings from the
// window against corvane-sim's sample alarm output module, through the real
// termios code, next to the floor: the pauses the sequences ask for (250 ms
// after each query, the 2 s rest after each close, the module's pauses while
// writing) and the bytes' time on the wire (10 bits a byte: the lines sent,
// LF CR for a wake-up, a reply's line ending). The restore puts back a
// changed pulse width and one output's conditions. Also the longest time the
// window's event loop went without running a 5 ms timer while the logger was
// being talked to (how long it froze), and apart from that the longest the
// window's own work took (building the file dialog and the review).

#include "BenchSupport.h"
#include "shell/CMainFrame.h"
#include "CorvaneSim.h"
#include "base/ui/FormSupport.h"
#include "base/Pause.h"
#include "base/ui/UiLinkRunner.h"
#include "base/UserMessages.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileDialog>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr int kBaud = 19200;

class AnswerOk final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage& m) override
    {
        last = m.text;
        return MsgAnswer::Ok;
    }
    std::string last;
};

struct Run {
    double wallMs = 0, pausedMs = 0, wireMs = 0, longestGapMs = 0, uiWorkMs = 0;
    int lines = 0;
};

// Picks the menu item and measures it to the end, the window's loop running.
Run Measure(CMainFrame& frame, CorvaneSim& sim, const QString& item)
{
    Run run;
    sim.ClearReceived();
    RealPauses pauses;
    QElapsedTimer clock;
    clock.start();
    qint64 lastTick = 0;
    bool wasRunning = false;
    QTimer tick;
    tick.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tick, &QTimer::timeout, [&] {
        const qint64 now = clock.nsecsElapsed();
        // Only while the logger is being talked to: building a file dialog
        // or the review is the window's own work, not a wait on the link.
        const bool running = LinkSequenceRunning();
        double& longest = running && wasRunning ? run.longestGapMs : run.uiWorkMs;
        longest = std::max(longest, (now - lastTick) / 1e6);
        lastTick = now;
        wasRunning = running;
    });
    QEventLoop loop;
    QTimer::singleShot(20, [&] {
        const auto start = std::chrono::steady_clock::now();
        for (QAction* action : frame.findChildren<QAction*>())
            if (action->text() == item) action->trigger();
        run.wallMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
    });
    lastTick = clock.nsecsElapsed();
    tick.start(5);
    loop.exec();
    run.pausedMs = pauses.TotalMs();
    run.wireMs = WireMs(sim.ReceivedLines(), kBaud, run.lines);
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchWorkDir work(kBaud);
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    CorvaneSim sim(BenchSimOptions(SimKind::Aom, work.Dir()));
    if (!work.StartOnCom1(sim)) return 1;

    int status = 0;
    {
        QApplication app(argc, argv);
        InstallQtSeams();
        AnswerOk answers;
        SetUserMessages(&answers);
        const QString file = QString::fromStdString((work.Dir() / "backup.txt").string());
        const FormRunner previousRunner = SetFormRunner([&](QDialog& dlg) {
            if (auto* files = qobject_cast<QFileDialog*>(&dlg)) files->selectFile(file);
            dlg.accept();
            return int(QDialog::Accepted);
        });
        CMainFrame frame;
        frame.show();

        std::printf("Back up and restore of corvane-sim's sample alarm output module from the\n"
                    "window at %d baud (real pauses). Floor: the pauses asked for plus the wire\n"
                    "time; a pty passes bytes at memory speed, so a ratio just below 1 is that\n"
                    "saving. Longest gap: the longest the window went without handling events.\n\n",
                    kBaud);
        std::printf("%-8s %6s %10s %10s %10s %10s %7s %14s %12s\n", "command", "lines", "paused ms",
                    "wire ms", "floor ms", "wall ms", "ratio", "longest gap ms", "ui work ms");
        auto print = [&](const char* name, const Run& r, bool done) {
            const double floorMs = r.pausedMs + r.wireMs;
            std::printf("%-8s %6d %10.1f %10.1f %10.1f %10.1f %7.3f %14.1f %12.1f%s\n", name, r.lines,
                        r.pausedMs, r.wireMs, floorMs, r.wallMs, floorMs > 0 ? r.wallMs / floorMs : 0.0,
                        r.longestGapMs, r.uiWorkMs,
                        done ? "" : ("  (" + answers.last + ")").c_str());
            if (!done) status = 1;
        };
        const Run backup = Measure(frame, sim, "&Back Up Logger Settings...");
        print("backup", backup, answers.last.rfind("Backup of the AOM logger written to ", 0) == 0);
        sim.UpdateState([](SimState& s) {
            s.outputs[1].pulseWidth = 500;
            s.outputs[3].conditions.resize(1);
        });
        const Run restore = Measure(frame, sim, "&Restore Logger Settings...");
        print("restore", restore, answers.last == "The logger now holds the configuration in backup.txt.");
        SetFormRunner(previousRunner);
        SetUserMessages(nullptr);
    }
    sim.Stop();
    return status;
}
