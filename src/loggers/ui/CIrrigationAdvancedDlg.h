#pragma once
#include "IrrigationSettings.h"

#include <QDialog>

class CNumericEdit;
class QRadioButton;

// "Advanced": how the irrigation logger drives its alarm output. OK writes
// these settings to the logger at once and keeps them in the record.
class CIrrigationAdvancedDlg : public QDialog {
    Q_OBJECT
public:
    CIrrigationAdvancedDlg(QWidget* parent, CIrrigationSettings& settings);

    static constexpr const char* kInvalidDuration =
        "Invalid Alarm Duration! Must be between 0 and 999";
    static constexpr const char* kInvalidReactivation =
        "Invalid Alarm Reactivation! Must be between 0 and 999";
    static constexpr const char* kInvalidPulseWidth =
        "Invalid Pulse Width! Must be between 1 and 9999";

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
