#pragma once
// "Alarm Output Module": the module's own settings and one conditions page
// per output.

#include <QDialog>

class CAomOutputTabCtrl;
class CAomSettings;
class CLoggerSettings;
class CNumericEdit;
class QCheckBox;
class QPushButton;

class CAomDlg : public QDialog {
    Q_OBJECT
public:
    // Reads the station's transmitters, loads the units and each output's
    // conditions from the module; on first use the station configuration
    // comes first.
    CAomDlg(QWidget* parent, CAomSettings& settings);

    CAomOutputTabCtrl* Tabs() const { return tabs_; }

    static constexpr const char* kHelpFile = "AlarmOutputModuleHelp.txt";

private slots:
    void OnUsedRowsChanged();
    void OnStationConfig();
    void OnSetUnits();
    void OnOutputTest();
    void OnDownloadLogs();
    void OnClearLogs();
    void OnOK();
    void OnHelp();

private:
    void Show();

    CAomSettings& settings_;
    CAomOutputTabCtrl* tabs_;
    CNumericEdit* timeout_;
    QCheckBox* alarmLogging_;
    QPushButton* stationConfig_;
};

// The configure form of the alarm output module's record.
void RunAomConfigForm(CLoggerSettings& record);
