#include "loggers/ui/CCircuitTestDlg.h"

#include "settings/ShowTextFile.h"

#include <QPushButton>

namespace {
constexpr const char* kHelpFile = "IrrigationCircuitTestHelp.txt";
}  // namespace

CCircuitTestDlg::CCircuitTestDlg(QWidget* parent, CIrrigationSettings& /*settings*/)
    : CSwitchTestDlg(parent, "Circuit Test", {"Wind", "Rain", "ET", "Alarm"})
{
    connect(AddButton("Help"), &QPushButton::clicked, this, &CCircuitTestDlg::OnHelp);
}

CCircuitTestDlg::~CCircuitTestDlg()
{
    StopPolling();
}

std::optional<SwitchStates> CCircuitTestDlg::ReadPositions()
{
    return ReadCircuitStates();
}

void CCircuitTestDlg::Poll(SwitchTestBlock& block)
{
    RunCircuitTestWorker(block);
}

void CCircuitTestDlg::OnHelp()
{
    ShowTextFile(kHelpFile);
}
