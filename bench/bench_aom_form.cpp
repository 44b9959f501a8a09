// Wall time of the "Alarm Output Module" form's OK through the real termios
// code against corvane-sim, with one and with four outputs changed, next to
// its floor: the pauses the sequence asks for (1000 ms after clearing an
// output and again after each applied page, 100 ms after each condition
// line and after the logic, 250 ms after any query), and the bytes' time on
// the wire (10 bits a byte: the lines sent, LF CR for a wake-up, "OK" LF CR
// for each write). Also the longest time the window's event loop went
// without running a 5 ms timer during OK: how long the window stood frozen.

#include "aom/AomSettings.h"
#include "aom/ui/CAomConditionsPage.h"
#include "aom/ui/CAomDlg.h"
#include "aom/ui/CAomOutputTabCtrl.h"
#include "BenchSupport.h"
#include "CorvaneSim.h"
#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "base/ui/FormSupport.h"
#include "base/NumericText.h"
#include "base/Pause.h"
#include "link/SerialLink.h"
#include "base/UserMessages.h"

#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

namespace fs = std::filesystem;

namespace {

constexpr int kBaud = 19200;

// Answers every box with OK (the "Please Note" warning included).
class AnswerOk final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage& m) override
    {
        if (m.caption != std::optional<std::string>("Please Note"))
            std::fprintf(stderr, "message: %s\n", m.text.c_str());
        return MsgAnswer::Ok;
    }
};

// Raises the first filled value of the page by one, as a user would retype it.
bool ChangeOutput(CAomConditionsPage* page)
{
    for (int row = 1; row <= 8; ++row) {
        QLineEdit* value = nullptr;
        for (QLineEdit* field : page->findChildren<QLineEdit*>())
            if (field->accessibleName() == QString("Row %1 value 1").arg(row)) value = field;
        if (!value || !value->isEnabled() || value->text().isEmpty()) continue;
        const std::string text = value->text().toStdString();
        const bool decimal = text.find('.') != std::string::npos;
        char raised[32];
        std::snprintf(raised, sizeof raised, decimal ? "%.1f" : "%.0f", ReadDouble(text) + 1);
        value->setText(raised);
        return page->HasChanged();
    }
    return false;
}

QAbstractButton* FindOk(QWidget& form)
{
    for (QAbstractButton* b : form.findChildren<QAbstractButton*>())
        if (b->text() == "OK") return b;
    return nullptr;
}

struct Run {
    double wallMs = 0;
    double pausedMs = 0;
    double wireMs = 0;
    double longestGapMs = 0;
    int moduleLines = 0;
    int changed = 0;
    bool accepted = false;
};

Run OkWithChangedOutputs(DBConfigParser& settings, const fs::path& dir, int outputs)
{
    Run run;
    SimOptions options = BenchSimOptions(SimKind::Aom, dir);
    CorvaneSim sim(options);
    sim.Start();
    settings.SetValue("COM1_DEVICE", sim.DevicePath());
    if (LinkOpen(1, kBaud) != 0) return run;
    {
        CAomSettings record(nullptr, sim.Identification(), "60", true);
        CAomDlg form(nullptr, record);
        form.show();
        for (int k = 0; k < outputs; ++k) run.changed += ChangeOutput(form.Tabs()->Page(k)) ? 1 : 0;
        sim.ClearReceived();

        RealPauses pauses;
        QElapsedTimer clock;
        clock.start();
        qint64 lastTick = 0;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, [&] {
            const qint64 now = clock.nsecsElapsed();
            run.longestGapMs = std::max(run.longestGapMs, (now - lastTick) / 1e6);
            lastTick = now;
        });
        QEventLoop loop;
        QTimer::singleShot(20, [&] {
            const auto start = std::chrono::steady_clock::now();
            FindOk(form)->click();
            run.wallMs = std::chrono::duration<double, std::milli>(
                             std::chrono::steady_clock::now() - start).count();
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
        });
        lastTick = clock.nsecsElapsed();
        tick.start(5);
        loop.exec();
        run.pausedMs = pauses.TotalMs();
        run.accepted = form.result() == QDialog::Accepted;
    }
    LinkClose();
    run.wireMs = WireMs(sim.ReceivedLines(), kBaud, run.moduleLines);
    sim.Stop();
    return run;
}

}  // namespace

int main(int argc, char** argv)
{
    BenchWorkDir work(kBaud, "AOM_FIRST_USE=1\n");
    const fs::path& dir = work.Dir();
    DBConfigParser& settings = work.Settings();
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");

    int status = 0;
    {
        QApplication app(argc, argv);
        InstallQtSeams();
        AnswerOk answers;
        SetUserMessages(&answers);

        std::printf("OK of \"Alarm Output Module\" at %d baud against corvane-sim's sample\n"
                    "conditions (real pauses). Floor: the pauses asked for plus the wire time;\n"
                    "a pty passes bytes at memory speed, so a ratio just below 1 is that saving.\n"
                    "Longest gap: the longest the window went without handling its events.\n\n",
                    kBaud);
        std::printf("%-8s %6s %10s %10s %10s %10s %7s %14s\n", "outputs", "lines", "paused ms",
                    "wire ms", "floor ms", "wall ms", "ratio", "longest gap ms");
        for (int outputs : {1, 4}) {
            const Run r = OkWithChangedOutputs(settings, dir, outputs);
            const double floorMs = r.pausedMs + r.wireMs;
            std::printf("%-8d %6d %10.1f %10.1f %10.1f %10.1f %7.3f %14.1f%s\n", outputs,
                        r.moduleLines, r.pausedMs, r.wireMs, floorMs, r.wallMs,
                        floorMs > 0 ? r.wallMs / floorMs : 0.0, r.longestGapMs,
                        r.changed == outputs ? "" : "  (not every page changed)");
            if (!r.accepted || r.changed != outputs) status = 1;
        }
        SetUserMessages(nullptr);
    }
    return status;
}
