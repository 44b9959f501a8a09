#include "CAlarmDownloadDlg.h"

#include "FormSupport.h"
#include "LinkSequence.h"
#include "UserMessages.h"
#include "WaitCursor.h"

#include <QCloseEvent>
#include <QCoreApplication>
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
    // Destroyed while the worker runs (the program is ending): stop it and
    // let its last messages through before the block goes.
    if (phase_ != Phase::Downloading) return;
    block_->cancel.store(true);
    while (phase_ == Phase::Downloading) QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

bool CAlarmDownloadDlg::Start()
{
    if (phase_ != Phase::NotStarted) return phase_ == Phase::Downloading;
    phase_ = Phase::Counting;
    WaitCursorGuard wait;
    const int count = RunLink([] { return GetAlarmRecordCount(); });
    if (count <= 0) {
        wait.Restore();
        ShowMessage(UserMessage{kNoAlarmRecords, std::nullopt, MsgIcon::None, MsgButtons::Ok,
                                parentWidget()});
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
    // The worker never touches a widget: progress and status wait until the
    // form has taken them, the end is only posted.
    AlarmDownloadHooks hooks;
    hooks.progress = [this](int done) {
        QMetaObject::invokeMethod(this, [this, done] { OnProgress(done); },
                                  Qt::BlockingQueuedConnection);
    };
    hooks.status = [this](const std::string& text) {
        const QString copy = QString::fromStdString(text);
        QMetaObject::invokeMethod(this, [this, copy] { OnStatus(copy); },
                                  Qt::BlockingQueuedConnection);
    };
    block.result = DownloadAlarmLog(block.count, block.rows, block.cancel, block.now, hooks);
    QMetaObject::invokeMethod(this, [this] { OnFinished(); }, Qt::QueuedConnection);
}

void CAlarmDownloadDlg::OnProgress(int done)
{
    progress_->setValue(done);
}

void CAlarmDownloadDlg::OnStatus(const QString& text)
{
    status_->setText(text);
}

void CAlarmDownloadDlg::OnFinished()
{
    if (phase_ != Phase::Downloading) return;
    // Posted as the worker's last act: the join returns at once.
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
