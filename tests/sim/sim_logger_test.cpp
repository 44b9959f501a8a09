// The simulated logger's answers to module lines, kind by kind.

#include "SimLogger.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    SimKind kind;
    const char* line;    // without its line feed
    const char* reply;   // expected reply text
    int param;           // parameter whose stored value is checked, 0 for none
    const char* stored;  // expected stored value afterwards
};

std::ostream& operator<<(std::ostream& os, const Exchange& e)
{
    return os << SimKindName(e.kind) << " \"" << e.line << "\"";
}

class LoggerExchange : public ::testing::TestWithParam<Exchange> {};

TEST_P(LoggerExchange, RepliesAndStores)
{
    const Exchange& e = GetParam();
    SimLogger logger(e.kind, SimDefaultFirmware(e.kind));
    SimState state = SimState::Defaults(e.kind);
    EXPECT_EQ(logger.Handle(e.line, state).text, e.reply);
    if (e.param) {
        EXPECT_EQ(state.params[e.param], e.stored);
    }
}

constexpr SimKind A = SimKind::Aloha, P = SimKind::Aprs, I = SimKind::Irr, M = SimKind::Aom;

INSTANTIATE_TEST_SUITE_P(Aloha, LoggerExchange, ::testing::Values(
    Exchange{A, "MOD01 |", "30", 1, "30"},
    Exchange{A, "MOD02 |", "1", 2, "1"},
    Exchange{A, "MOD01 120", "OK", 1, "120"},
    Exchange{A, "MOD01 30-", "OK", 1, "30"},  // read as atoi reads it
    Exchange{A, "MOD01 5", "OK", 1, "5"},
    Exchange{A, "MOD01 255", "OK", 1, "255"},
    Exchange{A, "MOD01 4", "ERR", 1, "30"},
    Exchange{A, "MOD01 256", "ERR", 1, "30"},
    Exchange{A, "MOD02 0", "OK", 2, "0"},
    Exchange{A, "MOD02 999", "OK", 2, "999"},
    Exchange{A, "MOD02 1000", "ERR", 2, "1"},
    Exchange{A, "MOD02 -1", "ERR", 2, "1"},
    Exchange{A, "MOD02 abc", "ERR", 2, "1"},
    Exchange{A, "MOD12 |", "ERR", 0, ""}));

INSTANTIATE_TEST_SUITE_P(Aprs, LoggerExchange, ::testing::Values(
    Exchange{P, "MOD01 |", "30", 0, ""},
    Exchange{P, "MOD12 |", "9600", 0, ""},
    Exchange{P, "MOD13 |", "4903.50N/07201.75W_", 0, ""},
    Exchange{P, "MOD14 |", "10", 0, ""},
    Exchange{P, "MOD01 999", "OK", 1, "999"},
    Exchange{P, "MOD01 1000", "ERR", 1, "30"},
    Exchange{P, "MOD12 9600 baud", "OK", 12, "9600"},
    Exchange{P, "MOD12 14400", "OK", 12, "14400"},
    Exchange{P, "MOD12 9601", "ERR", 12, "9600"},
    Exchange{P, "MOD13 9059.98S/18059.98E_", "OK", 13, "9059.98S/18059.98E_"},
    Exchange{P, "MOD13 9100.00N/07201.75W_", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD13 4960.00N/07201.75W_", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD13 4903.50N/18101.75W_", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD13 4903.50X/07201.75W_", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD13 4903.50N/07201.75W", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD13 invalid string/invalid string_", "ERR", 13, "4903.50N/07201.75W_"},
    Exchange{P, "MOD14 1", "OK", 14, "1"},
    Exchange{P, "MOD14 99", "OK", 14, "99"},
    Exchange{P, "MOD14 0", "ERR", 14, "10"},
    Exchange{P, "MOD14 100", "ERR", 14, "10"}));

INSTANTIATE_TEST_SUITE_P(Irrigation, LoggerExchange, ::testing::Values(
    Exchange{I, "MOD01 |", "60", 0, ""},
    Exchange{I, "MOD03 |", "5", 0, ""},
    Exchange{I, "MOD04 |", "10", 0, ""},
    Exchange{I, "MOD05 |", "500", 0, ""},
    Exchange{I, "MOD06 |", "1", 0, ""},
    Exchange{I, "MOD07 |", "0", 0, ""},
    Exchange{I, "MOD08 |", "3", 0, ""},
    Exchange{I, "MOD09 |", "0", 0, ""},
    Exchange{I, "MOD10 |", "50", 0, ""},
    Exchange{I, "MOD25 |", "100", 0, ""},
    Exchange{I, "MOD26 |", "150", 0, ""},
    Exchange{I, "MOD27 |", "300", 0, ""},
    Exchange{I, "MOD01 4", "ERR", 1, "60"},
    Exchange{I, "MOD01 255", "OK", 1, "255"},
    Exchange{I, "MOD01 256", "ERR", 1, "60"},
    Exchange{I, "MOD03 999", "OK", 3, "999"},
    Exchange{I, "MOD03 1000", "ERR", 3, "5"},
    Exchange{I, "MOD04 0", "OK", 4, "0"},
    Exchange{I, "MOD05 0", "ERR", 5, "500"},
    Exchange{I, "MOD05 9999", "OK", 5, "9999"},
    Exchange{I, "MOD05 10000", "ERR", 5, "500"},
    Exchange{I, "MOD06 0", "OK", 6, "0"},
    Exchange{I, "MOD06 2", "ERR", 6, "1"},
    Exchange{I, "MOD07 1", "OK", 7, "1"},
    Exchange{I, "MOD08 0", "OK", 8, "0"},
    Exchange{I, "MOD08 256", "ERR", 8, "3"},
    Exchange{I, "MOD09 5", "ERR", 9, "0"},  // read only
    Exchange{I, "MOD10 255", "OK", 10, "255"},
    Exchange{I, "MOD10 99", "OK", 10, "99"},
    Exchange{I, "MOD10 100", "ERR", 10, "50"},
    Exchange{I, "MOD25 999", "OK", 25, "999"},
    Exchange{I, "MOD25 1000", "ERR", 25, "100"},
    Exchange{I, "MOD26 -1", "ERR", 26, "150"},
    Exchange{I, "MOD27 0", "OK", 27, "0"},
    Exchange{I, "MOD11 4 1", "ERR", 0, ""},
    Exchange{I, "MOD11 0 2", "ERR", 0, ""},
    Exchange{I, "MOD11 0", "ERR", 0, ""},
    Exchange{I, "MOD11 |", "ERR", 0, ""},
    Exchange{I, "MOD16 0 |", "ERR", 0, ""}));

INSTANTIATE_TEST_SUITE_P(AlarmOutputModule, LoggerExchange, ::testing::Values(
    Exchange{M, "MOD01 |", "60", 0, ""},
    Exchange{M, "MOD24 |", "1", 0, ""},
    Exchange{M, "MOD01 1", "OK", 1, "1"},  // the transmitter-list read lowers it to 1
    Exchange{M, "MOD01 0", "ERR", 1, "60"},
    Exchange{M, "MOD01 60-", "OK", 1, "60"},
    Exchange{M, "MOD01 999", "OK", 1, "999"},
    Exchange{M, "MOD01 1000", "ERR", 1, "60"},
    Exchange{M, "MOD24 0", "OK", 24, "0"},
    Exchange{M, "MOD24 2", "ERR", 24, "1"},
    Exchange{M, "MOD21", "6", 0, ""},
    Exchange{M, "MOD22 0", "4146 2305 60", 0, ""},
    Exchange{M, "MOD22 5", "12324 5248 236", 0, ""},
    Exchange{M, "MOD22 6", "ERR", 0, ""},
    Exchange{M, "MOD22 -1", "ERR", 0, ""},
    Exchange{M, "MOD19 0 |", "5 10", 0, ""},
    Exchange{M, "MOD20 1 |", "250 1", 0, ""},
    Exchange{M, "MOD18 1 |", "2", 0, ""},
    Exchange{M, "MOD16 0 |", "17 0 850;2 1 600", 0, ""},
    Exchange{M, "MOD16 1 |", "10 0 50;19 4 30 10 25", 0, ""},
    Exchange{M, "MOD16 3 |", "", 0, ""},
    Exchange{M, "MOD16 4 |", "ERR", 0, ""},
    Exchange{M, "MOD11 0 |", "0", 0, ""},
    Exchange{M, "MOD02 |", "ERR", 0, ""}));

// Line layouts: only 0, 21 and 22 go without " |", only 23 is a bare command.
INSTANTIATE_TEST_SUITE_P(Layout, LoggerExchange, ::testing::Values(
    Exchange{M, "MOD00", "AOM     100", 0, ""},
    Exchange{M, "MOD00 |", "ERR", 0, ""},
    Exchange{M, "MOD21 |", "ERR", 0, ""},
    Exchange{M, "MOD22 0 |", "ERR", 0, ""},
    Exchange{M, "MOD23 |", "ERR", 0, ""},
    Exchange{M, "MOD01", "ERR", 0, ""},
    Exchange{M, "MOD1 |", "ERR", 0, ""},
    Exchange{M, "MOD001 |", "ERR", 0, ""},
    Exchange{M, "MOD01 |\r", "ERR", 0, ""},
    Exchange{M, "MOD01  |", "ERR", 0, ""},
    Exchange{M, "mod01 |", "ERR", 0, ""},
    Exchange{M, "MOD99 |", "ERR", 0, ""},
    Exchange{M, "MOD100 |", "ERR", 0, ""},
    Exchange{M, "MOD01 ", "ERR", 1, "60"},
    Exchange{A, "MOD21", "ERR", 0, ""},
    Exchange{A, "MOD23", "ERR", 0, ""}));

TEST(SimLogger, IdentificationPutsTheFirmwareAtPositions8To10)
{
    EXPECT_EQ(SimLogger(SimKind::Irr, 202).Identification(), "IRR     202");
    EXPECT_EQ(SimLogger(SimKind::Irr, 201).Identification(), "IRR     201");
    EXPECT_EQ(SimLogger(SimKind::Aloha, 100).Identification(), "ALOHA   100");
    EXPECT_EQ(SimLogger(SimKind::Aprs, 100).Identification(), "APRS    100");
    EXPECT_EQ(SimLogger(SimKind::Aom, 7).Identification(), "AOM     007");
}

// Runs lines in order and returns the replies, joined by "|".
std::string Replies(SimState& state, std::initializer_list<const char*> lines, SimKind kind = SimKind::Aom)
{
    SimLogger logger(kind, 100);
    std::string replies;
    for (const char* line : lines) {
        if (!replies.empty()) replies += '|';
        replies += logger.Handle(line, state).text;
    }
    return replies;
}

TEST(SimLogger, ConditionsWrittenInPairsComeBackInTheRecordLayout)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD15 3", "MOD16 3 |"}), "OK|");
    EXPECT_EQ(Replies(s, {"MOD16 3 17 2", "MOD17 3 17 200 800",      // Between
                      "MOD16 3 17 7 2", "MOD17 3 17 65486",       // Minus, less than 5.0 F
                      "MOD16 3 19 4 30", "MOD17 3 19 10 25",      // Trending in 30 minutes
                      "MOD16 3 4 5", "MOD17 3 4 0",               // bar trend True
                      "MOD16 3 128 3", "MOD17 3 128 0730 1800",   // time Not Between
                      "MOD16 3 18 0", "MOD17 3 18 5-",            // humidity as typed
                      "MOD18 3 2"}),
              "OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK");
    EXPECT_EQ(Replies(s, {"MOD16 3 |", "MOD18 3 |"}),
              "17 2 200 800;17 7 2 65486;19 4 30 10 25;4 5;128 3 730 1800;18 0 5|2");
    // Clearing forgets the conditions, not the logic.
    EXPECT_EQ(Replies(s, {"MOD15 3", "MOD16 3 |", "MOD18 3 |"}), "OK||2");
    EXPECT_EQ(FormatConditions(s.outputs[0].conditions), "17 0 850;2 1 600");
}

TEST(SimLogger, AHeadWithoutItsValuesIsAnsweredAsFarAsItGoes)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD15 2", "MOD16 2 19 4 15", "MOD16 2 17 7 129", "MOD16 2 |"}),
              "OK|OK|OK|19 4 15;17 7 129");
}

struct Refused {
    const char* setup;  // a head sent first, or ""
    const char* line;
};

TEST(SimLogger, ConditionLinesTheModuleCannotHoldAreRefused)
{
    const Refused cases[] = {
        {"", "MOD17 0 17 850"},                 // values without a head
        {"MOD16 0 17 0", "MOD17 0 18 50"},      // values for another parameter
        {"MOD16 0 17 0", "MOD17 0 17 850 900"}, // two values for one
        {"MOD16 0 17 2", "MOD17 0 17 850"},     // one value for Between
        {"MOD16 0 17 0", "MOD17 0 17 1641"},    // 164.1 F
        {"MOD16 0 17 0", "MOD17 0 17 -901"},
        {"MOD16 0 18 0", "MOD17 0 18 101"},
        {"MOD16 0 1 0", "MOD17 0 1 15999"},
        {"MOD16 0 128 6", "MOD17 0 128 2360"},
        {"MOD16 0 128 6", "MOD17 0 128 1260"},
        {"MOD16 0 4 5", "MOD17 0 4 1"},         // True carries a literal 0
        {"MOD16 0 17 7 2", "MOD17 0 17 65536"},
        {"", "MOD16 0 128 0"},                  // Time offers Between, Not Between, =
        {"", "MOD16 0 4 0"},                    // bar trend: True and Missing only
        {"", "MOD16 0 50 8"},                   // low battery: True only
        {"", "MOD16 0 1 7 2"},                  // barometer has no Minus
        {"", "MOD16 0 17 7 18"},                // temperature minus humidity
        {"", "MOD16 0 1000 0"},                 // table code, never a module code
        {"", "MOD16 0 17 4"},                   // Trending needs its minutes
        {"", "MOD16 0 17 4 0"},
        {"", "MOD16 0 17 4 256"},
        {"", "MOD16 0 17 0 5"},
        {"", "MOD16 4 17 0"},
        {"", "MOD16 0 17 9"},
        {"", "MOD15 4"},
        {"", "MOD18 0 3"},
        {"", "MOD19 0 1000 0"},
        {"", "MOD19 0 5"},
        {"", "MOD20 0 10000 0"},
        {"", "MOD20 0 0 2"},
        {"", "MOD11 0 2"},
        {"", "MOD11 4 |"},
    };
    for (const Refused& c : cases) {
        SimState s = SimState::Defaults(SimKind::Aom);
        SimLogger logger(SimKind::Aom, 100);
        if (*c.setup) {
            ASSERT_EQ(logger.Handle(c.setup, s).text, "OK") << c.setup;
        }
        const SimState before = s;
        SimModuleReply reply = logger.Handle(c.line, s);
        EXPECT_EQ(reply.text, "ERR") << c.line;
        EXPECT_FALSE(reply.changed) << c.line;
        EXPECT_EQ(s, before) << c.line;
    }
}

TEST(SimLogger, ValuesComeOnceButTrueAndMissingTakeTheirZeroAnyTime)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD15 0", "MOD16 0 17 2", "MOD17 0 17 1 2", "MOD17 0 17 3 4",
                          "MOD16 0 4 8", "MOD16 0 |", "MOD17 0 4 0", "MOD17 0 4 0"}),
              "OK|OK|OK|ERR|OK|17 2 1 2;4 8|OK|OK");
    // What the module holds reads back the same from its state text.
    SimState reread;
    ASSERT_TRUE(reread.ApplyText(s.ToText()));
    EXPECT_EQ(reread, s);
}

TEST(SimLogger, AnOutputHoldsAtMostEightConditions)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    SimLogger logger(SimKind::Aom, 100);
    ASSERT_EQ(logger.Handle("MOD15 0", s).text, "OK");
    for (int i = 0; i < 8; ++i) {
        ASSERT_EQ(logger.Handle("MOD16 0 17 0", s).text, "OK");
        ASSERT_EQ(logger.Handle("MOD17 0 17 850", s).text, "OK");
    }
    EXPECT_EQ(logger.Handle("MOD16 0 17 0", s).text, "ERR");
}

TEST(SimLogger, ValuesAtTheLimitsTheFormsLetThroughAreHeld)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD15 0",
                      "MOD16 0 17 2", "MOD17 0 17 -900 1640",
                      "MOD16 0 132 3", "MOD17 0 132 -909 1649",
                      "MOD16 0 24 0", "MOD17 0 24 254",
                      "MOD16 0 1 2", "MOD17 0 1 16000 32500",
                      "MOD16 0 14 0", "MOD17 0 14 65000",
                      "MOD16 0 140 0", "MOD17 0 140 853",
                      "MOD16 0 21 2", "MOD17 0 21 300 60",
                      "MOD16 0 128 2", "MOD17 0 128 0 2359"}),
              "OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK|OK");
}

TEST(SimLogger, RelaysOptionsAndTheAlarmLog)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD11 3 1", "MOD11 3 |", "MOD11 2 |", "MOD11 3 0", "MOD11 3 |"}), "OK|1|0|OK|0");
    EXPECT_EQ(Replies(s, {"MOD19 2 5- 10", "MOD19 2 |", "MOD20 2 00 1", "MOD20 2 |"}), "OK|5 10|OK|0 1");
    EXPECT_EQ(Replies(s, {"MOD21", "MOD23", "MOD21", "MOD22 0"}), "6|OK|0|ERR");

    SimState irr = SimState::Defaults(SimKind::Irr);
    EXPECT_EQ(Replies(irr, {"MOD11 1 1", "MOD11 1 |", "MOD11 0 |"}, SimKind::Irr), "OK|1|0");
    EXPECT_EQ(irr.switches, (std::array<int, 4>{0, 1, 0, 0}));
}

TEST(SimLogger, RefusingSetsLeavesQueriesAlone)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    SimLogger logger(SimKind::Aom, 100);
    EXPECT_EQ(logger.Handle("MOD01 120", s, true).text, "ERR");
    EXPECT_EQ(logger.Handle("MOD23", s, true).text, "ERR");
    EXPECT_EQ(logger.Handle("MOD01 |", s, true).text, "60");
    EXPECT_EQ(logger.Handle("MOD22 1", s, true).text, "2 2462 0");
    EXPECT_EQ(s, SimState::Defaults(SimKind::Aom));
}

TEST(SimLogger, AConsoleWithoutLoggerAnswersNothing)
{
    SimState s;
    SimLogger logger(SimKind::None, 0);
    EXPECT_EQ(logger.Handle("MOD00", s).form, SimLineForm::Query);
    EXPECT_EQ(logger.Handle("MOD00", s).text, "ERR");
}

TEST(SimAlarmRecord, EncodesTheBitLayout)
{
    // output 0, active, conditions 0 and 1, 1 February 04:01:15
    EXPECT_EQ(EncodeAlarmRecord(0, true, 3, 2, 1, 4, 1, 15), (SimAlarmRecord{4146, 2305, 60}));
    EXPECT_EQ(EncodeAlarmRecord(3, false, 0x80, 12, 31, 23, 59, 59),
              (SimAlarmRecord{(3u << 13) | (0x80u << 4) | 12u, (31u << 11) | (23u << 6) | 59u, 59u << 2}));
}

}  // namespace
