#pragma once
// Finding the logger on the console: which kind it is, its settings, and the
// port it sits on.

#include "loggers/LoggerSettings.h"

#include <functional>
#include <memory>
#include <string>

// The words by which the identification reply names the logger's kind.
inline constexpr const char* kKindWordAloha = "ALOHA";
inline constexpr const char* kKindWordAprs = "APRS";
inline constexpr const char* kKindWordIrrigation = "IRR";
inline constexpr const char* kKindWordAom = "AOM";

// Irrigation loggers older than this firmware cannot be configured.
inline constexpr int kMinIrrigationFirmware = 202;

inline constexpr const char* kNoLoggerFound =
    "No Corvane Logger Found.  Please check Serial Port settings and connections.";
// The details of that message when the logger answered its identification
// but not the query of one of its settings.
inline constexpr const char* kSettingUnanswered =
    "The logger did not answer the query for module parameter %d.";
inline constexpr const char* kSettingUnreadable =
    "The logger's reply for module parameter %d is no number it can hold.";

// LinkOpen then LinkFlush: 0 when open, -1 when the port could not be opened.
int OpenLink(int port, int baud);

// Opens SERIAL_PORT at BAUD_RATE, identifies the logger, reads its kind's
// settings and closes the port again (with the device's 2 s rest). Shows the
// no-logger message itself; returns nothing when there is no record to show.
std::unique_ptr<CLoggerSettings> DetectAndReadLogger(OwnerWindow owner);

// The identification reply of the last DetectAndReadLogger, empty when
// nothing answered (what answered, when it names no kind).
std::string LastIdentificationReply();

// Tries COM1 to COM8 at baud; the first port whose logger names a kind is
// stored in SERIAL_PORT and returned. 0 when none answered.
int ScanPorts(int baud);

// True when the reply names any kind of logger.
bool NamesLoggerKind(const std::string& reply);

// The firmware number of an irrigation reply: characters 8 to 10 read as a
// decimal number. A shorter reply gives the number of the characters there
// are (none: 0, which is too old).
int IrrigationFirmware(const std::string& reply);

// Shows the firmware upgrade warning over owner. The forms install it; until
// then an old irrigation logger is simply not configured.
using FirmwareWarningForm = std::function<void(OwnerWindow owner)>;
FirmwareWarningForm SetFirmwareWarningForm(FirmwareWarningForm form);
