#pragma once
// The alarm output module's settings record and its conditions.

#include "loggers/LoggerSettings.h"

#include <memory>
#include <string>
#include <vector>

// One alarm condition as it is sent to the module.
struct AomCondition {
    int output = 0;            // 0-3
    int parameter = 0;         // module code; -2: not sent
    int secondParameter = 0;   // "Minus" only
    int checkType = 0;         // CheckType 0-8
    std::string value1;        // already in the module's units and format
    std::string value2;
    std::string trendPeriod;   // "Trending" only
};

class CAomSettings : public CLoggerSettings {
public:
    CAomSettings(OwnerWindow owner, std::string identification, std::string timeout,
                 bool alarmLogging)
        : CLoggerSettings(LoggerAom, owner, std::move(identification), std::move(timeout)),
          alarmLogging(alarmLogging) {}
    // Empty, for detection to fill from the module's replies.
    CAomSettings(OwnerWindow owner, std::string identification)
        : CAomSettings(owner, std::move(identification), {}, false) {}
    ~CAomSettings() override;
    void Configure() override { RunConfigureForm(*this); }

    // Condition lists, one per output 0-3; other output numbers do nothing.
    int ConditionCount(int output) const;                        // -1: bad output
    const AomCondition* ConditionAt(int output, int index) const;  // null: none there
    void AppendCondition(int output, const AomCondition& condition);
    void ClearOutput(int output);

    // The options of the output read or edited last (shared by all outputs).
    std::string releaseDelay;
    std::string reactivationDelay;
    std::string pulseWidth;      // "0": continuous activation
    bool normallyOpen = false;
    int outputLogic = 0;         // 0 OR, 1 AND, 2 XOR
    bool alarmLogging;

private:
    std::vector<std::unique_ptr<AomCondition>> conditions_[4];
};
