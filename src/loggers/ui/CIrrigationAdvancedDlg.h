#pragma once
#include "loggers/LoggerChecks.h"
#include "loggers/IrrigationSettings.h"

#include <QDialog>

class CNumericEdit;
class QRadioButton;

// "Advanced": how the irrigation logger drives its alarm output. OK writes
// these settings to the logger at once and keeps them in the record.
class CIrrigationAdvancedDlg : public QDialog {
    Q_OBJECT
public:
    CIrrigationAdvancedDlg(QWidget* parent, CIrrigationSettings& settings);

    static constexpr const char* kInvalidDuration = ::kInvalidDuration;
    static constexpr const char* kInvalidReactivation = ::kInvalidReactivation;
    static constexpr const char* kInvalidPulseWidth = ::kInvalidPulseWidth;

private slots:
    void OnDefault();
    void OnOK();
    void OnHelp();

private:
    void Refuse(const char* message, QWidget* field);

    CIrrigationSettings& settings_;
    CNumericEdit* duration_;
    CNumericEdit* reactivation_;
    CNumericEdit* pulseWidth_;
    QRadioButton* continuous_;
    QRadioButton* pulse_;
    QRadioButton* normallyOpen_;
    QRadioButton* normallyClosed_;
};
