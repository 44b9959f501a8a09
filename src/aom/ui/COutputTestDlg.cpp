#include "aom/ui/COutputTestDlg.h"

#include "aom/AomCommands.h"
#include "base/LinkWorker.h"
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

void COutputTestDlg::Poll(SwitchTestBlock& block)
{
    RunOutputTestWorker(block);
}

void COutputTestDlg::AfterPoll()
{
    // The presses not yet sent went before this, in the order made.
    PauseMs(kAfterOutputTestMs);
}

void COutputTestDlg::Pressed(int output, bool closed)
{
    // Queued, not sent here: sending would hold the form, and a second
    // press made meanwhile would be lost. The poller takes it at once.
    PostToLinkWorker([output, state = closed ? 1 : 0] { SetOutputState(output, state); }, true);
}

void RunOutputTest(QWidget* parent)
{
    COutputTestDlg form(parent);
    RunChildForm(form);
}
