#pragma once
// The alarm output module form's check at OK of its own two settings, with
// its message, for the form and the terminal alike.
#include "AomSettings.h"
#include "LoggerChecks.h"

struct AomModuleTexts {
    std::string timeout;
    bool alarmLogging = false;
};
AomModuleTexts AomModuleTextsOf(const CAomSettings& record);
// Time-out: whole-number rule, 5 to 999 ("Time Out Period" is the one field
// that can be refused).
CheckResult ApplyAomModuleTexts(const AomModuleTexts& texts, CAomSettings& record);

// The message when the module settings could not be written.
inline constexpr const char* kAomWriteFailed = kLoggerWriteFailed;
