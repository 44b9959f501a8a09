#include "aom/ui/CAomOutputTabCtrl.h"

#include "aom/AlarmParameterTable.h"
#include "aom/AomCommands.h"
#include "aom/AomConditionTable.h"
#include "aom/AomStation.h"
#include "aom/ui/CAomConditionsPage.h"
#include "base/LinkSequence.h"
#include "base/UserMessages.h"
#include "base/WaitCursor.h"

namespace {

constexpr const char* kClearWarningTitle = "Please Note";
constexpr const char* kClearFailed = "Could not clear alarm records";
constexpr const char* kClearFailedTitle = "Error";

}  // namespace

CAomOutputTabCtrl::CAomOutputTabCtrl(QWidget* parent) : QTabWidget(parent)
{
    for (int k = 0; k < kPageCount; ++k) {
        pages_[k] = new CAomConditionsPage(k, this);
        pages_[k]->hide();
        connect(pages_[k], &CAomConditionsPage::UsedRowsChanged, this,
                &CAomOutputTabCtrl::UsedRowsChanged);
    }
    RunLink([] { ReadTransmitterList(); });
    RebuildExtraSensorCodes();
}

void CAomOutputTabCtrl::CreatePages(CAomSettings* settings)
{
    settings_ = settings;
    for (CAomConditionsPage* page : pages_) page->SetSettings(settings);
    for (int k = 0; k < kPageCount; ++k) addTab(pages_[k], QString::asprintf("Output %i", k + 1));
    setCurrentIndex(0);
    for (CAomConditionsPage* page : pages_)
        if (!page->IsCreated()) page->Create();
    connect(this, &QTabWidget::currentChanged, this, &CAomOutputTabCtrl::SelectPage);
    std::vector<int> unread;
    for (int k = 0; k < kPageCount; ++k)
        if (pages_[k]->ReadFailed()) unread.push_back(k);
    if (!unread.empty())
        ShowMessage(UserMessage{UnreadOutputsText(unread), std::nullopt, MsgIcon::Exclamation,
                                MsgButtons::Ok, this});
}

void CAomOutputTabCtrl::SelectPage(int i)
{
    if (i < 0 || i >= kPageCount) return;
    if (!pages_[i]->IsCreated()) pages_[i]->Create();
    setCurrentIndex(i);
}

CAomConditionsPage* CAomOutputTabCtrl::Page(int i) const
{
    return i >= 0 && i < kPageCount ? pages_[i] : nullptr;
}

int CAomOutputTabCtrl::CountUsedRows() const
{
    int used = 0;
    for (const CAomConditionsPage* page : pages_) used += page->CountUsedRows();
    return used;
}

void CAomOutputTabCtrl::FillParameterLists()
{
    for (CAomConditionsPage* page : pages_) page->FillParameterLists();
}

void CAomOutputTabCtrl::UnitsChanged()
{
    for (CAomConditionsPage* page : pages_) page->UnitsChanged();
}

void CAomOutputTabCtrl::AddSummaries(ConditionRowSummaries& out) const
{
    for (const CAomConditionsPage* page : pages_) page->AddSummaries(out);
}

bool CAomOutputTabCtrl::PlanOutputs()
{
    for (int k = 0; k < kPageCount; ++k) {
        if (!pages_[k]->PlanIfChanged()) {
            SelectPage(k);
            return false;
        }
    }
    return true;
}

bool CAomOutputTabCtrl::ApplyOutputs()
{
    bool changed = false;
    for (const CAomConditionsPage* page : pages_) changed = changed || page->HasChanged();
    if (!changed) return true;
    // Every changed output is built and checked before the log or any
    // output is cleared.
    if (!PlanOutputs()) return false;

    // Writing conditions makes the module forget its alarm event log.
    if (ShowMessage(UserMessage{kClearWarning, kClearWarningTitle, MsgIcon::Exclamation,
                                MsgButtons::OkCancel, this}) == MsgAnswer::Cancel)
        return false;
    if (settings_ && !RunLink([] { return ClearAlarmLog(); })) {
        ShowMessage(UserMessage{kClearFailed, kClearFailedTitle, MsgIcon::None, MsgButtons::Ok, this});
        return false;
    }
    for (int k = 0; k < kPageCount; ++k) {
        WaitCursorGuard cursor;
        if (!pages_[k]->SendPlanned()) {
            SelectPage(k);
            return false;
        }
    }
    return true;
}
