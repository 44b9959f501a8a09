#pragma once
#include <QDialog>

#include <vector>

class QCheckBox;
class QComboBox;

// "Station Configuration": the console model and the accessories that decide
// which parameters the alarm conditions offer, stored as AOM_STATION_CONFIG.
class CAomStationConfigDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAomStationConfigDlg(QWidget* parent);

    static constexpr const char* kHelpFile = "AOMStationConfigHelp.txt";

private slots:
    void OnModelChanged(int index);
    void OnOK();
    void OnHelp();

private:
    QComboBox* model_;
    // One box per accessory, in the order of the accessory table in the .cpp.
    std::vector<QCheckBox*> boxes_;
};
