// The device behind a COM number in "Communications Port Settings": the
// devices of a /dev tree the test lays out, the selected number's device,
// and OK storing what is chosen or typed for that number only.

#include "CCommPortDlg.h"
#include "FormFinder.h"
#include "TestSupport.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfig = "# COM1_DEVICE=/dev/ttyUSB0 in a comment stays\r\nSERIAL_PORT=1\r\nBAUD_RATE=19200\r\n"
                                "COM1_DEVICE=/dev/ttyUSB0\r\nCOM2_DEVICE=/dev/ttyUSB1\r\nCOM3_DEVICE=/dev/ttyUSB2\r\n";

class DeviceChoice : public ::testing::Test {
protected:
    DeviceChoice()
    {
        fs::create_directories(devRoot.Path() / "dev/serial/by-id");
        for (const char* name : {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB0", "ttyUSB", "ttySX", "null"})
            devRoot.WriteFile(std::string("dev/") + name, "");
        fs::create_symlink("../../ttyUSB0", devRoot.Path() / "dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0");
        messages.Clear();  // the device tree's own missing config.txt
    }
    RecordingMessages messages;
    TempWorkDir devRoot{nullptr};
    TempWorkDir dir{kConfig};  // current
};

TEST_F(DeviceChoice, ListsTheDevicesPresentByIdFirstAndShowsTheSelectedNumbersDevice)
{
    CCommPortDlg dlg(nullptr, 2, 19200, devRoot.Path());
    auto* devices = FindField<QComboBox>(&dlg, "Serial Device");
    ASSERT_NE(devices, nullptr);
    EXPECT_TRUE(devices->isEditable());
    QStringList listed;
    for (int i = 0; i < devices->count(); ++i) listed << devices->itemText(i);
    EXPECT_EQ(listed, (QStringList{"/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0", "/dev/ttyUSB0", "/dev/ttyACM0",
                                   "/dev/ttyS2", "/dev/ttyS10"}));
    EXPECT_EQ(devices->currentText(), "/dev/ttyUSB1");
    FindField<QComboBox>(&dlg, "Com Port")->setCurrentIndex(2);
    EXPECT_EQ(devices->currentText(), "/dev/ttyUSB2");
}

TEST_F(DeviceChoice, OkStoresTheDeviceForTheSelectedNumberOnly)
{
    struct Case { int portIndex, listIndex; const char* typed; const char* before; const char* after; };
    for (const Case& c : {Case{1, 0, nullptr, "COM2_DEVICE=/dev/ttyUSB1", "COM2_DEVICE=/dev/serial/by-id/usb-FTDI_FT232R_A1-if00-port0"},
                          Case{-1, -1, " /dev/pts/7 ", "COM1_DEVICE=/dev/ttyUSB0", "COM1_DEVICE=/dev/pts/7"},  // none selected: COM1
                          Case{2, -1, "", "", ""}}) {  // emptied: unchanged
        dir.WriteFile("config.txt", kConfig);
        dir.Restart();
        CCommPortDlg dlg(nullptr, 1, 19200, devRoot.Path());
        FindField<QComboBox>(&dlg, "Com Port")->setCurrentIndex(c.portIndex);
        auto* devices = FindField<QComboBox>(&dlg, "Serial Device");
        if (c.listIndex >= 0) devices->setCurrentIndex(c.listIndex);
        if (c.typed) devices->setEditText(c.typed);
        FindButton(&dlg, "OK")->click();
        std::string expected = kConfig;
        if (*c.before) expected.replace(expected.find(std::string("\n") + c.before) + 1, strlen(c.before), c.after);
        EXPECT_EQ(dir.ReadFile("config.txt"), expected) << c.after;
    }
    EXPECT_TRUE(messages.Texts().empty());
}

}  // namespace
