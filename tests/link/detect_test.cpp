// Logger detection and the port scan against a scripted console.

#include "AlohaSettings.h"
#include "AomSettings.h"
#include "AprsSettings.h"
#include "FakeLink.h"
#include "IrrigationSettings.h"
#include "LoggerDetection.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

using Lines = std::vector<std::string>;
using Replies = std::map<std::string, std::string>;

constexpr const char* kConfig = "SERIAL_PORT=2\nBAUD_RATE=19200\n";
OwnerWindow const kOwner = reinterpret_cast<OwnerWindow>(0x1234);

// A console that answers every wake-up, and a logger that answers its lines
// from a table (no entry: silent). Lines listed in failSends cannot be sent.
class ScriptedLogger : public FakeLink {
public:
    explicit ScriptedLogger(Replies replies, std::set<std::string> failSends = {})
        : failSends_(std::move(failSends))
    {
        Respond("\n", "\n");
        RespondWith([replies = std::move(replies)](const std::string& line) -> std::optional<std::string> {
            auto it = replies.find(line);
            if (it == replies.end()) return std::nullopt;
            return it->second + "\n\r";
        });
    }
    int PutString(const char* text) override
    {
        if (failSends_.count(text)) {
            FakeLink::SetPutStringResult(-1);
            const int r = FakeLink::PutString(text);
            FakeLink::SetPutStringResult(0);
            return r;
        }
        return FakeLink::PutString(text);
    }

private:
    std::set<std::string> failSends_;
};

Lines QueriesOf(const Lines& lines)
{
    Lines out;
    for (const auto& l : lines)
        if (l != "\n") out.push_back(l);
    return out;
}

class DetectionTest : public ::testing::Test {
protected:
    TempWorkDir dir{kConfig};
    InstantPauses pauses;
    RecordingMessages messages;
    int warnings = 0;
    OwnerWindow warnedOwner = nullptr;
    FirmwareWarningForm previousWarning = SetFirmwareWarningForm([this](OwnerWindow o) {
        ++warnings;
        warnedOwner = o;
    });
    ~DetectionTest() override { SetFirmwareWarningForm(previousWarning); }
};

Replies Aloha(const std::string& id) { return {{"MOD00\n", id}, {"MOD01 |\n", "30"}, {"MOD02 |\n", "5"}}; }

TEST_F(DetectionTest, AlohaReadsTimeoutAndStationAsText)
{
    ScriptedLogger link(Aloha("ALOHA   202"));
    auto record = DetectAndReadLogger(kOwner);
    ASSERT_NE(record, nullptr);
    auto* aloha = dynamic_cast<CAlohaSettings*>(record.get());
    ASSERT_NE(aloha, nullptr);
    EXPECT_EQ(aloha->kind, LoggerAloha);
    EXPECT_EQ(aloha->owner, kOwner);
    EXPECT_EQ(aloha->identification, "ALOHA   202");
    EXPECT_EQ(aloha->timeout, "30");
    EXPECT_EQ(aloha->stationId, "5");

    EXPECT_EQ(link.Lines(), (Lines{"\n", "MOD00\n", "MOD01 |\n", "MOD02 |\n"}));
    EXPECT_EQ(link.Events().front(), "Open 2 19200");
    EXPECT_EQ(link.Events()[1], "Flush");
    EXPECT_EQ(link.Events().back(), "Close");
    EXPECT_EQ(link.OpenCount(), 1);
    EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 250, 250, 2000}));
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(DetectionTest, AprsKeepsAllFourRepliesAsText)
{
    ScriptedLogger link({{"MOD00\n", "APRS    101"}, {"MOD01 |\n", "60"}, {"MOD12 |\n", "1200"},
                         {"MOD13 |\n", "4903.50N/07201.75W_"}, {"MOD14 |\n", "10"}});
    auto record = DetectAndReadLogger(kOwner);
    auto* aprs = dynamic_cast<CAprsSettings*>(record.get());
    ASSERT_NE(aprs, nullptr);
    EXPECT_EQ(aprs->kind, LoggerAprs);
    EXPECT_EQ(aprs->timeout, "60");
    EXPECT_EQ(aprs->baud, "1200");
    EXPECT_EQ(aprs->position, "4903.50N/07201.75W_");
    EXPECT_EQ(aprs->transmissionRate, "10");
    EXPECT_EQ(QueriesOf(link.Lines()), (Lines{"MOD00\n", "MOD01 |\n", "MOD12 |\n", "MOD13 |\n", "MOD14 |\n"}));
}

struct IrrCase {
    const char* name;
    Replies values;  // parameters 1, 8, 9, 10, 25, 26, 27, 3, 4, 5, 6, 7
    bool residential;
    const char* parameter9;
    const char* amount;
    const char* maxDaily;
    const char* maxTotal;
    const char* cutoff;
    bool continuous;
    bool normallyOpen;
};

class IrrigationConversions : public DetectionTest, public ::testing::WithParamInterface<IrrCase> {};

TEST_P(IrrigationConversions, ReadInOrderAndConverted)
{
    const IrrCase& c = GetParam();
    Replies replies = c.values;
    replies["MOD00\n"] = "IRR     202";
    ScriptedLogger link(replies);
    auto record = DetectAndReadLogger(kOwner);
    auto* irr = dynamic_cast<CIrrigationSettings*>(record.get());
    ASSERT_NE(irr, nullptr);
    EXPECT_EQ(QueriesOf(link.Lines()),
              (Lines{"MOD00\n", "MOD01 |\n", "MOD08 |\n", "MOD09 |\n", "MOD10 |\n", "MOD25 |\n",
                     "MOD26 |\n", "MOD27 |\n", "MOD03 |\n", "MOD04 |\n", "MOD05 |\n", "MOD06 |\n",
                     "MOD07 |\n"}));
    EXPECT_EQ(pauses.Durations().size(), 14u);
    EXPECT_EQ(irr->kind, LoggerIrrigation);
    EXPECT_EQ(irr->identification, "IRR     202");
    EXPECT_EQ(irr->timeout, c.values.at("MOD01 |\n"));
    EXPECT_EQ(irr->cycle, c.values.at("MOD08 |\n"));
    EXPECT_EQ(irr->residential, c.residential);
    EXPECT_EQ(irr->parameter9, c.parameter9);
    EXPECT_EQ(irr->amount, c.amount);
    EXPECT_EQ(irr->maxDailyRain, c.maxDaily);
    EXPECT_EQ(irr->maxRainTotal, c.maxTotal);
    EXPECT_EQ(irr->rainRateCutoff, c.cutoff);
    EXPECT_EQ(irr->alarmDuration, c.values.at("MOD03 |\n"));
    EXPECT_EQ(irr->alarmReactivation, c.values.at("MOD04 |\n"));
    EXPECT_EQ(irr->pulseWidth, c.values.at("MOD05 |\n"));
    EXPECT_EQ(irr->continuous, c.continuous);
    EXPECT_EQ(irr->normallyOpen, c.normallyOpen);
}

INSTANTIATE_TEST_SUITE_P(
    Replies, IrrigationConversions,
    ::testing::Values(
        IrrCase{"Typical",
                {{"MOD01 |\n", "45"}, {"MOD08 |\n", "3"}, {"MOD09 |\n", "150"}, {"MOD10 |\n", "255"},
                 {"MOD25 |\n", "50"}, {"MOD26 |\n", "125"}, {"MOD27 |\n", "200"}, {"MOD03 |\n", "10"},
                 {"MOD04 |\n", "20"}, {"MOD05 |\n", "0"}, {"MOD06 |\n", "1"}, {"MOD07 |\n", "0"}},
                true, "1.50", "0.50", "1.25", "2.00", "255", true, true},
        IrrCase{"OffAndNotNumbers",
                {{"MOD01 |\n", "x"}, {"MOD08 |\n", "0"}, {"MOD09 |\n", "abc"}, {"MOD10 |\n", "254"},
                 {"MOD25 |\n", "7"}, {"MOD26 |\n", ""}, {"MOD27 |\n", "-3"}, {"MOD03 |\n", ""},
                 {"MOD04 |\n", "4"}, {"MOD05 |\n", "5"}, {"MOD06 |\n", "0"}, {"MOD07 |\n", "1"}},
                false, "0.00", "0.07", "0.00", "-0.03", "2.54", false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct AomCase {
    const char* logging;
    bool expected;
};

class AomLoggingFlag : public DetectionTest, public ::testing::WithParamInterface<AomCase> {};

TEST_P(AomLoggingFlag, TrueOnlyWhenReplyReadsOne)
{
    ScriptedLogger link({{"MOD00\n", "AOM"}, {"MOD01 |\n", "15"}, {"MOD24 |\n", GetParam().logging}});
    auto record = DetectAndReadLogger(kOwner);
    auto* aom = dynamic_cast<CAomSettings*>(record.get());
    ASSERT_NE(aom, nullptr);
    EXPECT_EQ(aom->kind, LoggerAom);
    EXPECT_EQ(aom->timeout, "15");
    EXPECT_EQ(aom->alarmLogging, GetParam().expected);
    EXPECT_EQ(QueriesOf(link.Lines()), (Lines{"MOD00\n", "MOD01 |\n", "MOD24 |\n"}));
}

INSTANTIATE_TEST_SUITE_P(Replies, AomLoggingFlag,
                         ::testing::Values(AomCase{"1", true}, AomCase{"01", true}, AomCase{"1x", true},
                                           AomCase{"0", false}, AomCase{"11", false},
                                           AomCase{"", false}, AomCase{"on", false}));

// What a run without a record looks like: the message (or none), whether the
// 2 s rest came, and the port left closed.
struct NoRecordCase {
    const char* name;
    Replies replies;
    bool openFails;
    bool showsMessage;
    std::vector<int> pauses;
};

class NoRecord : public DetectionTest, public ::testing::WithParamInterface<NoRecordCase> {};

TEST_P(NoRecord, MessageAndPauses)
{
    const NoRecordCase& c = GetParam();
    ScriptedLogger link(c.replies);
    if (c.openFails) link.SetOpenResult(-1);
    EXPECT_EQ(DetectAndReadLogger(kOwner), nullptr);
    if (c.showsMessage) {
        ASSERT_EQ(messages.Shown().size(), 1u);
        EXPECT_EQ(messages.Shown()[0].text,
                  "No Corvane Logger Found.  Please check Serial Port settings and connections.");
        EXPECT_EQ(messages.Shown()[0].caption, std::nullopt);
        EXPECT_EQ(messages.Shown()[0].icon, MsgIcon::None);
        EXPECT_EQ(messages.Shown()[0].parent, kOwner);
    } else {
        EXPECT_TRUE(messages.Shown().empty());
    }
    EXPECT_EQ(pauses.Durations(), c.pauses);
    if (!c.openFails) {
        EXPECT_EQ(link.Events().back(), "Close");
    }
    EXPECT_EQ(warnings, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Runs, NoRecord,
    ::testing::Values(
        NoRecordCase{"PortDoesNotOpen", Aloha("ALOHA   202"), true, true, {}},
        NoRecordCase{"SilentLogger", {}, false, true, {250}},
        NoRecordCase{"UnknownKindWord", {{"MOD00\n", "WXLINK  202"}}, false, false, {250, 2000}},
        NoRecordCase{"KindWordsAreCaseSensitive", {{"MOD00\n", "aloha   202"}}, false, false, {250, 2000}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DetectionTest, IdentificationThatCannotBeSentClosesAndTellsTheUser)
{
    ScriptedLogger link(Aloha("ALOHA   202"), {"MOD00\n"});
    EXPECT_EQ(DetectAndReadLogger(kOwner), nullptr);
    EXPECT_EQ(messages.Texts(),
              (std::vector<std::string>{"No Corvane Logger Found.  Please check Serial Port settings and connections."}));
    EXPECT_EQ(link.Events().back(), "Close");
}

TEST_F(DetectionTest, KindWordAnywhereInTheReply)
{
    ScriptedLogger link({{"MOD00\n", "xxAOMxx"}, {"MOD01 |\n", "15"}, {"MOD24 |\n", "0"}});
    auto record = DetectAndReadLogger(kOwner);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, LoggerAom);
    EXPECT_EQ(record->identification, "xxAOMxx");
}

TEST_F(DetectionTest, TwoKindWordsReadBothAndTheLaterWins)
{
    Replies replies = Aloha("ALOHA APRS");
    replies.insert({{"MOD12 |\n", "2400"}, {"MOD13 |\n", "pos"}, {"MOD14 |\n", "5"}});
    ScriptedLogger link(replies);
    auto record = DetectAndReadLogger(kOwner);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, LoggerAprs);
    EXPECT_EQ(QueriesOf(link.Lines()), (Lines{"MOD00\n", "MOD01 |\n", "MOD02 |\n", "MOD01 |\n",
                                              "MOD12 |\n", "MOD13 |\n", "MOD14 |\n"}));
}

TEST_F(DetectionTest, SettingsQueryThatCannotBeSentGivesNothingWithoutMessage)
{
    ScriptedLogger link(Aloha("ALOHA   202"), {"MOD02 |\n"});
    EXPECT_EQ(DetectAndReadLogger(kOwner), nullptr);
    EXPECT_TRUE(messages.Texts().empty());
    EXPECT_EQ(link.Events().back(), "Close");
    EXPECT_EQ(pauses.Durations().back(), 2000);
}

TEST_F(DetectionTest, FailedLaterReadDiscardsTheEarlierRecord)
{
    Replies replies = Aloha("ALOHA APRS");
    replies.insert({{"MOD12 |\n", "2400"}, {"MOD13 |\n", "pos"}, {"MOD14 |\n", "5"}});
    ScriptedLogger link(replies, {"MOD13 |\n"});
    EXPECT_EQ(DetectAndReadLogger(kOwner), nullptr);
    EXPECT_TRUE(messages.Texts().empty());
}

struct FirmwareCase {
    const char* reply;
    int firmware;
};

class FirmwareNumber : public ::testing::TestWithParam<FirmwareCase> {};

TEST_P(FirmwareNumber, CharactersEightToTen)
{
    EXPECT_EQ(IrrigationFirmware(GetParam().reply), GetParam().firmware);
}

INSTANTIATE_TEST_SUITE_P(Replies, FirmwareNumber,
                         ::testing::Values(FirmwareCase{"IRR     202", 202}, FirmwareCase{"IRR     201", 201},
                                           FirmwareCase{"IRR     2021", 202},  // only three digits count
                                           FirmwareCase{"IRR     20", 20},     // cut short: what arrived
                                           FirmwareCase{"IRR     3", 3}, FirmwareCase{"IRR     ", 0},
                                           FirmwareCase{"IRR", 0}, FirmwareCase{"IRR 202", 0},
                                           FirmwareCase{"IRR      202", 20}, FirmwareCase{"IRR     2x2", 2}));

TEST_F(DetectionTest, OldIrrigationFirmwareShowsTheWarningAndReadsNothing)
{
    for (const char* reply : {"IRR     201", "IRR", "IRR 2"}) {
        SCOPED_TRACE(reply);
        warnings = 0;
        pauses.Clear();
        ScriptedLogger link(Replies{{"MOD00\n", reply}});
        EXPECT_EQ(DetectAndReadLogger(kOwner), nullptr);
        EXPECT_EQ(warnings, 1);
        EXPECT_EQ(warnedOwner, kOwner);
        EXPECT_EQ(QueriesOf(link.Lines()), (Lines{"MOD00\n"}));
        EXPECT_EQ(pauses.Durations(), (std::vector<int>{250, 2000}));
        EXPECT_EQ(link.Events().back(), "Close");
    }
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(DetectionTest, FirmwareWarningLeavesAnEarlierRecordInPlace)
{
    // Characters 8-10 of this reply are "R 2": firmware 0.
    ScriptedLogger link(Aloha("ALOHA IRR 203"));
    auto record = DetectAndReadLogger(kOwner);
    EXPECT_EQ(warnings, 1);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(record->kind, LoggerAloha);
}

TEST(OpenLink, FlushesOnlyAnOpenedPort)
{
    FakeLink link;
    EXPECT_EQ(OpenLink(3, 4800), 0);
    EXPECT_EQ(link.Events(), (Lines{"Open 3 4800", "Flush"}));
    link.ClearRecord();
    link.SetOpenResult(5);
    EXPECT_EQ(OpenLink(3, 4800), -1);
    EXPECT_EQ(link.Events(), (Lines{"Open 3 4800"}));
}

// Ports 1-8, each with its own device: open failure, a silent or a talking
// logger, chosen per port.
class PortBank : public FakeLink {
public:
    explicit PortBank(std::map<int, std::string> identities) : identities_(std::move(identities))
    {
        Respond("\n", "\n");
        RespondWith([this](const std::string& line) -> std::optional<std::string> {
            auto it = identities_.find(port_);
            if (line != "MOD00\n" || it == identities_.end() || it->second.empty()) return std::nullopt;
            return it->second + "\n\r";
        });
    }
    int Open(int port, int baud) override
    {
        FakeLink::Open(port, baud);
        port_ = identities_.count(port) ? port : 0;
        return port_ ? 0 : -1;
    }
    std::vector<std::string> Opens() const
    {
        std::vector<std::string> opens;
        for (const auto& e : Events())
            if (e.rfind("Open", 0) == 0) opens.push_back(e);
        return opens;
    }

private:
    std::map<int, std::string> identities_;  // absent: the device does not open
    std::atomic<int> port_{0};
};

class ScanTest : public ::testing::Test {
protected:
    TempWorkDir dir{"SERIAL_PORT=1\nBAUD_RATE=19200\n"};
    InstantPauses pauses;
};

TEST_F(ScanTest, StopsAtTheFirstPortNamingAKindAndStoresOnlyThePort)
{
    // COM2 holds a console without logger, COM4 some other device, COM6 the logger.
    PortBank bank({{2, ""}, {4, "HELLO"}, {6, "IRR     150"}, {7, "AOM"}});
    EXPECT_EQ(ScanPorts(2400), 6);
    EXPECT_EQ(bank.Opens(), (Lines{"Open 1 2400", "Open 2 2400", "Open 3 2400", "Open 4 2400",
                                   "Open 5 2400", "Open 6 2400"}));
    EXPECT_EQ(bank.Events().back(), "Close");
    dir.Restart();
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "6");
    EXPECT_EQ(dir.Settings().GetValue("BAUD_RATE"), "19200");
}

TEST_F(ScanTest, NoLoggerTriesAllEightAndStoresNothing)
{
    PortBank bank({{1, ""}, {3, "aom"}, {8, ""}});
    EXPECT_EQ(ScanPorts(19200), 0);
    EXPECT_EQ(bank.Opens().size(), 8u);
    EXPECT_EQ(bank.Opens().front(), "Open 1 19200");
    EXPECT_EQ(bank.Opens().back(), "Open 8 19200");
    EXPECT_EQ(bank.Events().back(), "Close");
    EXPECT_EQ(dir.ReadFile("config.txt"), "SERIAL_PORT=1\nBAUD_RATE=19200\n");
}

}  // namespace
