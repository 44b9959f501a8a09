#pragma once
// "Download Alarms": the module's alarm event log into a text file.

#include "aom/AlarmDownload.h"
#include "aom/AlarmRowSummary.h"

#include <QDialog>

#include <atomic>
#include <memory>

class QLabel;
class QProgressBar;

// Reads the record count, then runs the download on the link worker while it
// shows the download's status and progress. Cancel (or Escape) asks the
// download to stop before its next record; the form closes when it has ended.
class CAlarmDownloadDlg : public QDialog {
    Q_OBJECT
public:
    enum class Phase {
        NotStarted,
        Counting,     // the record count is being read
        Downloading,  // the download runs on the link worker
        Closed,
    };

    CAlarmDownloadDlg(QWidget* parent, const ConditionRowSummaries& rows);
    ~CAlarmDownloadDlg() override;

    // Reads the count and starts the download. False when there is nothing
    // to download (the message has been shown; result OK) or the worker
    // could not start (result Cancel): the form must then not be shown.
    bool Start();
    int exec() override;
    // Only the download's end closes the form.
    void done(int result) override;
    // Cancel and Escape.
    void reject() override;

    Phase CurrentPhase() const { return phase_; }
    // How the last download ended (valid once the form has closed).
    const AlarmDownloadResult& Result() const { return result_; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    // What the form and the download share; freed only after the download
    // ended. The download reads it; the form sets cancel.
    struct Block {
        std::atomic<bool> cancel{false};
        int count = 0;
        ConditionRowSummaries rows;
        std::tm now{};
    };

    void OnFinished(const AlarmDownloadResult& result);

    ConditionRowSummaries rows_;
    QLabel* status_ = nullptr;
    QProgressBar* progress_ = nullptr;
    Phase phase_ = Phase::NotStarted;
    std::unique_ptr<Block> block_;
    AlarmDownloadResult result_;
};

// Runs the download modally over parent, naming events by the rows given.
void RunAlarmDownload(QWidget* parent, const ConditionRowSummaries& rows);
