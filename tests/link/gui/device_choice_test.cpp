// The device behind a COM number in "Communications Port Settings": the
// devices of a /dev tree the test lays out, the selected number's device,
// and OK storing what is chosen or typed for that number only.

#include "CCommPortDlg.h"
#include "FormFinder.h"
#include "TestSupport.h"

#include <QComboBox>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

TEST(DeviceChoice, ListsTheDevicesPresentShowsTheNumbersDeviceAndOkStoresItForThatNumber)
{
    RecordingMessages messages;  // the device tree's own config.txt is missing
    TempWorkDir devRoot(nullptr);
    fs::create_directories(devRoot.Path() / "dev/serial/by-id");
    for (const char* name : {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB0", "ttyUSB", "ttySX", "null"})
        devRoot.WriteFile(std::string("dev/") + name, "");
    fs::create_symlink("../../ttyUSB0", devRoot.Path() / "dev/serial/by-id/usb-FTDI_A1-if00-port0");
    const std::string config = "# COM1_DEVICE=x\r\nBAUD_RATE=19200\r\nCOM1_DEVICE=/dev/ttyUSB0\r\nCOM2_DEVICE=/dev/ttyUSB1\r\n";

    for (const char* typed : {"", " /dev/pts/7 "}) {  // chosen from the list, or typed
        TempWorkDir dir(config.c_str());
        CCommPortDlg dlg(nullptr, 1, 19200, devRoot.Path());
        auto* devices = FindField<QComboBox>(&dlg, "Serial Device");
        ASSERT_TRUE(devices && devices->isEditable());
        QStringList listed;
        for (int i = 0; i < devices->count(); ++i) listed << devices->itemText(i);
        EXPECT_EQ(listed, (QStringList{"/dev/serial/by-id/usb-FTDI_A1-if00-port0", "/dev/ttyUSB0", "/dev/ttyACM0",
                                       "/dev/ttyS2", "/dev/ttyS10"}));
        EXPECT_EQ(devices->currentText(), "/dev/ttyUSB0");
        FindField<QComboBox>(&dlg, "Com Port")->setCurrentIndex(1);
        EXPECT_EQ(devices->currentText(), "/dev/ttyUSB1");
        *typed ? devices->setEditText(typed) : devices->setCurrentIndex(0);
        FindButton(&dlg, "OK")->click();
        std::string expected = config;
        expected.replace(expected.find("/dev/ttyUSB1"), 12, *typed ? "/dev/pts/7" : "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
        EXPECT_EQ(dir.ReadFile("config.txt"), expected);
    }
}
