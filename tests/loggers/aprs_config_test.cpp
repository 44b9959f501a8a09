// The APRS rules without widgets: the baud search and the position text
// both ways.

#include "AprsConfig.h"

#include <gtest/gtest.h>

namespace {

struct BaudCase {
    const char* stored;
    const char* selected;  // nullptr: the field stays empty
};

class AprsBaudSearch : public ::testing::TestWithParam<BaudCase> {};

TEST_P(AprsBaudSearch, SelectsFirstEntryBeginningWithText)
{
    const auto found = FindAprsBaudEntry(GetParam().stored);
    if (GetParam().selected)
        EXPECT_EQ(found, std::optional<std::string>(GetParam().selected));
    else
        EXPECT_FALSE(found);
}

INSTANTIATE_TEST_SUITE_P(
    Table, AprsBaudSearch,
    ::testing::Values(BaudCase{"9600", "9600"}, BaudCase{"1200", "1200"},
                      BaudCase{"19200", "19200"}, BaudCase{"96", "9600"},
                      // The search starts at 2400 and wraps to 1200 last.
                      BaudCase{"1", "14400"}, BaudCase{"", "2400"}, BaudCase{"12", "1200"},
                      BaudCase{"9600 baud", nullptr}, BaudCase{"abc", nullptr},
                      BaudCase{"300", nullptr}));

TEST(AprsBaudCheck, NumberAtStartMustBeASpeed)
{
    for (const char* good : {"1200", "2400", "4800", "9600", "14400", "19200", "9600 baud",
                             "1200x", " 2400"})
        EXPECT_TRUE(IsAprsBaud(good)) << good;
    for (const char* bad : {"", "960", "baud 9600", "38400", "-9600", "0"})
        EXPECT_FALSE(IsAprsBaud(bad)) << bad;
}

TEST(AprsPositionParse, HemispheresFollowTheLettersOfEachHalf)
{
    auto p = ParseAprsPosition("3351.00S/15112.00E_");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->latitude.hemisphere, Hemisphere::SouthOrWest);
    EXPECT_EQ(p->longitude.hemisphere, Hemisphere::NorthOrEast);

    p = ParseAprsPosition("4903.50X/07201.75W_");
    ASSERT_TRUE(p);
    EXPECT_EQ(p->latitude.hemisphere, Hemisphere::None);
    EXPECT_EQ(BuildLatitudePreview(p->latitude), kAprsInvalidString);
    EXPECT_EQ(BuildLongitudePreview(p->longitude), "07201.75W");
}

TEST(AprsPositionParse, TextsThatAreNoPositionOpenEmpty)
{
    for (const char* text : {"", "4903.50N/07201.75X_", "4903.50N07201.75W_", "49N/072W",
                             "4903.5N/07201.75W_", "4903.50N/0721.75W", "W", "/W",
                             "4903.50E/"})
        EXPECT_FALSE(ParseAprsPosition(text)) << text;
}

TEST(AprsPositionParse, HundredthsToSeconds)
{
    const std::pair<int, int> cases[] = {{50, 30}, {75, 45}, {98, 59}, {99, 59},
                                         {0, 0},   {1, 0},   {2, 1},   {17, 10}};
    for (auto [hundredths, seconds] : cases)
        EXPECT_EQ(SecondsFromHundredths(hundredths), seconds) << hundredths;
}

struct PreviewCase {
    AprsCoordinate coordinate;
    bool latitude;
    const char* expected;
};

class AprsPreview : public ::testing::TestWithParam<PreviewCase> {};

TEST_P(AprsPreview, BuildsHalfOrInvalidString)
{
    const auto& c = GetParam();
    EXPECT_EQ(c.latitude ? BuildLatitudePreview(c.coordinate) : BuildLongitudePreview(c.coordinate),
              c.expected);
}

constexpr auto N = Hemisphere::NorthOrEast;
constexpr auto S = Hemisphere::SouthOrWest;
constexpr auto None = Hemisphere::None;
constexpr const char* kInvalid = "invalid string";

INSTANTIATE_TEST_SUITE_P(
    Table, AprsPreview,
    ::testing::Values(
        PreviewCase{{"49", "3", "30", N}, true, "4903.50N"},
        PreviewCase{{"0", "0", "0", S}, true, "0000.00S"},
        PreviewCase{{"30-", "5", "1", N}, true, "3005.02N"},
        PreviewCase{{"91", "0", "0", N}, true, kInvalid},
        PreviewCase{{"49", "60", "0", N}, true, kInvalid},
        PreviewCase{{"-1", "3", "0", N}, true, kInvalid},
        PreviewCase{{"", "3", "0", N}, true, kInvalid},
        PreviewCase{{"4 9", "3", "0", N}, true, kInvalid},
        PreviewCase{{"49", "3", "30", None}, true, kInvalid},
        PreviewCase{{"72", "1", "45", S}, false, "07201.75W"},
        PreviewCase{{"180", "59", "59", N}, false, "18059.98E"},
        PreviewCase{{"181", "0", "0", N}, false, kInvalid}));

}  // namespace
