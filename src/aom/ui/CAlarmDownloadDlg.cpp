#include "aom/ui/CAlarmDownloadDlg.h"

#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <system_error>

CAlarmDownloadDlg::CAlarmDownloadDlg(QWidget* parent, const ConditionRowSummaries& rows)
    : QDialog(parent), rows_(rows)
{
    setWindowTitle("Download Alarms");
    // No close box: only Cancel asks the worker to stop.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);

    status_ = new QLabel(this);
    status_->setTextFormat(Qt::PlainText);
    status_->setMinimumWidth(240);
    progress_ = new QProgressBar(this);
    progress_->setRange(0, 0);
    progress_->setValue(0);
    auto* cancel = new QPushButton("Cancel", this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(status_);
    layout->addWidget(progress_);
    layout->addLayout(ButtonRow({cancel}));

    connect(cancel, &QPushButton::clicked, this, &CAlarmDownloadDlg::reject);
}

CAlarmDownloadDlg::~CAlarmDownloadDlg()
{
    // Destroyed while the worker runs (the program is ending): stop it,
    // take whatever it leaves until it ends, then free the block.
    if (phase_ != Phase::Downloading) return;
    block_->cancel.store(true);
    {
        std::unique_lock<std::mutex> lock(block_->mutex);
        for (;;) {
            block_->progress.reset();
            block_->status.reset();
            block_->changed.notify_all();
            if (block_->finished) break;
            block_->changed.wait(lock);
        }
    }
    worker_.join();
}

bool CAlarmDownloadDlg::Start()
{
    if (phase_ != Phase::NotStarted) return phase_ == Phase::Downloading;
    phase_ = Phase::Counting;
    WaitCursorGuard wait;
    const std::optional<int> read = RunLink([] { return GetAlarmRecordCount(); });
    const int count = read.value_or(0);
    if (count <= 0) {
        wait.Restore();
        ShowMessage(UserMessage{read ? kNoAlarmRecords : kAlarmCountUnreadable, std::nullopt,
                                MsgIcon::None, MsgButtons::Ok, parentWidget()});
        phase_ = Phase::Closed;
        setResult(QDialog::Accepted);
        return false;
    }

    block_ = std::make_unique<Block>();
    block_->count = count;
    block_->rows = rows_;
    block_->now = LocalNow();
    progress_->setRange(0, count);
    progress_->setValue(0);
    try {
        worker_ = std::thread(&CAlarmDownloadDlg::RunWorker, this, std::ref(*block_));
    } catch (const std::system_error&) {
        block_.reset();
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }
    phase_ = Phase::Downloading;
    return true;
}

int CAlarmDownloadDlg::exec()
{
    if (!Start()) return result();
    return QDialog::exec();
}

void CAlarmDownloadDlg::RunWorker(Block& block)
{
    // The worker never touches a widget: it leaves each message in the block
    // and asks the form's thread to take it.
    const auto leave = [this, &block](const std::function<void()>& put, bool wait) {
        std::unique_lock<std::mutex> lock(block.mutex);
        put();
        block.changed.notify_all();
        QMetaObject::invokeMethod(this, "TakeMessages", Qt::QueuedConnection);
        if (wait) block.changed.wait(lock, [&] { return !block.progress && !block.status; });
    };
    AlarmDownloadHooks hooks;
    hooks.progress = [&](int done) { leave([&] { block.progress = done; }, true); };
    hooks.status = [&](const std::string& text) { leave([&] { block.status = text; }, true); };
    AlarmDownloadResult result =
        DownloadAlarmLog(block.count, block.rows, block.cancel, block.now, hooks);
    leave(
        [&] {
            block.result = std::move(result);
            block.finished = true;
        },
        false);
}

void CAlarmDownloadDlg::TakeMessages()
{
    if (phase_ != Phase::Downloading) return;
    std::optional<int> progress;
    std::optional<std::string> status;
    bool finished = false;
    {
        std::lock_guard<std::mutex> lock(block_->mutex);
        std::swap(progress, block_->progress);
        std::swap(status, block_->status);
        finished = block_->finished;
        block_->changed.notify_all();
    }
    if (status) status_->setText(QString::fromStdString(*status));
    if (progress) progress_->setValue(*progress);
    if (finished) OnFinished();
}

void CAlarmDownloadDlg::OnFinished()
{
    // Left as the worker's last act: the join returns at once.
    worker_.join();
    result_ = block_->result;
    block_.reset();
    phase_ = Phase::Closed;
    FinishAlarmDownload(result_);
    QDialog::done(QDialog::Accepted);
}

void CAlarmDownloadDlg::done(int result)
{
    if (phase_ == Phase::Downloading) return;
    QDialog::done(result);
}

void CAlarmDownloadDlg::reject()
{
    if (phase_ == Phase::Downloading) block_->cancel.store(true);
    else QDialog::reject();
}

void CAlarmDownloadDlg::closeEvent(QCloseEvent* event)
{
    if (phase_ == Phase::Downloading) event->ignore();
    else QDialog::closeEvent(event);
}

void RunAlarmDownload(QWidget* parent, const ConditionRowSummaries& rows)
{
    CAlarmDownloadDlg form(parent, rows);
    RunChildForm(form);
}
