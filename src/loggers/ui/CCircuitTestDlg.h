#pragma once
#include "base/ui/CSwitchTestDlg.h"
#include "loggers/IrrigationCircuit.h"
#include "loggers/IrrigationSettings.h"

// "Circuit Test": the four outputs of the irrigation logger switched by hand.
// The form reads each circuit's state before it shows; while it is open the
// poller keeps sending the states of the four buttons to the logger.
class CCircuitTestDlg : public CSwitchTestDlg {
    Q_OBJECT
public:
    CCircuitTestDlg(QWidget* parent, CIrrigationSettings& settings);
    ~CCircuitTestDlg() override;

private slots:
    void OnHelp();

private:
    std::optional<SwitchStates> ReadPositions() override;
    void Poll(SwitchTestBlock& block) override;
};
