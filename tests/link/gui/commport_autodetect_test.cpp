// Auto Detect against the simulated console: COM1-COM8 are tried in turn at
// the rate shown in the form; only the found port is stored.

#include "CCommPortDlg.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "LinkTermios.h"
#include "SetupCommands.h"
#include "SimFixture.h"
#include "TestSupport.h"
#include "WaitCursor.h"

#include <QComboBox>
#include <QDialog>
#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

// The real serial port, with every open noted.
class OpenRecorder : public LinkBackend {
public:
    OpenRecorder() : previous_(SetLinkBackend(this)) {}
    ~OpenRecorder() override
    {
        real_.Close();
        SetLinkBackend(previous_);
    }
    int Open(int port, int baud) override
    {
        const int r = real_.Open(port, baud);
        opens.push_back("COM" + std::to_string(port) + " " + std::to_string(baud) + (r == 0 ? "" : " failed"));
        return r;
    }
    void Close() override { real_.Close(); }
    void PutByte(int byte) override { real_.PutByte(byte); }
    int GetByte() override { return real_.GetByte(); }
    int PutString(const char* text) override { return real_.PutString(text); }
    void Flush() override { real_.Flush(); }
    bool IsOpen() const { return real_.IsOpen(); }

    Lines opens;

private:
    TermiosLink real_;
    LinkBackend* previous_;
};

class AutoDetectTest : public ::testing::Test {
protected:
    AutoDetectTest()
    {
        // Eight ports, none of them a real device.
        for (int port = 1; port <= 8; ++port)
            dir.Settings().SetValue("COM" + std::to_string(port) + "_DEVICE",
                                    (dir.Path() / ("no-tty" + std::to_string(port))).string());
        dir.Settings().SetValue("LINK_TIMEOUT_MS", "100");
        dir.Settings().SetValue("SERIAL_PORT", "1");
        dir.Settings().SetValue("BAUD_RATE", "19200");
    }
    ~AutoDetectTest() override { SetFormRunner(previous_); }

    // Runs Setup Communications Port: picks 9600, presses Auto Detect, notes
    // the selected port, then ends the form with `button`.
    void DetectThen(const char* button)
    {
        previous_ = SetFormRunner([this, button](QDialog& dlg) {
            auto* port = FindField<QComboBox>(&dlg, "Com Port");
            FindField<QComboBox>(&dlg, "Baud Rate")->setCurrentText("9600");
            FindButton(&dlg, "Auto Detect")->click();
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
    OpenRecorder link;
    std::string selected;

private:
    FormRunner previous_;
};

class AutoDetectFinds : public AutoDetectTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(AutoDetectFinds, SimulatorOnCom3)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir, 3, 19200);
    dir.Settings().SetValue("SERIAL_PORT", "1");
    const bool ok = GetParam() == std::string("OK");

    DetectThen(GetParam());

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
    // The rate the scan used is stored only by OK.
    EXPECT_EQ(Stored("BAUD_RATE"), ok ? "9600" : "19200");
}

INSTANTIATE_TEST_SUITE_P(ThenButton, AutoDetectFinds, ::testing::Values("Cancel", "OK"));

TEST_F(AutoDetectTest, NothingFoundTriesAllEightAndStoresNothing)
{
    const std::string before = dir.ReadFile("config.txt");
    DetectThen("Cancel");
    ASSERT_EQ(messages.Shown().size(), 1u);
    EXPECT_EQ(messages.Shown()[0].text,
              "No Corvane Logger Found.  Please check Serial Port settings and connections.");
    EXPECT_EQ(messages.Shown()[0].caption, "Error");
    EXPECT_EQ(selected, "COM1");
    EXPECT_EQ(link.opens.size(), 8u);
    EXPECT_EQ(link.opens.back(), "COM8 9600 failed");
    EXPECT_EQ(dir.ReadFile("config.txt"), before);
}

TEST_F(AutoDetectTest, ConsoleWithoutLoggerIsPassedOver)
{
    SimFixture silent(SimKind::Aloha);
    silent.SetFault(SimFault::NoLogger);
    silent.UseAsPort(dir, 2, 19200);
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir, 5, 19200);
    dir.Settings().SetValue("SERIAL_PORT", "1");
    DetectThen("Cancel");
    EXPECT_EQ(messages.Texts(), (Lines{"Corvane Logger found on COM5 "}));
    EXPECT_EQ(silent.ModuleLines(), (Lines{"MOD00\n"}));
    EXPECT_EQ(Stored("SERIAL_PORT"), "5");
}

}  // namespace
