#pragma once
#include "loggers/LoggerSettings.h"

// ALOHA logger: time-out (module parameter 1) and station number (2).
class CAlohaSettings : public CLoggerSettings {
public:
    CAlohaSettings(OwnerWindow owner, std::string identification, std::string timeout,
                   std::string stationId)
        : CLoggerSettings(LoggerAloha, owner, std::move(identification), std::move(timeout)),
          stationId(std::move(stationId)) {}
    // Empty, for detection to fill from the logger's replies.
    CAlohaSettings(OwnerWindow owner, std::string identification)
        : CAlohaSettings(owner, std::move(identification), {}, {}) {}
    void Configure() override { RunConfigureForm(*this); }

    std::string stationId;
};
