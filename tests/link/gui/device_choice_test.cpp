// Choosing the device behind a COM number in "Communications Port
// Settings": the devices present, the selected number's current device, and
// OK storing what is chosen or typed for that number only.

#include "CCommPortDlg.h"
#include "FormFinder.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfig =
    "# COM1_DEVICE=/dev/ttyUSB0 in a comment stays\n"
    "SERIAL_PORT=1\nBAUD_RATE=19200\n"
    "COM1_DEVICE=/dev/ttyUSB0\nCOM2_DEVICE=/dev/ttyUSB1\nCOM3_DEVICE=/dev/ttyUSB2\n";

// The store rewrites every line with the platform's line end.
std::string Crlf(const std::string& text)
{
    std::string out;
    for (char ch : text) out += ch == '\n' ? std::string("\r\n") : std::string(1, ch);
    return out;
}

class DeviceChoice : public ::testing::Test {
protected:
    DeviceChoice()
    {
        fs::create_directories(devRoot.Path() / "dev/serial/by-id");
        for (const char* name : {"ttyS1", "ttyS0", "ttyACM0", "ttyUSB0"}) devRoot.WriteFile(std::string("dev/") + name, "");
        fs::create_symlink("../../ttyUSB0", devRoot.Path() / "dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0");
        messages.Clear();  // the device tree's own missing config.txt
    }
    QComboBox* Devices(QWidget* dlg) { return FindField<QComboBox>(dlg, "Serial Device"); }
    QComboBox* Ports(QWidget* dlg) { return FindField<QComboBox>(dlg, "Com Port"); }

    RecordingMessages messages;
    TempWorkDir devRoot{nullptr};
    TempWorkDir dir{kConfig};  // made current last
};

TEST_F(DeviceChoice, ListsTheDevicesPresentAndShowsTheSelectedNumbersDevice)
{
    CCommPortDlg dlg(nullptr, 2, 19200, devRoot.Path());
    QComboBox* devices = Devices(&dlg);
    ASSERT_NE(devices, nullptr);
    EXPECT_TRUE(devices->isEditable());
    QStringList listed;
    for (int i = 0; i < devices->count(); ++i) listed << devices->itemText(i);
    EXPECT_EQ(listed, (QStringList{"/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0", "/dev/ttyUSB0",
                                   "/dev/ttyACM0", "/dev/ttyS0", "/dev/ttyS1"}));
    EXPECT_EQ(devices->currentText(), "/dev/ttyUSB1");
    Ports(&dlg)->setCurrentIndex(2);
    EXPECT_EQ(devices->currentText(), "/dev/ttyUSB2");
    Ports(&dlg)->setCurrentIndex(4);
    EXPECT_EQ(devices->currentText(), "");
}

TEST_F(DeviceChoice, OkStoresTheChosenOrTypedDeviceForTheSelectedNumberOnly)
{
    struct Case { int portIndex; int listIndex; const char* typed; const char* key; const char* stored; };
    for (const Case& c : {Case{1, 0, nullptr, "COM2_DEVICE", "/dev/serial/by-id/usb-FTDI_FT232R_A1B2C3-if00-port0"},
                          Case{0, -1, "/dev/pts/7", "COM1_DEVICE", "/dev/pts/7"},
                          Case{-1, 2, nullptr, "COM1_DEVICE", "/dev/ttyACM0"},  // no selection: COM1
                          Case{2, -1, "", "COM3_DEVICE", "/dev/ttyUSB2"}}) {   // emptied: unchanged
        dir.WriteFile("config.txt", kConfig);
        dir.Restart();
        CCommPortDlg dlg(nullptr, 1, 19200, devRoot.Path());
        Ports(&dlg)->setCurrentIndex(c.portIndex);
        if (c.listIndex >= 0) Devices(&dlg)->setCurrentIndex(c.listIndex);
        if (c.typed) Devices(&dlg)->setEditText(c.typed);
        FindButton(&dlg, "OK")->click();
        dir.Restart();
        std::string expected = kConfig;
        const std::string line = std::string(c.key) + "=";
        const std::size_t at = expected.find("\n" + line) + 1;
        expected.replace(at, expected.find('\n', at) - at, line + c.stored);
        EXPECT_EQ(dir.ReadFile("config.txt"), Crlf(expected)) << c.key << " " << c.stored;
    }
    EXPECT_TRUE(messages.Texts().empty());
}

}  // namespace
