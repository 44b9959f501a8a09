#pragma once
#include "loggers/LoggerChecks.h"
#include "loggers/IrrigationSettings.h"

#include <QDialog>

class CLoggerSettings;
class CNumericEdit;
class QCheckBox;
class QGroupBox;
class QLabel;
class QRadioButton;

// "Irrigation Configuration": time-out and the residential watering schedule,
// rain shown in inches or millimetres as the user chooses. The record always
// holds inches; only the fields show millimetres.
class CIrrigationConfigDlg : public QDialog {
    Q_OBJECT
public:
    CIrrigationConfigDlg(QWidget* parent, CIrrigationSettings& settings);

    static constexpr const char* kInvalidTimeout = kInvalidTimeout255;
    static constexpr const char* kInvalidCycle = ::kInvalidCycle;

    bool ShowsInches() const { return inches_; }

private slots:
    void ApplyResidential();
    void OnInches();
    void OnMm();
    void OnDefault();
    void OnOK();
    void OnAdvanced();
    void OnCircuitTest();
    void OnHelp();

private:
    void SwitchUnit(bool inches);
    void SetUnitLabels(bool inches);
    void Refuse(const std::string& message, QWidget* field);

    CIrrigationSettings& settings_;
    bool inches_ = true;
    CNumericEdit* timeout_;
    QCheckBox* residential_;
    QGroupBox* residentialGroup_;
    CNumericEdit* cycle_;
    CNumericEdit* amount_;
    CNumericEdit* maxDailyRain_;
    CNumericEdit* maxRainTotal_;
    CNumericEdit* cutoff_;
    QLabel* amountUnit_;
    QLabel* dailyUnit_;
    QLabel* totalUnit_;
    QLabel* cutoffUnit_;
    QRadioButton* inchesRadio_;
    QRadioButton* mmRadio_;
};

// The irrigation kind's Configure: runs the form over the record's owner.
void RunIrrigationConfigForm(CLoggerSettings& record);
