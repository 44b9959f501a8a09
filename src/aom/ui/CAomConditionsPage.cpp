#include "CAomConditionsPage.h"

// Placeholder until the rows exist.
CAomConditionsPage::CAomConditionsPage(int output, QWidget* parent) : QWidget(parent), output_(output) {}
CAomConditionsPage::~CAomConditionsPage() = default;
void CAomConditionsPage::Create() { created_ = true; }
void CAomConditionsPage::FillParameterLists() {}
void CAomConditionsPage::UnitsChanged() {}
int CAomConditionsPage::CountUsedRows() const { return 0; }
bool CAomConditionsPage::HasChanged() const { return false; }
bool CAomConditionsPage::Validate() { return true; }
bool CAomConditionsPage::StoreAndSend() { return false; }
bool CAomConditionsPage::ApplyIfChanged() { return true; }
void CAomConditionsPage::AddSummaries(ConditionRowSummaries& out) const
{
    for (int row = 0; row < 8; ++row) out.emplace(output_, ConditionRowSummary{});
}
