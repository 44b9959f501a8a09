#include "loggers/AprsConfig.h"

#include "loggers/LoggerParameters.h"
#include "link/ConsoleLink.h"
#include "link/ModuleCommands.h"
#include "base/NumericText.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr std::size_t kLatitudeLength = 8;   // "4903.50N"
constexpr std::size_t kLongitudeLength = 9;  // "07201.75W"
constexpr double kHundredthsPerSecond = 1.6666666666666667;

bool BeginsWithIgnoringCase(const std::string& text, const std::string& prefix)
{
    if (prefix.size() > text.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(prefix[i])))
            return false;
    }
    return true;
}

std::string Plain(int value)
{
    return std::to_string(value);
}

int Digits(const std::string& half, std::size_t first, std::size_t count)
{
    return ReadInt(half.substr(first, count));
}

struct CheckedCoordinate {
    int degrees = 0;
    int minutes = 0;
    int seconds = 0;
};

std::optional<CheckedCoordinate> Check(const AprsCoordinate& c, int maxDegrees)
{
    const auto degrees = WholeNumberRule(c.degrees);
    const auto minutes = WholeNumberRule(c.minutes);
    const auto seconds = WholeNumberRule(c.seconds);
    if (!degrees || *degrees < 0 || *degrees > maxDegrees) return std::nullopt;
    if (!minutes || *minutes < 0 || *minutes > kMaxMinutesOrSeconds) return std::nullopt;
    if (!seconds || *seconds < 0 || *seconds > kMaxMinutesOrSeconds) return std::nullopt;
    if (c.hemisphere == Hemisphere::None) return std::nullopt;
    return CheckedCoordinate{*degrees, *minutes, *seconds};
}

std::string Preview(const AprsCoordinate& c, int maxDegrees, const char* format, char first,
                    char second)
{
    const auto checked = Check(c, maxDegrees);
    if (!checked) return kAprsInvalidString;
    return FormatText(format, checked->degrees, checked->minutes,
                      checked->seconds * kHundredthsPerSecond,
                      c.hemisphere == Hemisphere::NorthOrEast ? first : second);
}

}  // namespace

std::optional<std::string> FindAprsBaudEntry(const std::string& baud)
{
    for (std::size_t i = 1; i <= kAprsBaudEntries.size(); ++i) {
        const std::string entry = kAprsBaudEntries[i % kAprsBaudEntries.size()];
        if (BeginsWithIgnoringCase(entry, baud)) return entry;
    }
    return std::nullopt;
}

bool IsAprsBaud(const std::string& text)
{
    for (unsigned char c : text)
        if (c < 0x20 || c == 0x7F || c == '|') return false;
    const auto baud = ReadWholeNumber(text);
    if (!baud) return false;
    for (const char* entry : kAprsBaudEntries)
        if (*baud == ReadInt(entry)) return true;
    return false;
}

int SecondsFromHundredths(int hundredths)
{
    return static_cast<int>(((hundredths * 0.01) + 0.005) * 60);
}

std::optional<AprsPosition> ParseAprsPosition(const std::string& position)
{
    if (position.find_first_of("EW") == std::string::npos) return std::nullopt;
    const auto slash = position.find('/');
    if (slash == std::string::npos) return std::nullopt;
    const std::string lat = position.substr(0, slash);
    const std::string lon = position.substr(slash + 1);
    // Reading a half stops at its layout; a shorter one is not a position.
    if (lat.size() < kLatitudeLength || lon.size() < kLongitudeLength) return std::nullopt;

    AprsPosition result;
    result.latitude.degrees = Plain(Digits(lat, 0, 2));
    result.latitude.minutes = Plain(Digits(lat, 2, 2));
    result.latitude.seconds = Plain(SecondsFromHundredths(Digits(lat, 5, 2)));
    if (lat.find('N') != std::string::npos)
        result.latitude.hemisphere = Hemisphere::NorthOrEast;
    else if (lat.find('S') != std::string::npos)
        result.latitude.hemisphere = Hemisphere::SouthOrWest;

    result.longitude.degrees = Plain(Digits(lon, 0, 3));
    result.longitude.minutes = Plain(Digits(lon, 3, 2));
    result.longitude.seconds = Plain(SecondsFromHundredths(Digits(lon, 6, 2)));
    if (lon.find('E') != std::string::npos)
        result.longitude.hemisphere = Hemisphere::NorthOrEast;
    else if (lon.find('W') != std::string::npos)
        result.longitude.hemisphere = Hemisphere::SouthOrWest;
    return result;
}

std::string BuildLatitudePreview(const AprsCoordinate& latitude)
{
    return Preview(latitude, kMaxLatitudeDegrees, "%02d%02d.%02.0f%c", 'N', 'S');
}

std::string BuildLongitudePreview(const AprsCoordinate& longitude)
{
    return Preview(longitude, kMaxLongitudeDegrees, "%03d%02d.%02.0f%c", 'E', 'W');
}

std::string BuildAprsPosition(const std::string& latitudePreview,
                              const std::string& longitudePreview)
{
    return latitudePreview + "/" + longitudePreview + "_";
}

bool WriteAprsSettings(const CAprsSettings& record)
{
    const ModuleWritePlan plan = AprsWritePlan(record);
    return SendModuleWrites(plan) == plan.size();
}
