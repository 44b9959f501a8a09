// Setup Communications Port against the simulated console: Auto Detect tries
// COM1-COM8 at the rate shown in the form; the found port is stored even
// when the form is cancelled, the rate only by OK.

#include "FormFinder.h"
#include "FormSupport.h"
#include "SetupCommands.h"
#include "SetupTestLink.h"
#include "SimFixture.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QDialog>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

class SetupCommPortTest : public ::testing::Test {
protected:
    SetupCommPortTest()
    {
        // Eight ports, none of them a real device.
        for (int port = 1; port <= 8; ++port)
            dir.Settings().SetValue("COM" + std::to_string(port) + "_DEVICE",
                                    (dir.Path() / ("no-tty" + std::to_string(port))).string());
        dir.Settings().SetValue("LINK_TIMEOUT_MS", "100");
        dir.Settings().SetValue("BAUD_RATE", "19200");
    }
    ~SetupCommPortTest() override { SetFormRunner(previous_); }

    // Runs the command: notes the port selected on opening, picks 9600,
    // presses Auto Detect (when asked), notes the port then selected, and
    // ends the form with `button`.
    void Run(bool detect, const char* button)
    {
        previous_ = SetFormRunner([=, this](QDialog& dlg) {
            auto* port = FindField<QComboBox>(&dlg, "Com Port");
            openedWith = port->currentIndex();
            FindField<QComboBox>(&dlg, "Baud Rate")->setCurrentText("9600");
            if (detect) FindButton(&dlg, "Auto Detect")->click();
            selected = port->currentText().toStdString();
            FindButton(&dlg, button)->click();
            return dlg.result();
        });
        SetupCommPort(nullptr);
    }
    std::string Stored(const char* key)
    {
        dir.Restart();
        return dir.Settings().GetValue(key);
    }

    TempWorkDir dir;
    InstantPauses pauses;
    RecordingMessages messages;
    SetupTestLink link;
    int openedWith = -2;
    std::string selected;

private:
    FormRunner previous_;
};

class AutoDetectFinds : public SetupCommPortTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AutoDetectFinds, SimulatorOnCom3OfEight)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir, 3, 19200);
    dir.Settings().SetValue("SERIAL_PORT", "1");
    const bool ok = GetParam() == std::string("OK");

    Run(true, GetParam());

    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text, "Corvane Logger found on COM3 ");
    EXPECT_EQ(messages.Shown()[0].caption, "Auto Detect Success");
    EXPECT_EQ(messages.Shown()[0].icon, MsgIcon::None);
    EXPECT_EQ(selected, "COM3");
    EXPECT_EQ(link.opens, (Lines{"COM1 9600 failed", "COM2 9600 failed", "COM3 9600"}));
    EXPECT_FALSE(link.IsOpen());
    EXPECT_EQ(sim.ModuleLines(), (Lines{"MOD00\n"}));
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250}));
    EXPECT_EQ(WaitCursorDepth(), 0);
    EXPECT_EQ(Stored("SERIAL_PORT"), "3");
    EXPECT_EQ(Stored("BAUD_RATE"), ok ? "9600" : "19200");
}

INSTANTIATE_TEST_SUITE_P(ThenButton, AutoDetectFinds, ::testing::Values("Cancel", "OK"));

TEST_F(SetupCommPortTest, NothingFoundTriesAllEightAndStoresNothing)
{
    dir.Settings().SetValue("SERIAL_PORT", "2");
    const std::string before = dir.ReadFile("config.txt");
    Run(true, "Cancel");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "No Corvane Logger Found.  Please check Serial Port settings and connections.");
    EXPECT_EQ(messages.Shown()[0].caption, "Error");
    EXPECT_EQ(selected, "COM2");
    EXPECT_EQ(link.opens.size(), 8u);
    EXPECT_EQ(link.opens.back(), "COM8 9600 failed");
    EXPECT_EQ(dir.ReadFile("config.txt"), before);
}

TEST_F(SetupCommPortTest, PortThatIsNotANumberOpensUnselectedAndOkStoresPortOne)
{
    dir.Settings().SetValue("SERIAL_PORT", "COM3");
    Run(false, "OK");
    EXPECT_EQ(openedWith, -1);
    EXPECT_EQ(Stored("SERIAL_PORT"), "1");
    EXPECT_EQ(Stored("BAUD_RATE"), "9600");
    EXPECT_TRUE(link.opens.empty());
}

}  // namespace
