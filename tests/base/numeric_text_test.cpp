#include "loggers/AprsConfig.h"
#include "base/NumericText.h"

#include <gtest/gtest.h>

TEST(NumericTextRule, WholeNumbersAndDecimalsAsAtoiAndAtofReadThem)
{
    EXPECT_EQ(WholeNumberRule("5-"), 5);
    EXPECT_EQ(WholeNumberRule("-"), 0);
    // Digits beyond an int are no number: atoi would wrap 4294968496 to 1200.
    for (const char* refused : {"", "1.5", "12:30", "99999999999", "4294968496", "-2147483649"})
        EXPECT_EQ(WholeNumberRule(refused), std::nullopt) << refused;
    EXPECT_EQ(ReadWholeNumber(" -2147483648x"), -2147483648LL);
    EXPECT_EQ(ReadWholeNumber("abc"), 0);
    // A speed followed by words is sent as typed.
    for (auto [baud, taken] : {std::pair{"1200", true}, {"9600 baud", true}, {"4294968496", false},
                               {"2400\x0Er0]", false}, {"2400 |", false}})
        EXPECT_EQ(IsAprsBaud(baud), taken) << baud;
    EXPECT_DOUBLE_EQ(*DecimalRule("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(*DecimalRule("-.5"), -0.5);
    for (const char* refused : {"", "1e5", "2,5"}) EXPECT_EQ(DecimalRule(refused), std::nullopt);
}

TEST(TypedCharFilter, RejectsLettersAndMostPunctuation)
{
    // Letters and the punctuation listed; never digits, ".", "-", ":", "?",
    // blanks, control characters or DEL.
    const std::string punctuation = ",$!/;<=>@[]{}~`_|\"'#%&()*+\\^";
    int rejected = 0;
    for (unsigned c = 0; c < 128; ++c) {
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        const bool listed = c != 0 && punctuation.find(static_cast<char>(c)) != std::string::npos;
        EXPECT_EQ(IsRejectedTypedChar(c, true), letter || listed) << c;
        rejected += IsRejectedTypedChar(c, true);
    }
    EXPECT_EQ(rejected, 52 + 28);
}
