// The simulator's state text and its command line.

#include "SimCommandLine.h"
#include "SimState.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

TEST(SimState, TextRoundTripKeepsEverything)
{
    for (SimKind kind : {SimKind::Aloha, SimKind::Aprs, SimKind::Irr, SimKind::Aom, SimKind::None}) {
        SimState s = SimState::Defaults(kind);
        s.switches = {1, 0, 1, 0};
        SimState back;
        EXPECT_TRUE(back.ApplyText(s.ToText()));
        EXPECT_EQ(back, s) << SimKindName(kind);
    }
}

TEST(SimState, TheTextIsReadableKeyValueLines)
{
    const std::string text = SimState::Defaults(SimKind::Aom).ToText();
    for (const char* line : {"\nparam.1=60\n", "\nparam.24=1\n", "\nswitch.3=0\n",
                             "\noutput.0.conditions=17 0 850;2 1 600\n", "\noutput.1.logic=2\n",
                             "\noutput.0.options=5 10\n", "\noutput.1.pulse=250 1\n",
                             "\noutput.2.conditions=17 7 129 50\n", "\noutput.3.conditions=\n",
                             "\nalarms=4146 2305 60;2 2462 0;",
                             "\ntransmitters=00 FF 13 10 01 21 02 02 0A FF 0A FF 0A FF 0A FF\n"})
        EXPECT_NE(text.find(line), std::string::npos) << line;
}

TEST(SimState, BadLinesAreSkippedAndTheFirstIsNamed)
{
    SimState s = SimState::Defaults(SimKind::Irr);
    std::string error;
    EXPECT_FALSE(s.ApplyText("# comment\n\nparam.8=7\r\nswitch.9=1\noutput.0.logic=5\n"
                             "transmitters=00\nparam.1=90\nnonsense\n",
                             &error));
    EXPECT_EQ(error, "line 4: switch.9=1");
    EXPECT_EQ(s.params[8], "7");
    EXPECT_EQ(s.params[1], "90");
    EXPECT_EQ(s.outputs[0].logic, 1);
    EXPECT_EQ(s.transmitters, SimState::Defaults(SimKind::Irr).transmitters);
}

TEST(SimState, ConditionRecordsParseOnlyInTheirLayout)
{
    std::vector<SimCondition> c;
    EXPECT_TRUE(ParseConditions("17 4 30 10 25;4 5;19 4 15", c));
    ASSERT_EQ(c.size(), 3u);
    EXPECT_EQ(c[0].extra, 30);
    EXPECT_EQ(c[0].values, (std::vector<int>{10, 25}));
    EXPECT_TRUE(c[1].hasValues);
    EXPECT_FALSE(c[2].hasValues);
    EXPECT_EQ(FormatConditions(c), "17 4 30 10 25;4 5;19 4 15");
    for (const char* bad : {"17", "17 0 1 2", "17 9 1", "17 x 1", "17 0 850;", "1 0 1;1 0 1;1 0 1;1 0 1;"
                            "1 0 1;1 0 1;1 0 1;1 0 1;1 0 1"})
        EXPECT_FALSE(ParseConditions(bad, c)) << bad;
    EXPECT_TRUE(ParseConditions("", c));
    EXPECT_TRUE(c.empty());
}

TEST(SimCommandLine, ReadsEveryOption)
{
    SimCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseSimCommandLine({"--kind", "irr", "--link", "/tmp/x", "--firmware", "201",
                                     "--firmware-date", "Jan 5 2010", "--state", "s.txt",
                                     "--transcript", "t.txt", "--wake-delay-ms", "1500",
                                     "--sleep-after-ms", "0", "--fault", "slow-replies=300",
                                     "--fault", "garble"},
                                    line, error))
        << error;
    const SimOptions& o = line.options;
    EXPECT_EQ(o.kind, SimKind::Irr);
    EXPECT_EQ(o.linkPath, "/tmp/x");
    EXPECT_EQ(o.firmware, 201);
    EXPECT_EQ(o.firmwareDate, "Jan 5 2010");
    EXPECT_EQ(o.stateFile, "s.txt");
    EXPECT_EQ(o.transcriptFile, "t.txt");
    EXPECT_EQ(o.wakeDelayMs, 1500);
    EXPECT_EQ(o.sleepAfterMs, 0);
    EXPECT_EQ(o.faults, (std::vector<std::pair<SimFault, int>>{{SimFault::SlowReplies, 300},
                                                                {SimFault::Garble, 0}}));
}

TEST(SimCommandLine, RefusesWhatItCannotUse)
{
    struct Case {
        std::vector<std::string> args;
        const char* error;
    };
    const Case cases[] = {
        {{"--link", "/tmp/x"}, "--kind is required"},
        {{"--kind", "aom"}, "--link is required"},
        {{"--kind", "weather", "--link", "x"}, "--kind must be aloha, aprs, irr, aom or none, not 'weather'"},
        {{"--kind", "aom", "--link"}, "--link needs a value"},
        {{"--kind", "aom", "--link", "x", "--firmware", "1000"},
         "--firmware needs a whole number from 0 to 999, not '1000'"},
        {{"--kind", "aom", "--link", "x", "--wake-delay-ms", "-1"},
         "--wake-delay-ms needs a whole number from 0 to 60000, not '-1'"},
        {{"--kind", "aom", "--link", "x", "--firmware-date", "September 29 2009"},
         "--firmware-date takes at most 11 characters (\"Mmm dd yyyy\"), not 'September 29 2009'"},
        {{"--kind", "aom", "--link", "x", "--fault", "melt"}, "unknown fault 'melt'"},
        {{"--kind", "aom", "--link", "x", "--verbose"}, "unknown option '--verbose'"},
    };
    for (const Case& c : cases) {
        SimCommandLine line;
        std::string error;
        EXPECT_FALSE(ParseSimCommandLine(c.args, line, error));
        EXPECT_EQ(error, c.error);
    }
}

TEST(SimCommandLine, HelpNamesEveryOptionAndFault)
{
    SimCommandLine line;
    std::string error;
    ASSERT_TRUE(ParseSimCommandLine({"--help"}, line, error));
    EXPECT_TRUE(line.help);
    const std::string usage = SimUsage();
    for (const char* option : {"--kind", "--link", "--firmware ", "--firmware-date", "--state",
                               "--transcript", "--wake-delay-ms", "--sleep-after-ms", "--fault", "--help"})
        EXPECT_NE(usage.find(option), std::string::npos) << option;
    // The fault texts are wrapped: compare them with blanks and line breaks squeezed.
    std::string flat;
    for (char c : usage) {
        if (c == '\n') c = ' ';
        if (!(c == ' ' && !flat.empty() && flat.back() == ' ')) flat += c;
    }
    for (const SimFaultInfo& f : SimFaultTable()) {
        EXPECT_NE(usage.find(std::string("\n    ") + f.name), std::string::npos) << f.name;
        EXPECT_NE(flat.find(f.help), std::string::npos) << f.name;
    }
    std::istringstream lines(usage);
    for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 79u) << line;
}

}  // namespace
