// The Setup menu's two commands against the simulated console: Configure
// Corvane Logger (detection, the second open, the kind's form and what
// reaches the logger) and Auto Detect in Setup Communications Port.

#include "shell/CMainFrame.h"
#include "shell/CCorvaneModulesView.h"
#include "FormFinder.h"
#include "base/ui/FormSupport.h"
#include "link/LinkLog.h"
#include "link/LinkTermios.h"
#include "shell/RegisterForms.h"
#include "SimFixture.h"
#include "TestSupport.h"
#include "base/WaitCursor.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFileDialog>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

constexpr const char* kNoLogger = "No Corvane Logger Found.  Please check Serial Port settings and connections.";

// The real serial port, with every open noted; the nth open can be refused.
struct SetupTestLink : TermiosLink {
    ~SetupTestLink() override { SetLinkBackend(previous); }
    int Open(int port, int baud) override
    {
        const int r = static_cast<int>(opens.size()) + 1 == refuseOpen ? -1 : TermiosLink::Open(port, baud);
        opens.push_back("COM" + std::to_string(port) + " " + std::to_string(baud) + (r == 0 ? "" : " failed"));
        return r;
    }

    LinkBackend* previous = SetLinkBackend(this);
    Lines opens;         // "COM3 9600", "COM1 9600 failed"
    int refuseOpen = 0;  // 1-based; 0 refuses none
};

// The wait cursor as the program shows it: Qt's override cursor.
struct OverrideCursorSink : CursorSink {
    ~OverrideCursorSink() override { SetCursorSink(previous); }
    void SetWaitCursor(bool on) override
    {
        on ? QApplication::setOverrideCursor(Qt::WaitCursor) : QApplication::restoreOverrideCursor();
    }
    CursorSink* previous = SetCursorSink(this);
};

Qt::CursorShape ShownCursor()
{
    return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
}

class SetupTest : public ::testing::Test {
protected:
    SetupTest()
    {
        RegisterAllForms();
        previousRunner_ = SetFormRunner([this](QDialog& dlg) {
            forms.push_back(dlg.windowTitle().toStdString());
            EXPECT_EQ(dlg.parentWidget(), frame.View());
            if (drive) return drive(dlg);
            dlg.reject();
            return dlg.result();
        });
    }
    ~SetupTest() override { SetFormRunner(previousRunner_); }

    // The Setup menu's item, as the user picks it.
    void Pick(const QString& command) { EXPECT_TRUE(PickMenuItem(&frame, command)) << command.toStdString(); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    OverrideCursorSink cursor;
    SetupTestLink link;
    CMainFrame frame;
    Lines forms;
    FormRunner drive, previousRunner_;
};

TEST_F(SetupTest, ConfigureAlohaEndToEnd)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    sim.SetParam(1, "60");
    sim.SetParam(2, "7");
    drive = [&](QDialog& dlg) {
        EXPECT_EQ(ShownCursor(), Qt::WaitCursor);  // while the form is built
        dlg.show();
        EXPECT_EQ(ShownCursor(), Qt::ArrowCursor);  // while the user works in it
        EXPECT_EQ(FindField<QLineEdit>(&dlg, "Time Out Period")->text(), "60");
        EXPECT_EQ(FindField<QLineEdit>(&dlg, "Station ID #")->text(), "7");
        EXPECT_TRUE(link.IsOpen());
        EXPECT_TRUE(SetFieldText(&dlg, "Time Out Period", "30") && SetFieldText(&dlg, "Station ID #", "5"));
        QTest::mouseClick(FindButton(&dlg, "OK"), Qt::LeftButton);
        return dlg.result();
    };
    Pick("Configure Corvane Logger");

    EXPECT_EQ(forms, (Lines{"ALOHA Configuration"}));
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD00\n", "MOD01 |\n", "MOD02 |\n", "MOD01 30\n", "MOD02 5\n"}));
    EXPECT_EQ(link.opens, (Lines{"COM1 19200", "COM1 19200"}));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 2000, 2000}));
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

// firmware -1: the kind's usual one; noDevice: COM1 names a device that does
// not exist; refuseOpen: the open refused (0: none); message: the message
// shown (nullptr: none); form: the form that appears (nullptr: none);
// queries: the detection's module queries; opens: the port's opens.
constexpr const char* kOpenFailed = "Failed to open comm port.  Please check settings and connections";
struct RunCase { const char* name; SimKind kind; int firmware; std::optional<SimFault> fault; bool noDevice;
                 int refuseOpen; const char* message; const char* form; int queries; Lines opens; };
const Lines kOne{"COM1 19200"}, kTwo{"COM1 19200", "COM1 19200"};

class DetectionRun : public SetupTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(DetectionRun, MessageSecondOpenAndForm)
{
    const RunCase& c = GetParam();
    SimOptions options = SimFixture::Options(c.kind);
    options.firmware = c.firmware;
    SimFixture sim(options);
    sim.UseAsPort(dir);
    if (c.fault) sim.SetFault(*c.fault);
    if (c.noDevice) dir.Settings().SetValue("COM1_DEVICE", (dir.Path() / "no-such-tty").string());
    link.refuseOpen = c.refuseOpen;

    Pick("Configure Corvane Logger");

    EXPECT_EQ(messages.Texts(), c.message ? Lines{c.message} : Lines{});
    EXPECT_EQ(forms, c.form ? Lines{c.form} : Lines{});
    EXPECT_EQ(link.opens, c.opens);
    EXPECT_FALSE(link.IsOpen());
    // Detection's queries and its rest (none when nothing was detected);
    // after a second open, whatever the form asked, then the rest after the
    // port is closed again.
    std::vector<int> expected(c.queries, 250);
    if (c.message != kNoLogger) expected.push_back(2000);
    const auto d = pauses.Durations();
    ASSERT_GE(d.size(), expected.size());
    EXPECT_EQ(std::vector<int>(d.begin(), d.begin() + expected.size()), expected);
    EXPECT_EQ(d.size() > expected.size() ? d.back() : 0, c.opens.size() == 2 && !c.refuseOpen ? 2000 : 0);
    EXPECT_EQ(WaitCursorDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(Devices, DetectionRun,
    ::testing::Values(
        RunCase{"NoDeviceOnThePort", SimKind::Aloha, -1, {}, true, 0, kNoLogger, nullptr, 0, {"COM1 19200 failed"}},
        RunCase{"SilentConsole", SimKind::Aloha, -1, SimFault::SilentConsole, false, 0, kNoLogger, nullptr, 1, kOne},
        RunCase{"ConsoleWithoutLogger", SimKind::Aloha, -1, SimFault::NoLogger, false, 0, kNoLogger, nullptr, 1, kOne},
        // Garbled replies flip letter case: "aloha" names no kind.
        RunCase{"UnknownKindWord", SimKind::Aloha, -1, SimFault::Garble, false, 0, nullptr, nullptr, 1, kOne},
        RunCase{"SecondOpenFails", SimKind::Aloha, -1, {}, false, 2, kOpenFailed, nullptr, 3, {kOne[0], "COM1 19200 failed"}},
        RunCase{"Irrigation201", SimKind::Irr, 201, {}, false, 0, nullptr, "Firmware Upgrade Warning", 1, kOne},
        RunCase{"Irrigation202", SimKind::Irr, 202, {}, false, 0, nullptr, "Irrigation Configuration", 13, kTwo},
        RunCase{"Aprs", SimKind::Aprs, -1, {}, false, 0, nullptr, "APRS Configuration", 5, kTwo},
        RunCase{"AlarmOutputModule", SimKind::Aom, -1, {}, false, 0, nullptr, "Alarm Output Module", 3, kTwo}),
    [](const auto& info) { return std::string(info.param.name); });

// The traffic is kept in memory from start-up on and reaches the disk only
// through Save Link Log, into the file the user chose; the folder is offered
// again next time.
TEST_F(SetupTest, SavedLinkLogHoldsTheLastDetection)
{
    KeepProgramLinkLog();
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    Pick("Configure Corvane Logger");
    const auto saved = dir.Path() / "reports" / "link.txt";
    std::filesystem::create_directory(saved.parent_path());
    EXPECT_FALSE(std::filesystem::exists(saved));
    drive = [&](QDialog& dlg) {
        auto* dialog = qobject_cast<QFileDialog*>(&dlg);
        EXPECT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->directory().absolutePath().toStdString(), dir.Path().string());
        dialog->selectFile(QString::fromStdString(saved.string()));
        dlg.accept();
        return dlg.result();
    };
    Pick("Save &Link Log...");
    SetLinkTap({});

    const std::string report = dir.ReadFile("reports/link.txt");
    EXPECT_NE(report.find("\nPort: COM1 = " + sim.DevicePath() + " at 19200 baud"), std::string::npos) << report;
    EXPECT_NE(report.find(" > MOD00\\n\n"), std::string::npos) << report;
    EXPECT_NE(report.find(" < ALOHA   "), std::string::npos) << report;
    EXPECT_EQ(messages.Texts(), Lines{"Link log saved to " + saved.string() + "."});
    EXPECT_EQ(dir.Settings().GetValue("LAST_SAVE_FOLDER"), saved.parent_path().string());
}

TEST_F(SetupTest, PortChosenByHandIsStoredOnOk)
{
    dir.Settings().SetValue("SERIAL_PORT", "1");
    drive = [&](QDialog& dlg) {
        FindField<QComboBox>(&dlg, "Com Port")->setCurrentText("COM5");
        FindButton(&dlg, "OK")->click();
        return dlg.result();
    };
    Pick("Setup Communications Port");
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT") + " " + dir.Settings().GetValue("BAUD_RATE"), "5 19200");
}

// Auto Detect at the rate picked in the form (9600) over eight ports: COM1
// has no device, COM2 a console without logger, COM3 the logger when
// present. The found port is stored even when the form is cancelled; the
// rate only by OK.
class AutoDetect : public SetupTest, public ::testing::WithParamInterface<std::pair<bool, const char*>> {};

TEST_P(AutoDetect, FromTheSetupMenu)
{
    const auto [present, button] = GetParam();
    SimFixture noLogger(SimKind::None), logger(SimKind::Aloha);
    for (int port = 1; port <= 8; ++port)
        dir.Settings().SetValue("COM" + std::to_string(port) + "_DEVICE", (dir.Path() / "no-tty").string());
    noLogger.UseAsPort(dir, 2);
    if (present) logger.UseAsPort(dir, 3);
    dir.Settings().SetValue("SERIAL_PORT", "1");
    std::string selected;
    drive = [&](QDialog& dlg) {
        FindField<QComboBox>(&dlg, "Baud Rate")->setCurrentText("9600");
        FindButton(&dlg, "Auto Detect")->click();
        selected = FindField<QComboBox>(&dlg, "Com Port")->currentText().toStdString();
        FindButton(&dlg, button)->click();
        return dlg.result();
    };
    Pick("Setup Communications Port");

    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, present ? "Corvane Logger found on COM3 " : kNoLogger);
    EXPECT_EQ(messages.Shown()[0].caption, present ? "Auto Detect Success" : "Error");
    EXPECT_EQ(messages.Shown()[0].icon, MsgIcon::None);
    EXPECT_EQ(selected, present ? "COM3" : "COM1");
    Lines opens{"COM1 9600 failed", "COM2 9600", present ? "COM3 9600" : "COM3 9600 failed"};
    for (int port = 4; !present && port <= 8; ++port) opens.push_back("COM" + std::to_string(port) + " 9600 failed");
    EXPECT_EQ(link.opens, opens);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(noLogger.ModuleLines(), (Lines{"MOD00\n"}));
    EXPECT_EQ(logger.ModuleLines(), present ? Lines{"MOD00\n"} : Lines{});
    EXPECT_EQ(pauses.Durations(), (std::vector<int>(present ? 2 : 1, 250)));
    EXPECT_EQ(WaitCursorDepth(), 0);
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT") + " " + dir.Settings().GetValue("BAUD_RATE"),
              std::string(present ? "3" : "1") + (std::string(button) == "OK" ? " 9600" : " 19200"));
}

INSTANTIATE_TEST_SUITE_P(ThenButton, AutoDetect,
    ::testing::Values(std::pair(true, "Cancel"), std::pair(true, "OK"), std::pair(false, "Cancel")),
    [](const auto& i) { return std::string(i.param.first ? "Found" : "NothingFound") + i.param.second; });

}  // namespace
