#include "aom/ui/CAlarmDownloadDlg.h"

#include "base/ui/FormSupport.h"
#include "base/ui/UiLinkRunner.h"
#include "base/LinkWorker.h"
#include "base/LinkSequence.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>


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
    // Destroyed while the download runs (the program is ending): stop it and
    // wait for it, its calls to the form ignored from now on. An empty
    // sequence queued behind the download returns once it has ended.
    if (phase_ != Phase::Downloading) return;
    phase_ = Phase::Closed;
    block_->cancel.store(true);
    RunSequenceKeepingUiAlive([] {});
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
    // The download never touches a widget: its status and progress come over
    // as calls it waits for, its end as the last call.
    Block& block = *block_;
    const bool started = PostToLinkWorker([this, &block] {
        AlarmDownloadHooks hooks;
        hooks.progress = [this](int done) {
            InvokeOnUiThread([this, done] {
                if (phase_ == Phase::Downloading) progress_->setValue(done);
            });
        };
        hooks.status = [this](const std::string& text) {
            InvokeOnUiThread([this, &text] {
                if (phase_ == Phase::Downloading) status_->setText(QString::fromStdString(text));
            });
        };
        AlarmDownloadResult result = DownloadAlarmLog(block.count, block.rows, block.cancel, block.now, hooks);
        PostToUiThread([this, result = std::move(result)] { OnFinished(result); });
    });
    if (!started) {
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

void CAlarmDownloadDlg::OnFinished(const AlarmDownloadResult& result)
{
    if (phase_ != Phase::Downloading) return;
    result_ = result;
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
