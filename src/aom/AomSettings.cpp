#include "aom/AomSettings.h"

namespace {
bool ValidOutput(int output) { return output >= 0 && output <= 3; }
}

CAomSettings::~CAomSettings()
{
    for (int output = 0; output < 4; ++output) ClearOutput(output);
}

int CAomSettings::ConditionCount(int output) const
{
    return ValidOutput(output) ? static_cast<int>(conditions_[output].size()) : -1;
}

const AomCondition* CAomSettings::ConditionAt(int output, int index) const
{
    if (!ValidOutput(output) || index < 0 ||
        index >= static_cast<int>(conditions_[output].size()))
        return nullptr;
    return conditions_[output][index].get();
}

void CAomSettings::AppendCondition(int output, const AomCondition& condition)
{
    if (ValidOutput(output)) conditions_[output].push_back(std::make_unique<AomCondition>(condition));
}

void CAomSettings::ClearOutput(int output)
{
    if (!ValidOutput(output)) return;
    auto& list = conditions_[output];
    while (!list.empty()) list.pop_back();  // last to first
}
