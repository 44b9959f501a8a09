// The ALOHA Configuration form against the simulated logger: the checks of
// OK in their order, the focus they leave, and the lines the logger gets.

#include "AlohaSettings.h"
#include "CAlohaConfigDlg.h"
#include "DesktopOpen.h"
#include "FormFinder.h"
#include "LoggerDetection.h"
#include "SerialLink.h"
#include "SimFixture.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

constexpr const char* kTimeoutField = "Time Out Period";
constexpr const char* kStationField = "Station ID #";
constexpr const char* kBadTimeout = "Invalid Timeout Period! Must be between 5 and 255 sec.";
constexpr const char* kBadStation = "Invalid Station ID! Must be between 0 and 999.";
constexpr const char* kWriteFailed =
    "Failed to set configuration in the module.  \n\t\t\tPlease check Serial Port settings and connections.";

class AlohaFormTest : public ::testing::Test {
protected:
    AlohaFormTest()
    {
        sim.UseAsPort(dir);
        EXPECT_EQ(OpenLink(1, 19200), 0);
    }
    ~AlohaFormTest() override { LinkClose(); }

    // Shows the form with the given texts typed over the loaded ones and
    // presses a button; the form stays alive for inspection.
    void Press(const char* button, const QString& timeout, const QString& station)
    {
        dlg.show();
        SetFieldText(&dlg, kTimeoutField, timeout);
        SetFieldText(&dlg, kStationField, station);
        QTest::mouseClick(FindButton(&dlg, button), Qt::LeftButton);
    }
    QLineEdit* Field(const char* name) { return FindField<QLineEdit>(&dlg, name); }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SimFixture sim{SimKind::Aloha};
    CAlohaSettings record{nullptr, "ALOHA   100", "30", "1"};
    CAlohaConfigDlg dlg{nullptr, record};
};

TEST_F(AlohaFormTest, Layout)
{
    EXPECT_EQ(dlg.windowTitle(), "ALOHA Configuration");
    auto* group = dlg.findChild<QGroupBox*>();
    ASSERT_NE(group, nullptr);
    EXPECT_EQ(group->title(), "Configuration");
    EXPECT_EQ(FindButton(group, "Default")->text(), "Default");
    for (const char* b : {"OK", "Cancel", "Help"}) EXPECT_NE(FindButton(&dlg, b), nullptr) << b;
    EXPECT_EQ(Field(kTimeoutField)->text(), "30");
    EXPECT_EQ(Field(kStationField)->text(), "1");
    auto* type = FindField<QLabel>(&dlg, "Logger Type:");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->text(), "ALOHA  1.00");
    bool unitShown = false;
    for (QLabel* l : dlg.findChildren<QLabel*>()) unitShown |= l->text() == "sec.";
    EXPECT_TRUE(unitShown);
}

struct TypeCase {
    const char* identification;
    const char* shown;
};

class LoggerTypeLine : public ::testing::TestWithParam<TypeCase> {};

TEST_P(LoggerTypeLine, FormattedIdentification)
{
    CAlohaSettings record(nullptr, GetParam().identification, "30", "1");
    CAlohaConfigDlg dlg(nullptr, record);
    auto* type = FindField<QLabel>(&dlg, "Logger Type:");
    ASSERT_NE(type, nullptr);
    EXPECT_EQ(type->text().toStdString(), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(Identifications, LoggerTypeLine,
                         ::testing::Values(TypeCase{"ALOHA   202", "ALOHA  2.02"},
                                           TypeCase{"ALOHA 105", "ALOHA  1.05"},
                                           TypeCase{"ALOHA", "ALOHA"}, TypeCase{"ALOHA ", "ALOHA  ."},
                                           TypeCase{"", ""}));

struct OkCase {
    const char* timeout;
    const char* station;
    const char* message;  // nullptr: accepted and written
    const char* focus;    // field focused after the message
};

class AlohaOk : public AlohaFormTest, public ::testing::WithParamInterface<OkCase> {};

TEST_P(AlohaOk, ChecksInOrder)
{
    const OkCase& c = GetParam();
    Press("OK", c.timeout, c.station);
    if (!c.message) {
        EXPECT_TRUE(messages.Texts().empty());
        EXPECT_EQ(dlg.result(), QDialog::Accepted);
        EXPECT_EQ(sim.Lines(), (Lines{"\n", std::string("MOD01 ") + c.timeout + "\n",
                                      std::string("MOD02 ") + c.station + "\n"}));
        EXPECT_EQ(record.timeout, c.timeout);
        EXPECT_EQ(record.stationId, c.station);
        return;
    }
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{c.message}));
    EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
    EXPECT_EQ(messages.Shown()[0].icon, MsgIcon::None);
    EXPECT_EQ(dlg.focusWidget(), Field(c.focus));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(sim.Lines().empty());
    // The time-out is copied into the record as soon as it has passed.
    EXPECT_EQ(record.timeout, c.message == std::string(kBadStation) ? c.timeout : "30");
    EXPECT_EQ(record.stationId, "1");
}

INSTANTIATE_TEST_SUITE_P(
    Values, AlohaOk,
    ::testing::Values(OkCase{"4", "1", kBadTimeout, kTimeoutField},
                      OkCase{"256", "1", kBadTimeout, kTimeoutField},
                      OkCase{"5", "1", nullptr, nullptr}, OkCase{"255", "999", nullptr, nullptr},
                      OkCase{"45", "0", nullptr, nullptr},
                      OkCase{"30-", "5", nullptr, nullptr},  // read as 30, written as typed
                      OkCase{"45", "1000", kBadStation, kStationField},
                      OkCase{"45", "-1", kBadStation, kStationField},
                      OkCase{"4", "1000", kBadTimeout, kTimeoutField},  // only the first message
                      OkCase{"", "1", kBadTimeout, kTimeoutField},
                      OkCase{"3O", "1", kBadTimeout, kTimeoutField},  // pasted letter O
                      OkCase{" 30", "1", kBadTimeout, kTimeoutField},
                      OkCase{"45", "", kBadStation, kStationField},
                      OkCase{"45", "1:2", kBadStation, kStationField},
                      OkCase{"-", "1", kBadTimeout, kTimeoutField}));

TEST_F(AlohaFormTest, TimeoutWrittenAsTypedIsReadByTheLoggerAsItsNumber)
{
    Press("OK", "30-", "5");
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD01 30-\n", "MOD02 5\n"}));
    EXPECT_EQ(sim.Param(1), "30");
    EXPECT_EQ(sim.Param(2), "5");
}

TEST_F(AlohaFormTest, RefusedWriteKeepsTheFormOpenAndOkMayBePressedAgain)
{
    sim.SetFault(SimFault::ErrorSets);
    Press("OK", "45", "7");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWriteFailed}));
    EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(sim.Lines(), (Lines{"\n", "MOD01 45\n"}));  // stopped at the first refusal
    EXPECT_EQ(record.timeout, "45");
    EXPECT_EQ(record.stationId, "7");
    EXPECT_EQ(sim.Param(1), "30");
    EXPECT_EQ(WaitCursorDepth(), 0);

    sim.ClearFaults();
    sim.ClearLines();
    messages.Clear();
    QTest::mouseClick(FindButton(&dlg, "OK"), Qt::LeftButton);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD01 45\n", "MOD02 7\n"}));
    EXPECT_EQ(sim.Param(1), "45");
    EXPECT_EQ(sim.Param(2), "7");
}

TEST_F(AlohaFormTest, UnconfirmedStationWriteLeavesTheNewTimeoutInTheLogger)
{
    sim.SetFault(SimFault::DropReplies, 2);  // the second reply is lost
    Press("OK", "45", "7");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWriteFailed}));
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD01 45\n", "MOD02 7\n"}));
    EXPECT_EQ(sim.Param(1), "45");
}

TEST_F(AlohaFormTest, CancelWritesNothing)
{
    Press("Cancel", "45", "7");
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_TRUE(sim.Lines().empty());
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(record.timeout, "30");
    EXPECT_EQ(record.stationId, "1");
}

TEST_F(AlohaFormTest, DefaultFillsFiveAndOneAndWritesNothing)
{
    Press("Default", "200", "800");
    EXPECT_EQ(Field(kTimeoutField)->text(), "5");
    EXPECT_EQ(Field(kStationField)->text(), "1");
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_TRUE(sim.Lines().empty());
    EXPECT_EQ(record.timeout, "30");
}

TEST_F(AlohaFormTest, HelpOpensTheHelpTextOfTheCurrentDirectory)
{
    dir.WriteFile("ALOHAHelp.txt", "help\n");
    std::vector<std::string> opened;
    DesktopOpener previous = SetDesktopOpener([&](const std::string& target, bool isFile) {
        opened.push_back(target + (isFile ? " (file)" : ""));
        return OpenResult{true, {}};
    });
    QTest::mouseClick(FindButton(&dlg, "Help"), Qt::LeftButton);
    SetDesktopOpener(previous);
    EXPECT_EQ(opened, (Lines{(dir.Path() / "ALOHAHelp.txt").string() + " (file)"}));
    EXPECT_TRUE(sim.Lines().empty());
}

}  // namespace
