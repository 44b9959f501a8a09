// Logger detection against a scripted console: what each kind reads and how
// its replies become the record, and the runs the simulator cannot stage
// (sends that fail, replies cut short). The runs from the Setup menu against
// the simulator cover the usual devices and faults.

#include "loggers/AlohaSettings.h"
#include "aom/AomSettings.h"
#include "loggers/AprsSettings.h"
#include "FakeLink.h"
#include "loggers/IrrigationSettings.h"
#include "detect/LoggerDetection.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

OwnerWindow const kOwner = reinterpret_cast<OwnerWindow>(0x1234);

// A console that answers every wake-up, and a logger that answers the query
// of each parameter listed in `reads` ("01=30 02=5"); every other line goes
// unanswered, and the line `failSend` cannot be sent.
class ScriptedLogger : public FakeLink {
public:
    ScriptedLogger(const std::string& identification, const std::string& reads, std::string failSend = "")
        : failSend_(std::move(failSend))
    {
        Respond("\n", "\n");
        Respond("MOD00\n", identification + "\n\r");
        std::istringstream in(reads);
        for (std::string read; in >> read;)
            Respond(lines_.emplace_back("MOD" + read.substr(0, 2) + " |\n"), read.substr(3) + "\n\r");
    }
    int PutString(const char* t) override { SetPutStringResult(t == failSend_ ? -1 : 0); return FakeLink::PutString(t); }
    // The lines a detection reading `reads` in their order sends.
    ::Lines Expected() const { return lines_; }

private:
    std::string failSend_;
    ::Lines lines_{"\n", "MOD00\n"};
};

// The record's kind and its fields, in the order of the kind's reads.
std::string Describe(const CLoggerSettings& r)
{
    const char* const kinds[] = {"", "ALOHA", "IRR", "APRS", "AOM"};
    auto flag = [](bool on, const char* word) { return on ? std::string(" ") + word : std::string(); };
    const std::string kind = std::string(kinds[r.kind]) + " ";
    if (auto* a = dynamic_cast<const CAlohaSettings*>(&r)) return kind + a->timeout + " " + a->stationId;
    if (auto* a = dynamic_cast<const CAprsSettings*>(&r))
        return kind + a->timeout + " " + a->baud + " " + a->position + " " + a->transmissionRate;
    if (auto* a = dynamic_cast<const CAomSettings*>(&r))
        return kind + a->timeout + flag(a->alarmLogging, "logging");
    auto& i = dynamic_cast<const CIrrigationSettings&>(r);
    return kind + i.timeout + flag(i.residential, "residential") + " " + i.cycle + " " + i.parameter9 + " " +
           i.rainRateCutoff + " " + i.amount + " " + i.maxDailyRain + " " + i.maxRainTotal + " " +
           i.alarmDuration + "/" + i.alarmReactivation + "/" + i.pulseWidth + flag(i.continuous, "continuous") +
           flag(i.normallyOpen, "normally-open");
}

class DetectionTest : public ::testing::Test {
protected:
    TempWorkDir dir{"SERIAL_PORT=2\nBAUD_RATE=19200\n"};
    InstantPauses pauses;
    RecordingMessages messages;
    int warnings = 0;
    FirmwareWarningForm previousWarning = SetFirmwareWarningForm([this](OwnerWindow o) {
        ++warnings;
        EXPECT_EQ(o, kOwner);
    });
    ~DetectionTest() override { SetFirmwareWarningForm(previousWarning); }
};

// queries: the identification and the reads asked, each followed by its
// 250 ms pause; record: the kind and its fields; message: "No logger
// found" shown, with these details.
TEST_F(DetectionTest, EachKindReadsItsParametersInOrderAndConvertsThemAFailedReadGivesNoRecord)
{
    struct Case { const char* id, *reads; std::size_t queries; const char* record, *failSend = "";
                  int warnings = 0; bool message = false; const char* details = ""; };
    const char* const kReads = "01=30 02=5 12=2400 13=pos 14=5";
    for (const Case& c : std::initializer_list<Case>{
        // Usual replies of every kind are read by the CLI's show on the simulator.
        {"IRR     202", "01=x 08=0 09=abc 10=254 25=7 26=z 27=-3 03=? 04=4 05=5 06=0 07=1", 13,
         "IRR x 0 0.00 2.54 0.07 0.00 -0.03 ?/4/5"},
        // The logging flag is on only when the reply reads as the number 1.
        {"AOM     100", "01=15 24=1", 3, "AOM 15 logging"},
        {"xxAOMxx", "01=15 24=01", 3, "AOM 15 logging"},  // the kind word anywhere
        {"AOM", "01=15 24=11", 3, "AOM 15"},
        // Two kind words: both are read, the later kind's record is the one shown.
        {"ALOHA   APRS", "01=30 02=5 01=30 12=9600 13=pos 14=10", 7, "APRS 30 9600 pos 10"},
        // Characters 8-10 read "R 2": firmware 0, so the warning, and the
        // ALOHA record read before it stays.
        {"ALOHA IRR 203", "01=30 02=5", 3, "ALOHA 30 5", "", 1},
        {"ALOHA   202", kReads, 1, "none", "MOD00\n", 0, true},
        // A settings reply lost is no value: nothing to show, nothing that
        // the form's OK would write back empty.
        {"AOM", kReads, 3, "none", "", 0, true,
         "The logger did not answer the query for module parameter 24."},
        {"IRR     202", kReads, 3, "none", "", 0, true,
         "The logger did not answer the query for module parameter 8."},
        // A number beyond an int would be written back as a value the logger never held.
        {"IRR     202", "01=30 08=1 09=1 10=1 25=4503333333333 26=1 27=1 03=1 04=1 05=1 06=1 07=1", 13,
         "none", "", 0, true, "The logger's reply for module parameter 25 is no number it can hold."},
        {"ALOHA   202", kReads, 3, "none", "MOD02 |\n"},
        // The APRS read fails after the ALOHA read: its record is dropped too.
        {"ALOHA APRS", kReads, 6, "none", "MOD13 |\n"},
        // Too short to hold a firmware number: too old to configure.
        {"IRR", kReads, 1, "none", "", 1},
    }) {
        SCOPED_TRACE(std::string(c.id) + ": " + c.reads + " " + c.failSend);
        ScriptedLogger link(c.id, c.reads, c.failSend);
        pauses.Clear();
        messages.Clear();
        warnings = 0;
        const auto record = DetectAndReadLogger(kOwner);
        EXPECT_EQ(record ? Describe(*record) : "none", c.record);
        EXPECT_EQ(record ? record->identification : c.id, c.id);
        if (record) {
            EXPECT_EQ(link.Lines(), link.Expected());
        }
        EXPECT_EQ(messages.Texts(), c.message ? Lines{kNoLoggerFound} : Lines{});
        for (const UserMessage& m : messages.Shown())
            EXPECT_EQ(std::pair(m.parent, m.details), std::pair(kOwner, std::string(c.details)));
        std::vector<int> expected(c.queries, 250);
        if (!c.message || *c.details) expected.push_back(2000);
        EXPECT_EQ(pauses.Durations(), expected);
        EXPECT_EQ(link.Events().front(), "Open 2 19200");
        EXPECT_EQ(link.Events().back(), "Close");
        EXPECT_EQ(warnings, c.warnings);
    }
}

TEST(IrrigationFirmware, CharactersEightToTen)
{
    for (auto [reply, firmware] : {std::pair{"IRR     202", 202}, {"IRR     2021", 202}, {"IRR     20", 20},
                                   {"IRR     ", 0}, {"IRR", 0}, {"IRR      202", 20}, {"IRR     2x2", 2}})
        EXPECT_EQ(IrrigationFirmware(reply), firmware) << reply;
}

}  // namespace
