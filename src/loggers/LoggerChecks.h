#pragma once
// The checks the logger forms make at OK, with their messages, on the texts
// the user typed. The forms and the terminal both call these, so a value is
// refused with the same words wherever it is typed. Each check copies a text
// into the record as soon as it has passed, as the forms always have, and
// stops at the first refusal.
#include "loggers/AlohaSettings.h"
#include "loggers/AprsConfig.h"
#include "loggers/IrrigationSettings.h"
#include "base/UserMessages.h"
#include <optional>
#include <string>

inline constexpr const char* kInvalidTimeout255 =
    "Invalid Timeout Period! Must be between 5 and 255 sec.";
inline constexpr const char* kInvalidTimeout999 =
    "Invalid Timeout Period! Must be between 5 and 999 sec.";
inline constexpr const char* kInvalidStation = "Invalid Station ID! Must be between 0 and 999.";
inline constexpr const char* kInvalidAprsBaud = "Invalid APRS Baud";
inline constexpr const char* kInvalidAprsRate =
    "Invalid Transmission Rate! Must be between 1 and 99 minutes.";
inline constexpr const char* kInvalidLatDeg = "Invalid Lat Deg! Must be between 0 and 90";
inline constexpr const char* kInvalidLatMin = "Invalid Lat Min! Must be between 0 and 59";
inline constexpr const char* kInvalidLatSec = "Invalid Lat Sec! Must be between 0 and 59";
inline constexpr const char* kInvalidLonDeg = "Invalid Lon Deg! Must be between 0 and 180";
inline constexpr const char* kInvalidLonMin = "Invalid Lon Min! Must be between 0 and 59";
inline constexpr const char* kInvalidLonSec = "Invalid Lon Sec! Must be between 0 and 59";
// Without a hemisphere the position would go out as "invalid string".
inline constexpr const char* kNoLatHemisphere = "Please select North or South for the latitude.";
inline constexpr const char* kNoLonHemisphere = "Please select East or West for the longitude.";
inline constexpr const char* kInvalidCycle = "Invalid irrigation cycle! Must be between 1 and 255";
inline constexpr const char* kInvalidDuration = "Invalid Alarm Duration! Must be between 0 and 999";
inline constexpr const char* kInvalidReactivation =
    "Invalid Alarm Reactivation! Must be between 0 and 999";
inline constexpr const char* kInvalidPulseWidth = "Invalid Pulse Width! Must be between 1 and 9999";

// A refused value: the message and which field (the form's own numbering,
// below) gets the focus.
struct FieldRefusal {
    int field;
    std::string message;
};
using CheckResult = std::optional<FieldRefusal>;

// Whole-number rule, then low <= value <= high.
bool WholeInRange(const std::string& text, int low, int high);

enum AlohaField { AlohaTimeout, AlohaStation };
struct AlohaTexts {
    std::string timeout;
    std::string station;
};
AlohaTexts AlohaTextsOf(const CAlohaSettings& record);
CheckResult ApplyAlohaTexts(const AlohaTexts& texts, CAlohaSettings& record);

enum AprsField {
    AprsTimeout, AprsBaud, AprsRate,
    AprsLatDeg, AprsLatMin, AprsLatSec, AprsLonDeg, AprsLonMin, AprsLonSec,
    AprsLatHemisphere, AprsLonHemisphere,
};
struct AprsTexts {
    std::string timeout;
    std::string baud;
    std::string rate;
    AprsPosition position;
};
// As the form opens on the record: the baud as the list selects it, the
// position split (empty fields when the stored text does not split).
AprsTexts AprsTextsOf(const CAprsSettings& record);
CheckResult ApplyAprsTexts(const AprsTexts& texts, CAprsSettings& record);
// The position text of the halves as typed: "4903.50N/07201.75W_".
std::string AprsPositionText(const AprsPosition& position);

enum IrrigationField {
    IrrTimeout, IrrCycle, IrrAmount, IrrMaxDailyRain, IrrMaxRainTotal, IrrCutoff,
};
// The main form's fields; rain in the unit shown (inches when inches).
struct IrrigationTexts {
    bool inches = true;
    std::string timeout;
    bool residential = false;
    std::string cycle;
    std::string amount;
    std::string maxDailyRain;
    std::string maxRainTotal;
    std::string cutoff;
};
IrrigationTexts IrrigationTextsOf(const CIrrigationSettings& record);
// The unit radios: the rain fields converted to the other unit as the form
// converts them (a field out of its range is cleared). Nothing changes when
// texts already show that unit.
void SwitchIrrigationUnit(IrrigationTexts& texts, bool inches);
// Also stores the rain unit shown into the record.
CheckResult ApplyIrrigationTexts(const IrrigationTexts& texts, CIrrigationSettings& record);
// The amount, both caps and the cut-off alone, checked and stored as the
// residential part of ApplyIrrigationTexts does.
CheckResult ApplyIrrigationRainTexts(const IrrigationTexts& texts, CIrrigationSettings& record);

enum IrrigationAdvancedField { AdvDuration, AdvReactivation, AdvPulseWidth };
struct IrrigationAdvancedTexts {
    std::string alarmDuration;
    std::string alarmReactivation;
    std::string pulseWidth;
    bool continuous = false;
    bool normallyOpen = false;
};
IrrigationAdvancedTexts IrrigationAdvancedTextsOf(const CIrrigationSettings& record);
CheckResult ApplyIrrigationAdvancedTexts(const IrrigationAdvancedTexts& texts,
                                         CIrrigationSettings& record);
