#pragma once
// The APRS logger's settings as the form edits them: the baud list, the
// position text split into degrees, minutes and seconds, the preview halves
// rebuilt from those, the ranges, and the write sequence.

#include "loggers/AprsSettings.h"

#include <array>
#include <optional>
#include <string>

inline constexpr const char* kAprsInvalidString = "invalid string";
inline constexpr const char* kAprsPreviewInitial = "-----";

// The baud list as the drop-down shows it.
inline constexpr std::array<const char*, 6> kAprsBaudEntries = {"1200", "2400", "4800",
                                                                 "9600", "14400", "19200"};

// The entry the baud field selects for a stored text: the first entry, in
// the order 2400, 4800, 9600, 14400, 19200, 1200 (the list's own search
// starts after the first entry and wraps), that begins with the text, letter
// case ignored. nullopt leaves the field empty.
std::optional<std::string> FindAprsBaudEntry(const std::string& baud);

// The check at OK: the number at the start of the text is one of the speeds.
// The text is sent as it stands, so it may hold no control character and no
// "|" (the logger would take the line for a query).
bool IsAprsBaud(const std::string& text);

enum class Hemisphere { None, NorthOrEast, SouthOrWest };

// One half of the position as the form shows it; the numbers as plain text.
struct AprsCoordinate {
    std::string degrees;
    std::string minutes;
    std::string seconds;
    Hemisphere hemisphere = Hemisphere::None;
};

struct AprsPosition {
    AprsCoordinate latitude;
    AprsCoordinate longitude;
};

// Splits a stored position ("4903.50N/07201.75W_"). nullopt when the text
// holds neither "E" nor "W", has no "/", or a half is shorter than its layout
// (8 characters for the latitude, 9 for the longitude): the form then opens
// with empty position fields.
std::optional<AprsPosition> ParseAprsPosition(const std::string& position);

// Seconds of arc from two digits of hundredths of a minute ("50" gives 30).
int SecondsFromHundredths(int hundredths);

// The limits of the position fields.
inline constexpr int kMaxLatitudeDegrees = 90;
inline constexpr int kMaxLongitudeDegrees = 180;
inline constexpr int kMaxMinutesOrSeconds = 59;

// The preview halves: "4903.50N" and "07201.75W", or "invalid string" when
// a field fails the whole-number rule or its range, or no hemisphere is set.
std::string BuildLatitudePreview(const AprsCoordinate& latitude);
std::string BuildLongitudePreview(const AprsCoordinate& longitude);

// The position text written to the logger: "%s/%s_" of the two halves.
std::string BuildAprsPosition(const std::string& latitudePreview,
                              const std::string& longitudePreview);

// Wakes the console and writes parameters 1, 12, 13 and 14 from the record,
// stopping at the first write the logger does not confirm.
bool WriteAprsSettings(const CAprsSettings& record);
