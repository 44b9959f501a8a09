#pragma once
// The checks a condition value passes before anything is sent: one per value
// kind, plus the trend minutes and the time of day. Each gives pass, or the
// exact message the form shows (caption "Error", error icon) before it puts
// the focus in the field. A disabled field always passes.

#include "aom/AlarmParameterTable.h"
#include "aom/AomUnits.h"
#include "base/UserMessages.h"

#include <string>

struct ValueCheck {
    bool ok = true;
    std::string message;  // empty when ok
};

inline constexpr const char* kEmptyFieldMessage = "Field must have a value.";
inline constexpr const char* kValidationCaption = "Error";

ValueCheck ValidateValue(ValueKind kind, const std::string& text, bool enabled,
                         const AomUnitSettings& units);
// The kind's refusal of text, as its validator words it.
ValueCheck ValueRefusal(ValueKind kind, const std::string& text, const AomUnitSettings& units);
// Whether every character of text is one the value fields let through when
// typed (pasted or read from a file, text may hold others).
bool PassesTypedFilter(const std::string& text, bool allowMinus);

// The trend period, whole minutes 1 to 255.
ValueCheck ValidateMinutes(const std::string& text, bool enabled);
// hh:mm, hours 0-23 and minutes 0-59.
ValueCheck ValidateTimeOfDay(const std::string& text, bool enabled);

// The box for a failed check.
UserMessage ValidationMessage(const ValueCheck& check);
