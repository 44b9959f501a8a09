#pragma once
// The settings record every logger kind shares, and the "Logger Type:" line.

#include <functional>
#include <string>

enum LoggerType { LoggerAloha = 1, LoggerIrrigation = 2, LoggerAprs = 3, LoggerAom = 4 };

// An opaque owner window (a QWidget* in the UI, null in core tests).
using OwnerWindow = void*;

class CLoggerSettings {
public:
    CLoggerSettings(LoggerType kind, OwnerWindow owner, std::string identification,
                    std::string timeout)
        : kind(kind), identification(std::move(identification)),
          timeout(std::move(timeout)), owner(owner) {}
    virtual ~CLoggerSettings() = default;
    // Shows the kind's form modally and returns when it closes.
    virtual void Configure() = 0;

    LoggerType kind;
    std::string identification;
    std::string timeout;
    OwnerWindow owner;
};

// The forms live above the core: each kind's form registers how it runs on
// a record, and the record's Configure runs it. Without a registered form
// Configure does nothing.
using ConfigureForm = std::function<void(CLoggerSettings&)>;
void RegisterConfigureForm(LoggerType kind, ConfigureForm form);
void RunConfigureForm(CLoggerSettings& record);

// "Logger Type:" text: "KIND 202" reads "KIND  2.02"; text without a space
// is shown unchanged; a trailing single space gives a lone point.
std::string FormatIdentification(const std::string& identification);
