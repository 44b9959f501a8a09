// The simulated logger's answers to module lines, kind by kind, and the
// alarm output module's condition records.

#include "SimLogger.h"

#include <gtest/gtest.h>

namespace {

struct Exchange {
    SimKind kind;
    const char* line;  // without its line feed
    const char* reply = "ERR";
    int param = 0;  // the parameter a set changes; 0: nothing may change
    const char* stored = "";
};

constexpr SimKind A = SimKind::Aloha, P = SimKind::Aprs, I = SimKind::Irr, M = SimKind::Aom;

TEST(SimLogger, EachKindAnswersItsParametersHoldsWhatFitsAndRefusesTheRest)
{
    const Exchange exchanges[] = {
        {A, "MOD00", "ALOHA   100"}, {A, "MOD01 |", "30"}, {A, "MOD02 |", "1"}, {A, "MOD12 |"}, {A, "MOD21"},
        {A, "MOD01 5", "OK", 1, "5"}, {A, "MOD01 255", "OK", 1, "255"}, {A, "MOD01 4"}, {A, "MOD01 256"},
        {A, "MOD02 0", "OK", 2, "0"}, {A, "MOD02 999", "OK", 2, "999"}, {A, "MOD02 1000"}, {A, "MOD02 -1"},
        {A, "MOD02 abc"}, {A, "MOD23"}, {A, "MOD01 45-", "OK", 1, "45"},  // read as atoi reads it

        {P, "MOD00", "APRS    100"}, {P, "MOD01 |", "30"}, {P, "MOD12 |", "9600"}, {P, "MOD14 |", "10"},
        {P, "MOD13 |", "4903.50N/07201.75W_"}, {P, "MOD01 999", "OK", 1, "999"}, {P, "MOD01 1000"}, {P, "MOD12 9601"},
        {P, "MOD12 14400", "OK", 12, "14400"}, {P, "MOD13 9059.98S/18059.98E_", "OK", 13, "9059.98S/18059.98E_"},
        {P, "MOD13 9100.00N/07201.75W_"}, {P, "MOD13 4960.00N/07201.75W_"}, {P, "MOD13 4903.50N/07201.75W"},
        {P, "MOD13 4903.50N/18101.75W_"}, {P, "MOD13 4903.50X/07201.75W_"}, {P, "MOD14 0"}, {P, "MOD14 100"},
        {P, "MOD13 invalid string/invalid string_"}, {P, "MOD14 1", "OK", 14, "1"}, {P, "MOD14 99", "OK", 14, "99"},

        // Irrigation: 9 is read only; 11 sets a circuit "c s" and queries "c |".
        {I, "MOD00", "IRR     202"}, {I, "MOD01 |", "60"}, {I, "MOD03 |", "5"}, {I, "MOD04 |", "10"},
        {I, "MOD05 |", "500"}, {I, "MOD06 |", "1"}, {I, "MOD07 |", "0"}, {I, "MOD08 |", "3"}, {I, "MOD09 |", "0"},
        {I, "MOD10 |", "50"}, {I, "MOD25 |", "100"}, {I, "MOD26 |", "150"}, {I, "MOD27 |", "300"}, {I, "MOD16 0 |"},
        {I, "MOD01 255", "OK", 1, "255"}, {I, "MOD01 4"}, {I, "MOD01 256"}, {I, "MOD03 999", "OK", 3, "999"},
        {I, "MOD03 1000"}, {I, "MOD04 0", "OK", 4, "0"}, {I, "MOD05 9999", "OK", 5, "9999"}, {I, "MOD05 0"},
        {I, "MOD05 10000"}, {I, "MOD06 0", "OK", 6, "0"}, {I, "MOD06 2"}, {I, "MOD07 1", "OK", 7, "1"}, {I, "MOD09 5"},
        {I, "MOD08 0", "OK", 8, "0"}, {I, "MOD08 256"}, {I, "MOD10 99", "OK", 10, "99"}, {I, "MOD10 100"},
        {I, "MOD10 255", "OK", 10, "255"}, {I, "MOD25 999", "OK", 25, "999"}, {I, "MOD25 1000"}, {I, "MOD26 -1"},
        {I, "MOD27 0", "OK", 27, "0"}, {I, "MOD11 3 |", "0"}, {I, "MOD11 4 1"}, {I, "MOD11 0 2"}, {I, "MOD11 0"},
        {I, "MOD11 |"},

        {M, "MOD00", "AOM     100"}, {M, "MOD01 |", "60"}, {M, "MOD24 |", "1"}, {M, "MOD11 0 |", "0"},
        {M, "MOD01 1", "OK", 1, "1"}, {M, "MOD01 999", "OK", 1, "999"}, {M, "MOD01 0"}, {M, "MOD01 1000"},
        {M, "MOD24 0", "OK", 24, "0"}, {M, "MOD24 2"}, {M, "MOD02 |"}, {M, "MOD11 4 |"}, {M, "MOD11 0 2"},
        {M, "MOD21", "6"}, {M, "MOD22 0", "4146 2305 60"}, {M, "MOD22 5", "12324 5248 236"}, {M, "MOD22 6"},
        {M, "MOD22 -1"}, {M, "MOD18 1 |", "2"}, {M, "MOD19 0 |", "5 10"}, {M, "MOD20 1 |", "250 1"},
        {M, "MOD16 0 |", "17 0 850;2 1 600"}, {M, "MOD16 1 |", "10 0 50;19 4 30 10 25"},
        {M, "MOD16 2 |", "17 7 129 50"}, {M, "MOD16 3 |", "18 0 90;128 2 700 1900"}, {M, "MOD16 4 |"}, {M, "MOD15 4"},
        {M, "MOD18 0 3"}, {M, "MOD19 0 1000 0"}, {M, "MOD19 0 5"}, {M, "MOD20 0 10000 0"}, {M, "MOD20 0 0 2"},
        // Conditions the module cannot hold: values without a head, a check
        // the parameter does not offer, Trending without its minutes.
        {M, "MOD17 0 17 850"}, {M, "MOD16 0 128 0"}, {M, "MOD16 0 4 0"}, {M, "MOD16 0 50 8"},
        {M, "MOD16 0 1 7 2"}, {M, "MOD16 0 17 7 18"}, {M, "MOD16 0 1000 0"}, {M, "MOD16 0 17 9"},
        {M, "MOD16 0 17 4"}, {M, "MOD16 0 17 4 0"}, {M, "MOD16 0 17 4 256"}, {M, "MOD16 0 17 0 5"},

        // Only 0, 21 and 22 go without " |", only 23 is a bare command.
        {M, "MOD00 |"}, {M, "MOD21 |"}, {M, "MOD22 0 |"}, {M, "MOD23 |"}, {M, "MOD01"}, {M, "MOD01 "},
        {M, "MOD1 |"}, {M, "MOD001 |"}, {M, "MOD01  |"}, {M, "mod01 |"}, {M, "MOD01 |\r"}, {M, "MOD100 |"},
    };
    for (const Exchange& e : exchanges) {
        SimState state = SimState::Defaults(e.kind);
        SimState expected = state;
        if (e.param) expected.params[e.param] = e.stored;
        EXPECT_EQ(SimLogger(e.kind, SimDefaultFirmware(e.kind)).Handle(e.line, state).text, e.reply)
            << SimKindName(e.kind) << " \"" << e.line << '"';
        EXPECT_EQ(state, expected) << SimKindName(e.kind) << " \"" << e.line << '"';
    }
}

// Runs lines in order and returns the replies, joined by "|".
std::string Replies(SimState& state, std::initializer_list<const char*> lines, SimKind kind = SimKind::Aom)
{
    SimLogger logger(kind, 100);
    std::string replies;
    for (const char* line : lines) replies += (replies.empty() ? "" : "|") + logger.Handle(line, state).text;
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
    // What the module holds reads back the same from its state text.
    SimState reread;
    ASSERT_TRUE(reread.ApplyText(s.ToText()));
    EXPECT_EQ(reread, s);
}

TEST(SimLogger, ConditionValuesComeOnceWithinRangeAndAnOutputHoldsEight)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD15 0", "MOD16 0 17 0", "MOD17 0 18 50", "MOD17 0 17 850 900", "MOD17 0 17 1641",
                          "MOD17 0 17 -901", "MOD17 0 17 1640", "MOD17 0 17 850",
                          "MOD16 0 17 2", "MOD17 0 17 850", "MOD17 0 17 -900 1640",
                          "MOD16 0 18 0", "MOD17 0 18 101", "MOD17 0 18 100",
                          "MOD16 0 128 6", "MOD17 0 128 2360", "MOD17 0 128 1260", "MOD17 0 128 2359",
                          "MOD16 0 4 5", "MOD17 0 4 1", "MOD17 0 4 0", "MOD17 0 4 0",  // True takes its 0 any time
                          "MOD16 0 19 4 15", "MOD16 0 1 0", "MOD16 0 1 0", "MOD16 0 1 0"}),
              "OK|OK|ERR|ERR|ERR|ERR|OK|ERR|OK|ERR|OK|OK|ERR|OK|OK|ERR|ERR|OK|OK|ERR|OK|OK|OK|OK|OK|ERR");
    // A head without its values is answered as far as it goes.
    EXPECT_EQ(Replies(s, {"MOD16 0 |"}), "17 0 1640;17 2 -900 1640;18 0 100;128 6 2359;4 5;19 4 15;1 0;1 0");
}

TEST(SimLogger, RelaysCircuitsOptionsAndTheAlarmLog)
{
    SimState s = SimState::Defaults(SimKind::Aom);
    EXPECT_EQ(Replies(s, {"MOD11 3 1", "MOD11 3 |", "MOD11 2 |", "MOD11 3 0", "MOD11 3 |"}), "OK|1|0|OK|0");
    EXPECT_EQ(Replies(s, {"MOD19 2 5- 10", "MOD19 2 |", "MOD20 2 00 1", "MOD20 2 |"}), "OK|5 10|OK|0 1");
    EXPECT_EQ(Replies(s, {"MOD21", "MOD23", "MOD21", "MOD22 0"}), "6|OK|0|ERR");

    SimState irr = SimState::Defaults(SimKind::Irr);
    EXPECT_EQ(Replies(irr, {"MOD11 1 1", "MOD11 1 |", "MOD11 0 |"}, SimKind::Irr), "OK|1|0");
    EXPECT_EQ(irr.switches, (std::array<int, 4>{0, 1, 0, 0}));
}

}  // namespace
