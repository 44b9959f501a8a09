// The port settings form: what it selects on opening, what OK gives back
// and stores, and the device a COM number stands for.

#include "link/ui/CCommPortDlg.h"
#include "FormFinder.h"
#include "TestSupport.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

QComboBox* PortList(QWidget* dlg) { return FindField<QComboBox>(dlg, "Com Port"); }
QComboBox* BaudList(QWidget* dlg) { return FindField<QComboBox>(dlg, "Baud Rate"); }

TEST(CommPortForm, CaptionsChoicesAndTheDeviceOfTheSelectedPort)
{
    TempWorkDir dir("COM1_DEVICE=/dev/ttyUSB0\nCOM3_DEVICE=/dev/serial/by-id/usb-FTDI_FT232R-if00-port0\n");
    CCommPortDlg dlg(nullptr, 1, 19200);
    EXPECT_EQ(dlg.windowTitle(), "Communications Port Settings");
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "Select Communications Port");
    QStringList ports, bauds;
    for (int i = 0; i < PortList(&dlg)->count(); ++i) ports << PortList(&dlg)->itemText(i);
    for (int i = 0; i < BaudList(&dlg)->count(); ++i) bauds << BaudList(&dlg)->itemText(i);
    EXPECT_EQ(ports, (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}));
    EXPECT_EQ(bauds, (QStringList{"1200", "2400", "4800", "9600", "14400", "19200"}));
    EXPECT_FALSE(PortList(&dlg)->isEditable() || BaudList(&dlg)->isEditable());
    for (const char* b : {"Auto Detect", "Cancel"}) EXPECT_NE(FindButton(&dlg, b), nullptr) << b;
    EXPECT_TRUE(qobject_cast<QPushButton*>(FindButton(&dlg, "OK"))->isDefault());

    auto* device = FindField<QLabel>(&dlg, "Device");
    ASSERT_NE(device, nullptr);
    for (auto [index, shown] : {std::pair{0, "/dev/ttyUSB0"}, {2, "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0"},
                                {1, "(no device: set COM2_DEVICE in config.txt)"}, {-1, ""}}) {
        PortList(&dlg)->setCurrentIndex(index);  // 0: as opened for COM1
        EXPECT_EQ(device->text(), shown) << index;
    }
}

TEST(CommPortForm, SelectionsOnOpening)
{
    struct Case { int port, baud, portIndex; const char* baudShown; };  // portIndex -1: none
    for (const Case& c : {Case{1, 1200, 0, "1200"}, Case{8, 4800, 7, "4800"}, Case{2, 14400, 1, "14400"},
                          Case{0, 0, -1, "19200"}, Case{9, 57600, -1, "19200"}, Case{-1, 300, -1, "19200"},
                          Case{65537, 1200, -1, "1200"}}) {
        TempWorkDir dir;
        CCommPortDlg dlg(nullptr, c.port, c.baud);
        EXPECT_EQ(PortList(&dlg)->currentIndex(), c.portIndex) << c.port;
        EXPECT_EQ(BaudList(&dlg)->currentText(), c.baudShown) << c.baud;
    }
}

TEST(CommPortForm, OkGivesPortAndBaudAndStoresOnlyTheBaudCancelNothing)
{
    struct Case { const char* button; int portIndex, baudIndex, port, baud; const char* stored; };
    for (const Case& c : {Case{"OK", -1, 0, 1, 1200, "1200"}, Case{"OK", 4, 3, 5, 9600, "9600"},
                          Case{"OK", 7, 5, 8, 19200, "19200"}, Case{"OK", 2, -1, 3, 19200, "19200"},
                          Case{"Cancel", 1, 5, 0, 0, "2400"}}) {  // Cancel: the 0, 0 given
        TempWorkDir dir("SERIAL_PORT=6\nBAUD_RATE=2400\n");
        CCommPortDlg dlg(nullptr, 0, 0);
        PortList(&dlg)->setCurrentIndex(c.portIndex);
        BaudList(&dlg)->setCurrentIndex(c.baudIndex);
        FindButton(&dlg, c.button)->click();
        EXPECT_EQ(dlg.result(), c.button == std::string("OK") ? QDialog::Accepted : QDialog::Rejected);
        EXPECT_EQ(std::make_pair(dlg.Port(), dlg.Baud()), std::make_pair(c.port, c.baud));
        dir.Restart();
        EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "6");
        EXPECT_EQ(dir.Settings().GetValue("BAUD_RATE"), c.stored);
    }
}

// The device behind a COM number in "Communications Port Settings": the
// devices of a /dev tree the test lays out, the selected number's device,
// and OK storing what is chosen or typed for that number only.
TEST(DeviceChoice, ListsTheDevicesPresentShowsTheNumbersDeviceAndOkStoresItForThatNumber)
{
    RecordingMessages messages;  // the device tree's own config.txt is missing
    TempWorkDir devRoot(nullptr);
    std::filesystem::create_directories(devRoot.Path() / "dev/serial/by-id");
    for (const char* name : {"ttyS10", "ttyS2", "ttyACM0", "ttyUSB0", "ttyUSB", "ttySX", "null"})
        devRoot.WriteFile(std::string("dev/") + name, "");
    std::filesystem::create_symlink("../../ttyUSB0", devRoot.Path() / "dev/serial/by-id/usb-FTDI_A1-if00-port0");
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
        PortList(&dlg)->setCurrentIndex(1);
        EXPECT_EQ(devices->currentText(), "/dev/ttyUSB1");
        *typed ? devices->setEditText(typed) : devices->setCurrentIndex(0);
        FindButton(&dlg, "OK")->click();
        std::string expected = config;
        expected.replace(expected.find("/dev/ttyUSB1"), 12, *typed ? "/dev/pts/7" : "/dev/serial/by-id/usb-FTDI_A1-if00-port0");
        EXPECT_EQ(dir.ReadFile("config.txt"), expected);
    }
}

}  // namespace
