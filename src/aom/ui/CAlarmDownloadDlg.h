#pragma once
// "Download Alarms": the module's alarm event log into a text file.

#include "aom/AlarmDownload.h"
#include "aom/AlarmRowSummary.h"

#include <QDialog>

#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

class QLabel;
class QProgressBar;

// Reads the record count, then runs the download on a worker while it shows
// the worker's status and progress. Cancel (or Escape) asks the worker to
// stop before its next record; the form closes when the worker has ended.
class CAlarmDownloadDlg : public QDialog {
    Q_OBJECT
public:
    enum class Phase {
        NotStarted,
        Counting,     // the record count is being read
        Downloading,  // the worker runs
        Closed,
    };

    CAlarmDownloadDlg(QWidget* parent, const ConditionRowSummaries& rows);
    ~CAlarmDownloadDlg() override;

    // Reads the count and starts the worker. False when there is nothing to
    // download (the message has been shown; result OK) or the worker could
    // not start (result Cancel): the form must then not be shown.
    bool Start();
    int exec() override;
    // Only the worker's end closes the form.
    void done(int result) override;
    // Cancel and Escape.
    void reject() override;

    Phase CurrentPhase() const { return phase_; }
    // How the last download ended (valid once the form has closed).
    const AlarmDownloadResult& Result() const { return result_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private slots:
    // Takes the worker's waiting messages; the worker asks for this call.
    void TakeMessages();

private:
    // What the form and its worker share; freed only after the worker ended.
    // The worker leaves its progress and status here and waits until the
    // form has taken them; the end is left without waiting.
    struct Block {
        std::atomic<bool> cancel{false};
        int count = 0;
        ConditionRowSummaries rows;
        std::tm now{};
        AlarmDownloadResult result;
        std::mutex mutex;
        std::condition_variable changed;
        std::optional<int> progress;
        std::optional<std::string> status;
        bool finished = false;
    };

    void RunWorker(Block& block);
    void OnFinished();

    ConditionRowSummaries rows_;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    Phase phase_ = Phase::NotStarted;
    std::unique_ptr<Block> block_;
    std::thread worker_;
    AlarmDownloadResult result_;
};

// Runs the download modally over parent, naming events by the rows given.
void RunAlarmDownload(QWidget* parent, const ConditionRowSummaries& rows);
