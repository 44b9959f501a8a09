#pragma once
// "Output Test": the four relays switched by hand.

#include "aom/OutputTest.h"

#include <QDialog>

#include <array>
#include <memory>
#include <thread>

class QPushButton;

// Reads the four relay positions before it shows; while it is open a worker
// re-sends the positions of the four buttons every four seconds, and each
// press is sent at once, in order, by a sender of its own.
class COutputTestDlg : public QDialog {
    Q_OBJECT
public:
    enum class Phase {
        NotStarted,
        Reading,  // the positions are being read; the form is not usable yet
        Testing,  // the worker runs
        Closing,  // stop is set and the form waits for the worker
        Closed,
    };

    explicit COutputTestDlg(QWidget* parent);
    ~COutputTestDlg() override;

    // Reads the positions and starts the worker. False when a position could
    // not be read or the worker could not start: the form has then ended
    // with the Cancel result, without a message, and must not be shown.
    bool Start();
    int exec() override;
    // OK, Escape and the close box all end here: the worker is stopped and
    // waited for before the form closes; nothing more is sent.
    void done(int result) override;

    Phase CurrentPhase() const { return phase_; }

    static constexpr const char* kOpen = "Open";
    static constexpr const char* kClosed = "Closed";

private:
    void Show(int output, bool closed);
    void OnPressed(int output, bool closed);
    void StopWorker();

    std::array<QPushButton*, kRelayCount> buttons_{};
    Phase phase_ = Phase::NotStarted;
    std::unique_ptr<OutputTestBlock> block_;
    std::thread worker_;
    std::unique_ptr<RelayPressSender> presses_;
};

// Runs the test modally over parent.
void RunOutputTest(QWidget* parent);
