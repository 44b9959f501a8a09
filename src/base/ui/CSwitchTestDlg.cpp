#include "base/ui/CSwitchTestDlg.h"

#include "base/LinkSequence.h"
#include "base/LinkWorker.h"
#include "base/ui/UiLinkRunner.h"
#include "base/WaitCursor.h"
#include "base/ui/FormSupport.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

CSwitchTestDlg::CSwitchTestDlg(QWidget* parent, const QString& title,
                               const std::array<QString, kSwitchCount>& captions)
    : QDialog(parent)
{
    setWindowTitle(title);

    auto* grid = new QGridLayout;
    for (int index = 0; index < kSwitchCount; ++index) {
        auto* caption = new QLabel(captions[index], this);
        caption->setAlignment(Qt::AlignHCenter);
        auto* button = new QPushButton(kOpen, this);
        button->setCheckable(true);
        button->setAutoDefault(false);
        BindCaption(caption, button);
        grid->addWidget(caption, 0, index);
        grid->addWidget(button, 1, index);
        switches_[index] = button;
        connect(button, &QPushButton::toggled, this, [this, index](bool closed) {
            Show(index, closed);
            if (phase_ == Phase::Testing) Pressed(index, closed);
        });
    }

    auto* ok = new QPushButton("OK", this);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    buttonRow_ = ButtonRow({ok});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttonRow_);
}

QPushButton* CSwitchTestDlg::AddButton(const QString& text)
{
    auto* button = new QPushButton(text, this);
    button->setAutoDefault(false);
    buttonRow_->addWidget(button);
    return button;
}

CSwitchTestDlg::~CSwitchTestDlg()
{
    StopPolling();
}

bool CSwitchTestDlg::Start()
{
    if (phase_ != Phase::NotStarted) return phase_ == Phase::Testing;
    phase_ = Phase::Reading;
    std::optional<SwitchStates> positions;
    {
        WaitCursorGuard wait;
        positions = RunLink([this] { return ReadPositions(); });
    }
    if (!positions) {
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }

    block_ = std::make_unique<SwitchTestBlock>();
    for (int index = 0; index < kSwitchCount; ++index) {
        // A position read is shown, not sent back.
        const QSignalBlocker quiet(switches_[index]);
        switches_[index]->setChecked((*positions)[index]);
        Show(index, (*positions)[index]);
    }
    SwitchTestBlock& block = *block_;
    pollerEnded_ = false;
    const bool started = PostToLinkWorker([this, &block] {
        Poll(block);
        SignalLinkWorker([this] { pollerEnded_ = true; });
    });
    if (!started) {
        block_.reset();
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }
    phase_ = Phase::Testing;
    return true;
}

int CSwitchTestDlg::exec()
{
    if (!Start()) return QDialog::Rejected;
    return QDialog::exec();
}

void CSwitchTestDlg::Show(int index, bool closed)
{
    switches_[index]->setText(closed ? kClosed : kOpen);
    // The poller sends from here, never from the buttons.
    if (block_) block_->closed[index].store(closed ? 1 : 0);
}

void CSwitchTestDlg::StopPolling()
{
    if (phase_ != Phase::Testing) return;
    phase_ = Phase::Closing;
    block_->stop.store(true);
    {
        // Queued behind the poller, so it runs once the poller has ended,
        // which may be in its pause between passes; the window keeps
        // painting meanwhile. The wait matters only where the sequence runs
        // here at once, without a window's event loop.
        WaitCursorGuard wait;
        RunSequenceKeepingUiAlive([this] {
            WaitOnLinkWorker([this] { return pollerEnded_; });
            AfterPoll();
        });
    }
    block_.reset();
    phase_ = Phase::Closed;
}

void CSwitchTestDlg::done(int result)
{
    StopPolling();
    if (phase_ != Phase::Reading) phase_ = Phase::Closed;
    QDialog::done(result);
}
