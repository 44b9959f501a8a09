#include "aom/ui/COutputTestDlg.h"

#include "base/ui/FormSupport.h"
#include "base/Pause.h"

COutputTestDlg::COutputTestDlg(QWidget* parent)
    : CSwitchTestDlg(parent, "Output Test", {"Output 1", "Output 2", "Output 3", "Output 4"})
{
}

COutputTestDlg::~COutputTestDlg()
{
    StopPolling();
}

std::optional<SwitchStates> COutputTestDlg::ReadPositions()
{
    const auto positions = ReadRelayPositions();
    if (!positions) return std::nullopt;
    SwitchStates closed{};
    for (int output = 0; output < kRelayCount; ++output) closed[output] = (*positions)[output] == 1;
    return closed;
}

void COutputTestDlg::BeforePoll()
{
    presses_ = std::make_unique<RelayPressSender>();
}

void COutputTestDlg::Poll(SwitchTestBlock& block)
{
    RunOutputTestWorker(block);
}

void COutputTestDlg::AfterPoll()
{
    presses_->Finish();
    PauseMs(kAfterOutputTestMs);
}

void COutputTestDlg::Pressed(int output, bool closed)
{
    // Queued, not sent here: sending would hold the form, and a second
    // press made meanwhile would be lost.
    presses_->Press(output, closed ? 1 : 0);
}

void RunOutputTest(QWidget* parent)
{
    COutputTestDlg form(parent);
    RunChildForm(form);
}
