// Setup Communications Port: the form opens on the stored values and OK
// stores both; Cancel stores nothing of its own.

#include "CCommPortDlg.h"
#include "FormFinder.h"
#include "FormSupport.h"
#include "SetupCommands.h"
#include "TestSupport.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace {

struct Seen {
    int portIndex = -2;
    QString baud;
};

// Runs the form: notes what it opened with, picks the given entries, presses
// the button.
FormRunner Pick(Seen& seen, int portIndex, int baudIndex, const char* button)
{
    return [&seen, portIndex, baudIndex, button](QDialog& dlg) {
        auto* port = FindField<QComboBox>(&dlg, "Com Port");
        auto* baud = FindField<QComboBox>(&dlg, "Baud Rate");
        seen.portIndex = port->currentIndex();
        seen.baud = baud->currentText();
        port->setCurrentIndex(portIndex);
        baud->setCurrentIndex(baudIndex);
        FindButton(&dlg, button)->click();
        return dlg.result();
    };
}

class SetupCommPortTest : public ::testing::Test {
protected:
    ~SetupCommPortTest() override { SetFormRunner(previous_); }
    void Use(FormRunner runner) { previous_ = SetFormRunner(std::move(runner)); }
    FormRunner previous_;
};

TEST_F(SetupCommPortTest, OkStoresPortAndBaud)
{
    TempWorkDir dir("SERIAL_PORT=2\nBAUD_RATE=4800\n");
    Seen seen;
    Use(Pick(seen, 3, 3, "OK"));
    SetupCommPort(nullptr);
    EXPECT_EQ(seen.portIndex, 1);
    EXPECT_EQ(seen.baud, "4800");
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "4");
    EXPECT_EQ(dir.Settings().GetValue("BAUD_RATE"), "9600");
}

TEST_F(SetupCommPortTest, MissingSettingsOpenWithoutPortAndOkStoresPortOne)
{
    TempWorkDir dir("# nothing yet\n");
    Seen seen;
    Use(Pick(seen, -1, 5, "OK"));
    SetupCommPort(nullptr);
    EXPECT_EQ(seen.portIndex, -1);
    EXPECT_EQ(seen.baud, "19200");
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "1");
    EXPECT_EQ(dir.Settings().GetValue("BAUD_RATE"), "19200");
}

TEST_F(SetupCommPortTest, NotANumberReadsAsZero)
{
    TempWorkDir dir("SERIAL_PORT=COM3\nBAUD_RATE=fast\n");
    Seen seen;
    Use(Pick(seen, 0, 0, "Cancel"));
    SetupCommPort(nullptr);
    EXPECT_EQ(seen.portIndex, -1);
    EXPECT_EQ(seen.baud, "19200");
}

TEST_F(SetupCommPortTest, CancelStoresNothing)
{
    TempWorkDir dir("SERIAL_PORT=2\nBAUD_RATE=4800\n");
    const std::string before = dir.ReadFile("config.txt");
    Seen seen;
    Use(Pick(seen, 6, 0, "Cancel"));
    SetupCommPort(nullptr);
    EXPECT_EQ(dir.ReadFile("config.txt"), before);
}

}  // namespace
