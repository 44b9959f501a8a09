#include "link/ui/CCommPortDlg.h"

#include "settings/DBConfigParser.h"
#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "detect/LoggerDetection.h"
#include "base/NumericText.h"
#include "link/SerialDevices.h"
#include "settings/SettingsKeys.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <array>
#include <cstdio>

namespace {

// List positions and the values they stand for.
struct PortChoice {
    const char* text;
    int port;
};
constexpr std::array<PortChoice, 8> kPorts{{{"COM1", 1}, {"COM2", 2}, {"COM3", 3}, {"COM4", 4},
                                            {"COM5", 5}, {"COM6", 6}, {"COM7", 7}, {"COM8", 8}}};
// Unknown or missing selections fall back to the first port.
constexpr int kFallbackPort = 1;

struct BaudChoice {
    const char* text;
    int baud;
};
constexpr std::array<BaudChoice, 6> kBauds{{{"1200", 1200}, {"2400", 2400}, {"4800", 4800},
                                            {"9600", 9600}, {"14400", 14400}, {"19200", 19200}}};
// Any rate not in the list is shown, and taken, as the last one.
constexpr int kFallbackBaudIndex = static_cast<int>(kBauds.size()) - 1;

int PortIndex(int port)
{
    for (std::size_t i = 0; i < kPorts.size(); ++i)
        if (kPorts[i].port == port) return static_cast<int>(i);
    return -1;
}

int PortAt(int index)
{
    return index >= 0 && index < static_cast<int>(kPorts.size()) ? kPorts[index].port
                                                                   : kFallbackPort;
}

int BaudIndex(int baud)
{
    for (std::size_t i = 0; i < kBauds.size(); ++i)
        if (kBauds[i].baud == baud) return static_cast<int>(i);
    return kFallbackBaudIndex;
}

int BaudAt(int index)
{
    return index >= 0 && index < static_cast<int>(kBauds.size()) ? kBauds[index].baud
                                                                  : kBauds[kFallbackBaudIndex].baud;
}

std::string DeviceKey(int port)
{
    char keyName[32];
    std::snprintf(keyName, sizeof keyName, key::ComDeviceFormat, port);
    return keyName;
}

QString DeviceText(int index)
{
    if (index < 0) return {};
    const std::string keyName = DeviceKey(PortAt(index));
    const std::string device = Settings().GetValue(keyName);
    if (device.empty()) return QString("(no device: set %1 in config.txt)").arg(QString::fromStdString(keyName));
    return QString::fromStdString(device);
}

}  // namespace

CCommPortDlg::CCommPortDlg(QWidget* owner, int port, int baud, const std::filesystem::path& deviceRoot)
    : QDialog(owner), port_(static_cast<short>(port)), baud_(baud)
{
    setWindowTitle("Communications Port Settings");

    auto* frame = new QGroupBox("Select Communications Port", this);
    auto* grid = new QGridLayout(frame);

    auto* portCaption = new QLabel("Com Port", frame);
    portList_ = new QComboBox(frame);
    for (const PortChoice& c : kPorts) portList_->addItem(c.text);
    portList_->setCurrentIndex(PortIndex(port));
    BindCaption(portCaption, portList_);
    grid->addWidget(portCaption, 0, 0);
    grid->addWidget(portList_, 0, 1);

    // On Linux a COM number means whatever device config.txt names for it:
    // the list offers the devices present, stable by-id names first, and
    // any path can be typed. OK stores it for the selected COM number.
    auto* deviceCaption = new QLabel("Serial Device", frame);
    deviceChoice_ = new QComboBox(frame);
    deviceChoice_->setEditable(true);
    deviceChoice_->setInsertPolicy(QComboBox::NoInsert);
    deviceChoice_->setMinimumContentsLength(28);
    deviceChoice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    for (const std::string& path : ListSerialDevices(deviceRoot))
        deviceChoice_->addItem(QString::fromStdString(path));
    BindCaption(deviceCaption, deviceChoice_);
    grid->addWidget(deviceCaption, 0, 2);
    grid->addWidget(deviceChoice_, 0, 3);

    // What the selected COM number opens now, as config.txt holds it.
    device_ = new QLabel(frame);
    device_->setAccessibleName("Device");
    device_->setTextFormat(Qt::PlainText);
    device_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(device_, 1, 3);

    auto* baudCaption = new QLabel("Baud Rate", frame);
    baudList_ = new QComboBox(frame);
    for (const BaudChoice& c : kBauds) baudList_->addItem(c.text);
    baudList_->setCurrentIndex(BaudIndex(baud));
    BindCaption(baudCaption, baudList_);
    grid->addWidget(baudCaption, 1, 0);
    grid->addWidget(baudList_, 1, 1);

    auto* detect = new QPushButton("Auto Detect", frame);
    detect->setAutoDefault(false);
    grid->addWidget(detect, 2, 1);

    auto* ok = new QPushButton("OK", this);
    auto* cancel = new QPushButton("Cancel", this);
    QHBoxLayout* buttons = ButtonRow({ok, cancel});

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);

    ShowPortDevice();
    connect(portList_, &QComboBox::currentIndexChanged, this, &CCommPortDlg::ShowPortDevice);
    connect(detect, &QPushButton::clicked, this, &CCommPortDlg::OnAutoDetect);
    connect(ok, &QPushButton::clicked, this, &CCommPortDlg::OnOK);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CCommPortDlg::ShowPortDevice()
{
    const int index = portList_->currentIndex();
    device_->setText(DeviceText(index));
    deviceChoice_->setEditText(
        index < 0 ? QString() : QString::fromStdString(Settings().GetValue(DeviceKey(PortAt(index)))));
}

void CCommPortDlg::OnAutoDetect()
{
    const int baud = ReadInt(baudList_->currentText().toStdString());
    int found = 0;
    {
        WaitCursorGuard wait;
        found = RunLink([baud] { return ScanPorts(baud); });
    }
    port_ = static_cast<short>(found);

    UserMessage message;
    message.parent = this;
    if (found != 0) {
        char text[64];
        std::snprintf(text, sizeof text, kFoundFormat, found);
        message.text = text;
        message.caption = kFoundCaption;
        ShowMessage(message);
        portList_->setCurrentIndex(PortIndex(found));
    } else {
        message.text = kNoLoggerFound;
        message.caption = kNotFoundCaption;
        ShowMessage(message);
    }
}

void CCommPortDlg::OnOK()
{
    port_ = static_cast<short>(PortAt(portList_->currentIndex()));
    baud_ = BaudAt(baudList_->currentIndex());
    // An empty device box leaves the COM number's device as it was.
    const std::string device = deviceChoice_->currentText().trimmed().toStdString();
    if (!device.empty()) Settings().SetValue(DeviceKey(port_), device);
    Settings().SetValue(key::BaudRate, baud_);
    accept();
}
