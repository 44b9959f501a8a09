#pragma once
// What the circuit test and the output test share: a caption over an
// "Open"/"Closed" button for each of the four switches, the positions read
// before the form shows, then a poller on the link worker that keeps sending
// the buttons' positions until the form closes, and closing that stops the
// poller and waits for it.

#include "base/SwitchTest.h"

#include <QDialog>

#include <array>
#include <memory>
#include <optional>

class QHBoxLayout;
class QPushButton;

class CSwitchTestDlg : public QDialog {
    Q_OBJECT
public:
    enum class Phase {
        NotStarted,
        Reading,  // the positions are being read; the form is not usable yet
        Testing,  // the poller runs
        Closing,  // stop is set and the form waits for the poller
        Closed,
    };

    ~CSwitchTestDlg() override;

    // Reads the positions and starts the poller. False when a position could
    // not be read or the poller could not start: the form has then ended
    // with the Cancel result, without a message, and must not be shown.
    bool Start();
    // Starts the form (unless Start was already called) and runs it modally.
    int exec() override;
    // OK, Escape and the close box all end here: the poller is stopped and
    // waited for before the form closes; nothing more is sent.
    void done(int result) override;

    Phase CurrentPhase() const { return phase_; }

    static constexpr const char* kOpen = "Open";
    static constexpr const char* kClosed = "Closed";

protected:
    CSwitchTestDlg(QWidget* parent, const QString& title, const std::array<QString, kSwitchCount>& captions);
    // A button of the row at the foot, after OK.
    QPushButton* AddButton(const QString& text);

    // Reads the four positions, on the link; nullopt at the first failure.
    virtual std::optional<SwitchStates> ReadPositions() = 0;
    // The poller's loop, until block.stop, on the link worker.
    virtual void Poll(SwitchTestBlock& block) = 0;
    // On the link, once the poller has ended.
    virtual void AfterPoll() {}
    // A press of a switch's button while the poller runs.
    virtual void Pressed(int /*index*/, bool /*closed*/) {}
    // The poller runs the derived form's code: its destructor stops it first.
    void StopPolling();

private:
    void Show(int index, bool closed);

    std::array<QPushButton*, kSwitchCount> switches_{};
    QHBoxLayout* buttonRow_ = nullptr;
    Phase phase_ = Phase::NotStarted;
    std::unique_ptr<SwitchTestBlock> block_;
    bool pollerEnded_ = false;  // under the link worker's lock
};
