// Configure Corvane Logger from the Setup menu against the simulated console:
// detection, the second open, the kind's form and what reaches the logger.

#include "CMainFrame.h"
#include "CCorvaneModulesView.h"
#include "FakeLink.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "RegisterForms.h"
#include "SetupTestLink.h"
#include "SimFixture.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <gtest/gtest.h>

#include <optional>

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kNoLogger =
    "No Corvane Logger Found.  Please check Serial Port settings and connections.";
constexpr const char* kOpenFailed = "Failed to open comm port.  Please check settings and connections";

// The wait cursor as the program shows it: Qt's override cursor.
class OverrideCursorSink : public CursorSink {
public:
    OverrideCursorSink() : previous_(SetCursorSink(this)) {}
    ~OverrideCursorSink() override { SetCursorSink(previous_); }
    void SetWaitCursor(bool wait) override
    {
        if (wait)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    }

private:
    CursorSink* previous_;
};

Qt::CursorShape ShownCursor()
{
    return QApplication::overrideCursor() ? QApplication::overrideCursor()->shape() : Qt::ArrowCursor;
}

class ConfigureTest : public ::testing::Test {
protected:
    ConfigureTest()
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
    ~ConfigureTest() override { SetFormRunner(previousRunner_); }

    // The menu item, as the user picks it.
    void ConfigureFromMenu()
    {
        for (QAction* top : frame.menuBar()->actions())
            for (QAction* item : top->menu()->actions())
                if (item->text() == "Configure Corvane Logger") return item->trigger();
        ADD_FAILURE() << "no Configure Corvane Logger item";
    }
    std::vector<int> DetectionPauses(int queries)
    {
        std::vector<int> p(queries, 250);
        p.push_back(2000);
        return p;
    }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    OverrideCursorSink cursor;
    SetupTestLink link;
    CMainFrame frame;
    Lines forms;
    FormRunner drive;

private:
    FormRunner previousRunner_;
};

void TypeInto(QDialog& dlg, const char* field, const char* text)
{
    auto* edit = FindField<QLineEdit>(&dlg, field);
    ASSERT_NE(edit, nullptr) << field;
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Backspace);
    QTest::keyClicks(edit, text);
}

TEST_F(ConfigureTest, AlohaEndToEnd)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    sim.SetParam(1, "60");
    sim.SetParam(2, "7");
    QString loadedTimeout, loadedStation;
    drive = [&](QDialog& dlg) {
        EXPECT_EQ(ShownCursor(), Qt::WaitCursor);  // while the form is built
        dlg.show();
        EXPECT_EQ(ShownCursor(), Qt::ArrowCursor);  // while the user works in it
        loadedTimeout = FindField<QLineEdit>(&dlg, "Time Out Period")->text();
        loadedStation = FindField<QLineEdit>(&dlg, "Station ID #")->text();
        EXPECT_TRUE(link.IsOpen());
        TypeInto(dlg, "Time Out Period", "30");
        TypeInto(dlg, "Station ID #", "5");
        QTest::mouseClick(FindButton(&dlg, "OK"), Qt::LeftButton);
        return dlg.result();
    };
    ConfigureFromMenu();

    EXPECT_EQ(forms, (Lines{"ALOHA Configuration"}));
    EXPECT_EQ(loadedTimeout, "60");
    EXPECT_EQ(loadedStation, "7");
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(sim.ModuleLines(),
              (Lines{"MOD00\n", "MOD01 |\n", "MOD02 |\n", "MOD01 30\n", "MOD02 5\n"}));
    EXPECT_EQ(sim.Param(1), "30");
    EXPECT_EQ(sim.Param(2), "5");
    EXPECT_EQ(link.opens.size(), 2u);
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 2000, 2000}));
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

struct RunCase {
    const char* name;
    SimKind kind;
    int firmware;                  // -1: the kind's usual one
    std::optional<SimFault> fault;
    bool noDevice;                 // COM1 names a device that does not exist
    bool message;                  // the no-logger message is shown
    const char* form;              // the form that appears, nullptr: none
    int queries;                   // module queries of the detection; -1: the port never opened
};

class DetectionRun : public ConfigureTest, public ::testing::WithParamInterface<RunCase> {};

TEST_P(DetectionRun, MessageSecondOpenAndForm)
{
    const RunCase& c = GetParam();
    SimOptions options = SimFixture::Options(c.kind);
    options.firmware = c.firmware;
    SimFixture sim(options);
    sim.UseAsPort(dir);
    if (c.fault) sim.SetFault(*c.fault);
    if (c.noDevice) dir.Settings().SetValue("COM1_DEVICE", (dir.Path() / "no-such-tty").string());

    ConfigureFromMenu();

    EXPECT_EQ(messages.Texts(), c.message ? Lines{kNoLogger} : Lines{});
    EXPECT_EQ(forms, c.form ? Lines{c.form} : Lines{});
    const bool configured = c.form && c.queries > 1;
    EXPECT_EQ(link.opens.size(), configured ? 2u : 1u);
    EXPECT_FALSE(link.IsOpen());

    // Detection's queries and its rest, then (when a form ran) the rest
    // after the form's port is closed again.
    const auto d = pauses.Durations();
    std::vector<int> expected;
    if (c.queries >= 0) {
        expected.assign(c.queries, 250);
        if (!c.message) expected.push_back(2000);
    }
    ASSERT_GE(d.size(), expected.size());
    EXPECT_EQ(std::vector<int>(d.begin(), d.begin() + expected.size()), expected);
    if (configured)
        EXPECT_EQ(d.back(), 2000);
    else
        EXPECT_EQ(d.size(), expected.size());
    EXPECT_EQ(WaitCursorDepth(), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Devices, DetectionRun,
    ::testing::Values(
        RunCase{"NoDeviceOnThePort", SimKind::Aloha, -1, std::nullopt, true, true, nullptr, -1},
        RunCase{"SilentConsole", SimKind::Aloha, -1, SimFault::SilentConsole, false, true, nullptr, 1},
        RunCase{"ConsoleWithoutLogger", SimKind::Aloha, -1, SimFault::NoLogger, false, true, nullptr, 1},
        // Garbled replies flip letter case: "aloha" names no kind.
        RunCase{"UnknownKindWord", SimKind::Aloha, -1, SimFault::Garble, false, false, nullptr, 1},
        RunCase{"Irrigation201", SimKind::Irr, 201, std::nullopt, false, false, "Firmware Upgrade Warning", 1},
        RunCase{"Irrigation202", SimKind::Irr, 202, std::nullopt, false, false, "Irrigation Configuration", 13},
        RunCase{"Aprs", SimKind::Aprs, -1, std::nullopt, false, false, "APRS Configuration", 5},
        RunCase{"AlarmOutputModule", SimKind::Aom, -1, std::nullopt, false, false, "Alarm Output Module", 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ConfigureTest, ReplyNamingTwoKindsShowsTheLaterKindsForm)
{
    dir.Settings().SetValue("SERIAL_PORT", "1");
    dir.Settings().SetValue("BAUD_RATE", "19200");
    FakeLink fake;
    fake.Respond("\n", "\n");
    for (const auto& [line, reply] : std::vector<std::pair<std::string, std::string>>{
             {"MOD00\n", "ALOHA   APRS"}, {"MOD01 |\n", "30"}, {"MOD02 |\n", "1"},
             {"MOD12 |\n", "9600"}, {"MOD13 |\n", "4903.50N/07201.75W_"}, {"MOD14 |\n", "10"}})
        fake.Respond(line, reply + "\n\r");
    ConfigureFromMenu();
    EXPECT_EQ(forms, (Lines{"APRS Configuration"}));
    EXPECT_EQ(fake.OpenCount(), 2);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(ConfigureTest, SecondOpenFailingShowsItsOwnMessageAndNoForm)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    link.refuseOpen = 2;
    ConfigureFromMenu();
    EXPECT_EQ(messages.Texts(), (Lines{kOpenFailed}));
    EXPECT_TRUE(forms.empty());
    EXPECT_EQ(link.opens.size(), 2u);
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 2000}));
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD00\n", "MOD01 |\n", "MOD02 |\n"}));
    EXPECT_EQ(WaitCursorDepth(), 0);
}

}  // namespace
