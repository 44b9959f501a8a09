#pragma once
// The irrigation logger's rules as its forms apply them: rain quantities in
// inches or millimetres, their ranges and conversions, the "--" cut-off, the
// advanced ranges, and the write sequences.

#include "loggers/IrrigationSettings.h"
#include "loggers/LoggerParameters.h"

#include <optional>
#include <string>

inline constexpr double kMmPerInch = 25.4;
inline constexpr double kInchesPerMm = 0.0393700787402;

// The logger holds rain in whole hundredths of an inch, so the largest
// quantity is 9.99 inches and the largest rate 0.99 inches per hour.
inline constexpr double kMaxRainInches = 9.99;
inline constexpr double kMaxRainMm = 253.746;
inline constexpr double kMaxRateInches = 0.99;
inline constexpr double kMaxRateMm = 25.146;

// What the form shows for the logger's "no rain rate cut-off" (255).
// At OK any text holding "--" means no cut-off; only the unit radios ask for
// the exact "--", so "5--" is a number to convert, not a marker to keep.
inline constexpr const char* kNoCutoffText = "--";
bool MeansNoCutoff(const std::string& fieldText);

inline constexpr int kRainUnitInches = 1;
// What the form stores for millimetres at OK; switching the radio to "mm"
// sets 0 in the record. Anything but 1 reads as millimetres.
inline constexpr int kRainUnitMm = 2;
inline constexpr int kRainUnitMmSwitched = 0;
inline bool IsInches(int rainUnit) { return rainUnit == kRainUnitInches; }

// Record text (inches) to the millimetre field: value x 25.4, "%.1f".
std::string InchesTextToMm(const std::string& inches);

// The unit radios. A field converts when it passes the decimal rule and its
// value lies in [low, high]; otherwise it is cleared (empty result). A cut-off
// field holding exactly "--" stays as it is.
std::string SwitchedToInches(const std::string& mmText, double low, double high);
std::string SwitchedToMm(const std::string& inchText, double low, double high);
std::string CutoffSwitchedToInches(const std::string& mmText);
std::string CutoffSwitchedToMm(const std::string& inchText);

// The check at OK of one rain field: decimal rule, then 0 <= value <= upper
// limit of the shown unit, compared in single precision. On success the
// record's text: the value in inches, rounded to single precision, "%.2f".
std::optional<std::string> RainFieldToRecord(const std::string& text, bool displayInches,
                                             double maxInches, double maxMm);

// "Invalid Irrigation Amount! Must be between %.2f and %.2f" and its kin,
// with 0 and the limit of the shown unit.
std::string RainRangeMessage(const char* format, bool displayInches, double maxInches,
                             double maxMm);
inline constexpr const char* kAmountMessage =
    "Invalid Irrigation Amount! Must be between %.2f and %.2f";
inline constexpr const char* kMaxDailyRainMessage =
    "Invalid Maximum Effective Daily Rain! Must be between %.2f and %.2f";
inline constexpr const char* kMaxRainTotalMessage =
    "Invalid Maximum Effective Rain Total! Must be between %.2f and %.2f";
inline constexpr const char* kCutoffMessage =
    "Invalid Rain Cutoff! Must be between %.2f and %.2f";

// The Default button's rain value from a settings key holding hundredths:
// "%.2f" of the whole number x 0.01.
std::string HundredthsKeyToInches(int hundredths);

// Whole-number ranges of the two forms.
struct WholeRange {
    int low;
    int high;
    bool Holds(const std::string& text) const;
};
inline constexpr WholeRange kIrrigationTimeoutRange{5, 255};
inline constexpr WholeRange kIrrigationCycleRange{1, 255};
inline constexpr WholeRange kAlarmDelayRange{0, 999};
inline constexpr WholeRange kPulseWidthRange{1, 9999};

// The record's rain unit into IRRIGATION_RAIN_UNIT of config.txt.
void StoreRainUnit(const CIrrigationSettings& record);

// Stores the rain unit under IRRIGATION_RAIN_UNIT, wakes the console and
// writes parameters 1, 3-8, 10, 25, 26 and 27, stopping at the first write
// the logger does not confirm.
bool WriteIrrigationSettings(const CIrrigationSettings& record);

// The advanced form's OK: the rain unit as above, then parameters 3 to 7.
bool WriteIrrigationAdvanced(const CIrrigationSettings& record);
