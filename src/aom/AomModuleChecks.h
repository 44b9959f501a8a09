#pragma once
// The alarm output module form's check at OK of its own two settings, with
// its message, for the form and the terminal alike.
#include "aom/AomSettings.h"
#include "loggers/LoggerChecks.h"

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

// The advanced options form's fields of one output, and its check at OK
// (release and reactivation delays 0-999, pulse width 0-9999, whole
// numbers), copying each field into the record once it has passed.
struct AomOptionTexts {
    std::string releaseDelay;
    std::string reactivationDelay;
    std::string pulseWidth;
    bool normallyOpen = false;
};
enum AomOptionField { OptionReleaseDelay, OptionReactivationDelay, OptionPulseWidth };
inline constexpr const char* kInvalidAomPulseWidth = "Invalid Pulse Width! Must be between 0 and 9999";
// The advanced form's message when the options could not be written.
inline constexpr const char* kAomOptionsWriteFailed =
    "Failed to set configuration in the module.  \n\t\tPlease check Serial Port settings and "
    "connections.";
CheckResult ApplyAomOptionTexts(const AomOptionTexts& texts, CAomSettings& record);
