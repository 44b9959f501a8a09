#pragma once
#include "loggers/LoggerSettings.h"

// Irrigation logger. Rain quantities are inches with two decimals, as text.
class CIrrigationSettings : public CLoggerSettings {
public:
    // Arguments in the order detection reads them: 1, flag and text of 8,
    // 9, 25, 26, 27, 10, 3, 4, 5, flag of 6, flag of 7.
    CIrrigationSettings(OwnerWindow owner, std::string identification, std::string timeout,
                        bool residential, std::string cycle, std::string parameter9,
                        std::string amount, std::string maxDailyRain, std::string maxRainTotal,
                        std::string rainRateCutoff, std::string alarmDuration,
                        std::string alarmReactivation, std::string pulseWidth, bool continuous,
                        bool normallyOpen);
    // Empty, for detection to fill from the logger's replies.
    CIrrigationSettings(OwnerWindow owner, std::string identification)
        : CIrrigationSettings(owner, std::move(identification), {}, false, {}, {}, {}, {}, {}, {},
                              {}, {}, {}, false, false) {}
    void Configure() override { RunConfigureForm(*this); }

    bool residential;
    std::string cycle;              // 8; "0" when residential is off
    std::string parameter9;         // 9; read, never shown or written
    std::string amount;             // 25
    std::string maxDailyRain;       // 26
    std::string maxRainTotal;       // 27
    std::string rainRateCutoff;     // 10; "255" means no cut-off
    std::string alarmDuration;      // 3
    std::string alarmReactivation;  // 4
    std::string pulseWidth;         // 5
    bool continuous;                // 6: "1" when true
    bool normallyOpen;              // 7: "0" when true
    int rainUnit;                   // 1 inches, else millimetres (IRRIGATION_RAIN_UNIT)
};
