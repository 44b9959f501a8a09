#pragma once
// The progress window of a long read or write on the link: it names the step
// the sequence is at and, for a read, offers Cancel, which stops the sequence
// before its next step. The sequence opens the window itself, so it takes
// input while the windows open before the sequence do not.

#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

class QProgressDialog;
class QWidget;

class StepProgress {
public:
    StepProgress(QWidget* owner, const QString& title, bool cancellable);
    ~StepProgress();
    StepProgress(const StepProgress&) = delete;
    StepProgress& operator=(const StepProgress&) = delete;

    // From the sequence: shows step and returns once it is shown; false once
    // the user has cancelled.
    bool Step(const std::string& step);
    bool Cancelled() const { return cancelled_.load(); }

    // Tests: called on the UI thread with the window each time a step shows.
    using Observer = std::function<void(QProgressDialog& window, const std::string& step)>;
    static Observer SetObserver(Observer observer);

private:
    QWidget* owner_;
    QString title_;
    bool cancellable_;
    std::unique_ptr<QProgressDialog> window_;  // UI thread only
    std::atomic<bool> cancelled_{false};
};
