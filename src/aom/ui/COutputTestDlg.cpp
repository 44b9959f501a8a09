#include "aom/ui/COutputTestDlg.h"

#include "aom/AomCommands.h"
#include "base/ui/FormSupport.h"
#include "base/LinkSequence.h"
#include "base/Pause.h"
#include "base/WaitCursor.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <system_error>

COutputTestDlg::COutputTestDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle("Output Test");

    auto* grid = new QGridLayout;
    for (int output = 0; output < kRelayCount; ++output) {
        auto* caption = new QLabel(QString("Output %1").arg(output + 1), this);
        caption->setAlignment(Qt::AlignHCenter);
        auto* button = new QPushButton(kOpen, this);
        button->setCheckable(true);
        button->setAutoDefault(false);
        BindCaption(caption, button);
        grid->addWidget(caption, 0, output);
        grid->addWidget(button, 1, output);
        buttons_[output] = button;
        connect(button, &QPushButton::toggled, this,
                [this, output](bool checked) { OnPressed(output, checked); });
    }

    auto* ok = new QPushButton("OK", this);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({ok}));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

COutputTestDlg::~COutputTestDlg()
{
    StopWorker();
}

bool COutputTestDlg::Start()
{
    if (phase_ != Phase::NotStarted) return phase_ == Phase::Testing;
    phase_ = Phase::Reading;
    WaitCursorGuard wait;
    const auto positions = RunLink([] { return ReadRelayPositions(); });
    if (!positions) {
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }

    block_ = std::make_unique<OutputTestBlock>();
    for (int output = 0; output < kRelayCount; ++output) Show(output, (*positions)[output] == 1);
    try {
        presses_ = std::make_unique<RelayPressSender>();
        worker_ = std::thread(RunOutputTestWorker, std::ref(*block_));
    } catch (const std::system_error&) {
        presses_.reset();
        block_.reset();
        phase_ = Phase::Closed;
        setResult(QDialog::Rejected);
        return false;
    }
    phase_ = Phase::Testing;
    return true;
}

int COutputTestDlg::exec()
{
    if (!Start()) return QDialog::Rejected;
    return QDialog::exec();
}

void COutputTestDlg::Show(int output, bool closed)
{
    {
        // A position read from the module is shown, not sent back.
        const QSignalBlocker quiet(buttons_[output]);
        buttons_[output]->setChecked(closed);
    }
    buttons_[output]->setText(closed ? kClosed : kOpen);
    // The worker sends from here, never from the buttons.
    if (block_) block_->closed[output].store(closed ? 1 : 0);
}

void COutputTestDlg::OnPressed(int output, bool closed)
{
    Show(output, closed);
    if (phase_ != Phase::Testing) return;
    // Queued, not sent here: sending would hold the form, and a second
    // press made meanwhile would be lost.
    presses_->Press(output, closed ? 1 : 0);
}

void COutputTestDlg::StopWorker()
{
    if (phase_ != Phase::Testing) return;
    phase_ = Phase::Closing;
    block_->stop.store(true);
    {
        // The worker may be in its four-second wait; the window keeps
        // painting meanwhile.
        WaitCursorGuard wait;
        RunLink([this] {
            presses_->Finish();
            worker_.join();
            PauseMs(kAfterOutputTestMs);
        });
    }
    presses_.reset();
    block_.reset();
    phase_ = Phase::Closed;
}

void COutputTestDlg::done(int result)
{
    StopWorker();
    if (phase_ != Phase::Reading) phase_ = Phase::Closed;
    QDialog::done(result);
}

void RunOutputTest(QWidget* parent)
{
    COutputTestDlg form(parent);
    RunChildForm(form);
}
