#pragma once
#include "loggers/LoggerSettings.h"

// APRS logger: time-out (1), link baud (12), position text (13) and
// transmission rate in minutes (14), all as the logger holds them.
class CAprsSettings : public CLoggerSettings {
public:
    CAprsSettings(OwnerWindow owner, std::string identification, std::string timeout,
                  std::string baud, std::string position, std::string transmissionRate)
        : CLoggerSettings(LoggerAprs, owner, std::move(identification), std::move(timeout)),
          baud(std::move(baud)), position(std::move(position)),
          transmissionRate(std::move(transmissionRate)) {}
    // Empty, for detection to fill from the logger's replies.
    CAprsSettings(OwnerWindow owner, std::string identification)
        : CAprsSettings(owner, std::move(identification), {}, {}, {}, {}) {}
    void Configure() override { RunConfigureForm(*this); }

    std::string baud;
    std::string position;
    std::string transmissionRate;
};
