#pragma once
#include <QDialog>

#include <filesystem>

class QComboBox;
class QLabel;

// "Communications Port Settings": the COM port and baud rate of the console,
// the serial device behind the chosen COM number, and Auto Detect, which
// searches COM1 to COM8 for a logger.
class CCommPortDlg : public QDialog {
    Q_OBJECT
public:
    // deviceRoot is where the device list looks for /dev (tests lay out
    // their own).
    CCommPortDlg(QWidget* owner, int port, int baud,
                 const std::filesystem::path& deviceRoot = "/");

    // Read after OK.
    int Port() const { return port_; }
    int Baud() const { return baud_; }

    static constexpr const char* kFoundFormat = "Corvane Logger found on COM%d ";
    static constexpr const char* kFoundCaption = "Auto Detect Success";
    static constexpr const char* kNotFoundCaption = "Error";

private slots:
    void OnAutoDetect();
    void OnOK();
    void ShowPortDevice();

private:
    short port_;
    int baud_;
    QComboBox* portList_;
    QComboBox* baudList_;
    QLabel* device_;
    QComboBox* deviceChoice_;
};
