#include "NumericText.h"

#include <gtest/gtest.h>

namespace {

TEST(NumericTextRule, WholeNumbers)
{
    EXPECT_EQ(WholeNumberRule("5-"), 5);
    EXPECT_EQ(WholeNumberRule("-"), 0);
    EXPECT_EQ(WholeNumberRule("-12"), -12);
    EXPECT_EQ(WholeNumberRule("30-"), 30);
    EXPECT_EQ(WholeNumberRule(""), std::nullopt);
    EXPECT_EQ(WholeNumberRule("1.5"), std::nullopt);
    EXPECT_EQ(WholeNumberRule("1 "), std::nullopt);
    EXPECT_EQ(WholeNumberRule("12:30"), std::nullopt);
    EXPECT_EQ(WholeNumberRule("99999999999"), 2147483647) << "clamped, never undefined";
}

TEST(NumericTextRule, Decimals)
{
    EXPECT_DOUBLE_EQ(*DecimalRule("1.2.3"), 1.2);
    EXPECT_DOUBLE_EQ(*DecimalRule("-.5"), -0.5);
    EXPECT_DOUBLE_EQ(*DecimalRule("-"), 0.0);
    EXPECT_EQ(DecimalRule(""), std::nullopt);
    EXPECT_EQ(DecimalRule("1e5"), std::nullopt);
    EXPECT_EQ(DecimalRule("2,5"), std::nullopt);
}

TEST(TypedCharFilter, RejectsLettersAndMostPunctuation)
{
    int rejected = 0;
    for (unsigned c = 0; c < 128; ++c) {
        const bool r = IsRejectedTypedChar(c, true);
        rejected += r;
        const bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
        if (letter) {
            EXPECT_TRUE(r) << c;
        }
        if ((c >= '0' && c <= '9') || c < 0x20 || c == ' ' || c == ':' || c == '?' ||
            c == '.' || c == '-' || c == 0x7F) {
            EXPECT_FALSE(r) << c;
        }
    }
    EXPECT_EQ(rejected, 52 + 28);
    for (char c : std::string(",$!/;<=>@[]{}~`_|\"'#%&()*+\\^"))
        EXPECT_TRUE(IsRejectedTypedChar(static_cast<unsigned char>(c), true)) << c;
}

TEST(TypedCharFilter, MinusFollowsAllowMinus)
{
    EXPECT_FALSE(IsRejectedTypedChar('-', true));
    EXPECT_TRUE(IsRejectedTypedChar('-', false));
    EXPECT_FALSE(IsRejectedTypedChar('5', false));
}

}  // namespace
