// The port settings form: what it selects on opening, what OK gives back
// and stores, and the device a COM number stands for.

#include "CCommPortDlg.h"
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

QStringList Entries(QComboBox* list)
{
    QStringList items;
    for (int i = 0; i < list->count(); ++i) items << list->itemText(i);
    return items;
}

TEST(CommPortForm, Layout)
{
    TempWorkDir dir;
    CCommPortDlg dlg(nullptr, 1, 19200);
    EXPECT_EQ(dlg.windowTitle(), "Communications Port Settings");
    ASSERT_NE(dlg.findChild<QGroupBox*>(), nullptr);
    EXPECT_EQ(dlg.findChild<QGroupBox*>()->title(), "Select Communications Port");
    ASSERT_NE(PortList(&dlg), nullptr);
    ASSERT_NE(BaudList(&dlg), nullptr);
    EXPECT_FALSE(PortList(&dlg)->isEditable());
    EXPECT_FALSE(BaudList(&dlg)->isEditable());
    EXPECT_EQ(Entries(PortList(&dlg)),
              (QStringList{"COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7", "COM8"}));
    EXPECT_EQ(Entries(BaudList(&dlg)), (QStringList{"1200", "2400", "4800", "9600", "14400", "19200"}));
    for (const char* b : {"Auto Detect", "OK", "Cancel"}) EXPECT_NE(FindButton(&dlg, b), nullptr) << b;
    EXPECT_TRUE(qobject_cast<QPushButton*>(FindButton(&dlg, "OK"))->isDefault());
}

struct OpenCase {
    int port;
    int baud;
    int portIndex;  // -1: nothing selected
    const char* baudShown;
};

class CommPortOpening : public ::testing::TestWithParam<OpenCase> {};

TEST_P(CommPortOpening, Selections)
{
    const OpenCase& c = GetParam();
    TempWorkDir dir;
    CCommPortDlg dlg(nullptr, c.port, c.baud);
    EXPECT_EQ(PortList(&dlg)->currentIndex(), c.portIndex);
    EXPECT_EQ(BaudList(&dlg)->currentText(), c.baudShown);
}

INSTANTIATE_TEST_SUITE_P(
    Values, CommPortOpening,
    ::testing::Values(OpenCase{1, 1200, 0, "1200"}, OpenCase{3, 2400, 2, "2400"},
                      OpenCase{8, 4800, 7, "4800"}, OpenCase{5, 9600, 4, "9600"},
                      OpenCase{2, 14400, 1, "14400"}, OpenCase{2, 19200, 1, "19200"},
                      OpenCase{0, 0, -1, "19200"}, OpenCase{9, 57600, -1, "19200"},
                      OpenCase{-1, 300, -1, "19200"}, OpenCase{65537, 1200, -1, "1200"}));

struct OkCase {
    int portIndex;  // -1: nothing selected
    int baudIndex;
    int port;
    int baud;
};

class CommPortOk : public ::testing::TestWithParam<OkCase> {};

TEST_P(CommPortOk, GivesPortAndBaudAndStoresOnlyTheBaud)
{
    const OkCase& c = GetParam();
    TempWorkDir dir("SERIAL_PORT=6\nBAUD_RATE=2400\n");
    CCommPortDlg dlg(nullptr, 0, 0);
    PortList(&dlg)->setCurrentIndex(c.portIndex);
    BaudList(&dlg)->setCurrentIndex(c.baudIndex);
    FindButton(&dlg, "OK")->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Port(), c.port);
    EXPECT_EQ(dlg.Baud(), c.baud);
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "6");
    EXPECT_EQ(dir.Settings().GetValue("BAUD_RATE"), std::to_string(c.baud));
}

INSTANTIATE_TEST_SUITE_P(Values, CommPortOk,
                         ::testing::Values(OkCase{-1, 0, 1, 1200}, OkCase{0, 1, 1, 2400},
                                           OkCase{1, 2, 2, 4800}, OkCase{4, 3, 5, 9600},
                                           OkCase{6, 4, 7, 14400}, OkCase{7, 5, 8, 19200},
                                           OkCase{2, -1, 3, 19200}));

TEST(CommPortForm, CancelStoresNothing)
{
    TempWorkDir dir("SERIAL_PORT=6\nBAUD_RATE=2400\n");
    const std::string before = dir.ReadFile("config.txt");
    CCommPortDlg dlg(nullptr, 6, 2400);
    PortList(&dlg)->setCurrentIndex(1);
    BaudList(&dlg)->setCurrentIndex(5);
    FindButton(&dlg, "Cancel")->click();
    EXPECT_EQ(dlg.result(), QDialog::Rejected);
    EXPECT_EQ(dir.ReadFile("config.txt"), before);
}

TEST(CommPortForm, ShowsTheDeviceOfTheSelectedPort)
{
    TempWorkDir dir("COM1_DEVICE=/dev/ttyUSB0\nCOM3_DEVICE=/dev/serial/by-id/usb-FTDI_FT232R-if00-port0\n");
    CCommPortDlg dlg(nullptr, 1, 19200);
    auto* device = FindField<QLabel>(&dlg, "Device");
    ASSERT_NE(device, nullptr);
    EXPECT_EQ(device->text(), "/dev/ttyUSB0");
    PortList(&dlg)->setCurrentIndex(2);
    EXPECT_EQ(device->text(), "/dev/serial/by-id/usb-FTDI_FT232R-if00-port0");
    PortList(&dlg)->setCurrentIndex(1);
    EXPECT_EQ(device->text(), "(no device: set COM2_DEVICE in config.txt)");
    PortList(&dlg)->setCurrentIndex(-1);
    EXPECT_EQ(device->text(), "");
}

}  // namespace
