#pragma once
#include "loggers/IrrigationCircuit.h"

#include <QDialog>

#include <array>
#include <memory>
#include <thread>

class QPushButton;

// "Circuit Test": the four outputs of the irrigation logger switched by hand.
// The form reads each circuit's state before it shows; while it is open a
// worker keeps sending the states of the four buttons to the logger.
class CCircuitTestDlg : public QDialog {
    Q_OBJECT
public:
    enum class Phase {
        NotStarted,
        Reading,  // the four states are being read; the form is not usable yet
        Testing,  // the worker runs
        Closing,  // stop is set and the form waits for the worker
        Closed,
    };

    CCircuitTestDlg(QWidget* parent, CIrrigationSettings& settings);
    ~CCircuitTestDlg() override;

    // Reads the states and starts the worker. False when a state could not
    // be read or the worker could not start: the form has then ended with
    // the Cancel result, without a message, and must not be shown.
    bool Start();
    // Starts the form (unless Start was already called) and runs it modally.
    int exec() override;
    // OK, Escape and the close box all end here: the worker is stopped and
    // waited for before the form closes.
    void done(int result) override;

    Phase CurrentPhase() const { return phase_; }

    static constexpr const char* kOpen = "Open";
    static constexpr const char* kClosed = "Closed";

private slots:
    void OnHelp();

private:
    void OnToggled(int circuit, bool closed);
    void StopWorker();

    CIrrigationSettings& settings_;
    std::array<QPushButton*, kCircuitCount> buttons_{};
    Phase phase_ = Phase::NotStarted;
    std::unique_ptr<CircuitTestThreadParams> params_;
    std::thread worker_;
};
