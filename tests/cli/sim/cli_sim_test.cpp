// corvane-cli against the simulated logger of each kind: what show prints,
// the bytes set sends (those the form's OK sends for the same values), the
// forms' refusals, backup and restore, the alarm log and the relays.
#include "AlarmDownload.h"
#include "CorvaneCli.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include "SerialLink.h"
#include "SettingsKeys.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <sstream>

namespace {

struct CliRun { int code; std::string out, err; };

CliRun Cli(const Lines& args)
{
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

// Module lines that set something or command the module: not the queries
// ("MOD01 |", "MOD16 0 |") nor the identification ("MOD00").
Lines Sets(const SimFixture& sim)
{
    Lines sets;
    for (const std::string& line : sim.ModuleLines())
        if (line.find("|\n") == std::string::npos && line != "MOD00\n") sets.push_back(line);
    return sets;
}

class CliOnSim : public ::testing::Test {
protected:
    // Millimetres, as the program's own config.txt ships the rain unit.
    TempWorkDir dir{"IRRIGATION_RAIN_UNIT=2\nAOM_TEMP_UNIT=3\nAOM_STATION_CONFIG=0$\n"};
    InstantPauses pauses;
};

struct ShowCase {
    SimKind kind;
    Lines expected;  // lines show prints, in this order
};
void PrintTo(const ShowCase& c, std::ostream* os) { *os << SimKindName(c.kind); }

class CliShow : public CliOnSim, public ::testing::WithParamInterface<ShowCase> {};

TEST_P(CliShow, PrintsTheSampleStateAsTheFormShowsIt)
{
    SimFixture sim(GetParam().kind);
    sim.UseAsPort(dir);
    const CliRun run = Cli({"show"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    std::size_t at = 0;
    for (const std::string& line : GetParam().expected) {
        at = run.out.find(line + "\n", at);
        ASSERT_NE(at, std::string::npos) << line << "\n" << run.out << run.err;
    }
    EXPECT_TRUE(Sets(sim).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliShow,
    ::testing::Values(
        ShowCase{SimKind::Aloha, {"kind = ALOHA", "timeout = 30", "station = 1"}},
        ShowCase{SimKind::Aprs,
                 {"baud = 9600", "rate = 10", "lat-degrees = 49", "lat-minutes = 3", "lat-seconds = 30",
                  "lat-hemisphere = N", "lon-degrees = 72", "lon-minutes = 1", "lon-seconds = 45",
                  "lon-hemisphere = W", "position = 4903.50N/07201.75W_"}},
        ShowCase{SimKind::Irr,
                 {"rain-unit = mm", "timeout = 60", "residential = yes", "cycle = 3", "amount = 25.4",
                  "max-daily-rain = 38.1", "max-rain-total = 76.2", "rain-cutoff = 12.7",
                  "alarm-duration = 5", "alarm-reactivation = 10", "pulse-width = 500",
                  "activation = continuous", "circuit = normally-open"}},
        ShowCase{SimKind::Aom,
                 {"timeout = 60", "alarm-logging = on", "[output 1]", "logic = OR", "release-delay = 5",
                  "row 1 = Outside Temperature | Greater Than or = | 85.0 |  |",
                  "row 2 = Inside Temperature | Less Than or = | 60.0 |  |", "[output 2]", "logic = XOR",
                  "pulse-width = 250", "circuit = normally-closed",
                  "row 2 = Current Wind Speed | Trending | 10 | 25 | 30", "[output 3]",
                  "row 1 = Outside Temperature | Minus |  |  |",
                  "row 2 = Outside Dewpoint | Greater Than or = | 5 |  |", "[output 4]"}}),
    [](const auto& info) { return std::string(SimKindName(info.param.kind)); });

struct SetCase {
    const char* name;
    SimKind kind;
    Lines args;
    int code;
    Lines sets;         // what the logger received
    const char* error;  // what stderr says (the form's message)
};
void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class CliSet : public CliOnSim, public ::testing::WithParamInterface<SetCase> {};

TEST_P(CliSet, SendsTheFormsBytesOrRefusesWithItsMessage)
{
    const SetCase& c = GetParam();
    SimFixture sim(c.kind);
    sim.UseAsPort(dir);
    Lines args{"set"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const CliRun run = Cli(args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(Sets(sim), c.sets);
    EXPECT_EQ(run.err, c.error);
}

const std::string kWriteFailed = std::string(kLoggerWriteFailed) + "\n";

INSTANTIATE_TEST_SUITE_P(
    Table, CliSet,
    ::testing::Values(
        // The lines of the forms' OK in tests/loggers/gui.
        SetCase{"Aloha", SimKind::Aloha, {"timeout=30-", "station=7"}, kCliDone,
                {"MOD01 30-\n", "MOD02 7\n"}, ""},
        SetCase{"Aprs", SimKind::Aprs, {"rate=5", "timeout=60"}, kCliDone,
                {"MOD01 60\n", "MOD12 9600\n", "MOD13 4903.50N/07201.75W_\n", "MOD14 5\n"}, ""},
        SetCase{"AprsHemisphere", SimKind::Aprs, {"lon-hemisphere=E", "lat-seconds=59"}, kCliDone,
                {"MOD01 30\n", "MOD12 9600\n", "MOD13 4903.98N/07201.75E_\n", "MOD14 10\n"}, ""},
        SetCase{"IrrAdvanced", SimKind::Irr,
                {"pulse-width=250", "activation=pulse", "circuit=normally-closed"}, kCliDone,
                {"MOD03 5\n", "MOD04 10\n", "MOD05 250\n", "MOD06 0\n", "MOD07 1\n"}, ""},
        SetCase{"IrrInches", SimKind::Irr, {"rain-unit=in", "amount=9.99", "rain-cutoff=--"}, kCliDone,
                {"MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n", "MOD07 0\n",
                 "MOD08 3\n", "MOD10 255\n", "MOD25 999\n", "MOD26 150\n", "MOD27 300\n"}, ""},
        SetCase{"Aom", SimKind::Aom, {"timeout=999", "alarm-logging=off"}, kCliDone,
                {"MOD01 999\n", "MOD24 0\n"}, ""},
        // Refused: the form's message, nothing sent (each form's own
        // refusals are in its form test; the validators are shared).
        SetCase{"IrrMillimetres", SimKind::Irr, {"amount=253.75"}, kCliRefused, {},
                "Invalid Irrigation Amount! Must be between 0.00 and 253.75\n"},
        SetCase{"AomTimeout", SimKind::Aom, {"timeout=1000"}, kCliRefused, {},
                "Invalid Timeout Period! Must be between 5 and 999 sec.\n"},
        SetCase{"UnknownName", SimKind::Aloha, {"colour=red"}, kCliUsage, {},
                "Unknown setting \"colour\" for ALOHA; settings: timeout, station\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliOnSim, ExitCodesForNoLoggerAndAWriteFailedPartWay)
{
    {
        SimFixture none(SimKind::None);
        none.UseAsPort(dir);
        const CliRun run = Cli({"detect"});
        EXPECT_EQ(run.code, kCliLinkFailed);
        EXPECT_EQ(run.err.rfind("No Corvane Logger Found.", 0), 0u) << run.err;
    }
    {
        SimFixture garbled(SimKind::Aloha);
        garbled.UseAsPort(dir);
        garbled.SetFault(SimFault::Garble);
        const CliRun run = Cli({"detect"});
        EXPECT_EQ(run.code, kCliLinkFailed);
        EXPECT_NE(run.err.find("\", which names no known kind.\n"), std::string::npos) << run.err;
    }
    SimFixture sim(SimKind::Aprs);
    sim.UseAsPort(dir);
    // The position is refused by the logger after the time-out and baud went.
    sim.SetFault(SimFault::Hangup, 65);
    const CliRun run = Cli({"set", "rate=5"});
    EXPECT_EQ(run.code, kCliPartWrite);
    EXPECT_EQ(run.err, kWriteFailed + "Already written: parameter 1 (30); parameter 12 (9600);\n");
}

TEST_F(CliOnSim, DetectNamesKindFirmwarePortAndDevice)
{
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir);
    const CliRun run = Cli({"detect", "--transcript", (dir.Path() / "t.txt").string()});
    EXPECT_EQ(run.code, kCliDone);
    EXPECT_EQ(run.out, "kind: IRR\nidentification: IRR     202\nlogger-type: IRR  2.02\nfirmware: 202\n"
                       "port: COM1\ndevice: " + sim.DevicePath() + "\nspeed: 19200\n");
    const std::string transcript = dir.ReadFile("t.txt");
    EXPECT_NE(transcript.find(" > MOD00\\n\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find(" < IRR     202\\n\\r\n"), std::string::npos) << transcript;
}

TEST_F(CliOnSim, PortForOneRunScanStoresThePortAndJsonCarriesTheRows)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir, 3);
    dir.Settings().SetValue(key::SerialPort, "1");
    EXPECT_EQ(Cli({"--port", "3", "--dir", dir.Path().string(), "detect"}).code, kCliDone);
    EXPECT_EQ(dir.Settings().GetValue(key::SerialPort), "1");
    EXPECT_EQ(Cli({"detect"}).code, kCliLinkFailed);
    EXPECT_EQ(Cli({"detect", "--scan"}).code, kCliDone);
    EXPECT_EQ(dir.Settings().GetValue(key::SerialPort), "3");
    const auto json = nlohmann::json::parse(Cli({"show", "--json"}).out);
    EXPECT_EQ(json["settings"]["timeout"], "60");
    EXPECT_EQ(json["outputs"][1]["conditions"][1]["check"], "Trending");
    EXPECT_EQ(json["outputs"][1]["conditions"][1]["minutes"], "30");
}

// The state each kind's original logger is given before the backup.
void Change(SimFixture& sim, SimKind kind)
{
    switch (kind) {
    case SimKind::Aloha: sim.SetParam(2, "42"); break;
    case SimKind::Aprs: sim.SetParam(13, "3330.00S/15112.50E_"); break;
    case SimKind::Irr: sim.SetParam(25, "120"); sim.SetParam(10, "255"); break;
    default:
        sim.SetConditions(3, "19 2 10 20;128 3 730 1815", 0);
        sim.SetParam(1, "120");
        break;
    }
}

struct KindCase {
    SimKind kind;
};
void PrintTo(const KindCase& c, std::ostream* os) { *os << SimKindName(c.kind); }

class CliBackup : public CliOnSim, public ::testing::WithParamInterface<KindCase> {
protected:
    SimKind Kind() const { return GetParam().kind; }
};

TEST_P(CliBackup, RestoreOnAFreshLoggerReproducesTheOriginal)
{
    const std::string file = (dir.Path() / "backup.txt").string();
    std::string original;
    {
        SimFixture sim(Kind());
        Change(sim, Kind());
        sim.UseAsPort(dir);
        ASSERT_EQ(Cli({"backup", file}).code, kCliDone);
        original = Cli({"show"}).out;
    }
    SimFixture fresh(Kind());
    fresh.UseAsPort(dir);
    const CliRun dry = Cli({"restore", file, "--dry-run"});
    EXPECT_EQ(dry.code, kCliDone) << dry.err;
    EXPECT_TRUE(Sets(fresh).empty());
    const CliRun run = Cli({"restore", file, "--yes"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_EQ(Cli({"show"}).out, original);
    EXPECT_EQ(Cli({"restore", file}).out, "The logger already holds this configuration; nothing to write.\n");
}

INSTANTIATE_TEST_SUITE_P(Table, CliBackup,
                         ::testing::Values(KindCase{SimKind::Aloha}, KindCase{SimKind::Aprs},
                                           KindCase{SimKind::Irr}, KindCase{SimKind::Aom}),
                         [](const auto& info) { return std::string(SimKindName(info.param.kind)); });

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

TEST_F(CliOnSim, RestoreWritesOnlyTheChangedParameter)
{
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir);
    ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
    dir.WriteFile("b.txt", Replace(dir.ReadFile("b.txt"), "cycle = 3", "cycle = 4"));
    sim.ClearLines();
    const CliRun run = Cli({"restore", "b.txt"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_NE(run.out.find("cycle:  3  ->  4\n"), std::string::npos) << run.out;
    EXPECT_EQ(Sets(sim), Lines{"MOD08 4\n"});
    // A value the form refuses stops the restore before anything is sent.
    dir.WriteFile("b.txt", Replace(dir.ReadFile("b.txt"), "cycle = 4", "cycle = 256"));
    sim.ClearLines();
    EXPECT_EQ(Cli({"restore", "b.txt"}).err, "b.txt: Invalid irrigation cycle! Must be between 1 and 255\n");
    EXPECT_TRUE(Sets(sim).empty());
    dir.WriteFile("a.txt", "kind = ALOHA\ntimeout = 30\n");
    const CliRun other = Cli({"restore", "a.txt"});
    EXPECT_EQ(other.code, kCliRefused);
    EXPECT_EQ(other.err, "a.txt holds the configuration of an ALOHA logger; the logger on the port is IRR.\n");
    EXPECT_TRUE(Sets(sim).empty());
}

TEST_F(CliOnSim, RestoreWritesExactlyWhatTheFileHoldsOrRefusesByName)
{
    {
        // Hundredths the form's seconds cannot show come back exactly.
        SimFixture sim(SimKind::Aprs);
        sim.UseAsPort(dir);
        sim.SetParam(13, "4903.51N/07201.75W_");
        ASSERT_EQ(Cli({"backup", "aprs.txt"}).code, kCliDone);
        EXPECT_EQ(Cli({"restore", "aprs.txt"}).out, "The logger already holds this configuration; nothing to write.\n");
        sim.SetParam(13, "4903.50N/07201.75W_");
        sim.ClearLines();
        const CliRun run = Cli({"restore", "aprs.txt"});
        EXPECT_EQ(run.code, kCliDone) << run.err;
        EXPECT_NE(run.out.find("position:  4903.50N/07201.75W_  ->  4903.51N/07201.75W_\n"), std::string::npos);
        EXPECT_EQ(Sets(sim), Lines{"MOD13 4903.51N/07201.75W_\n"});
        const std::string file = dir.ReadFile("aprs.txt");
        const struct { const char *from, *to, *error; } refusals[] = {
            {"lat-seconds = 30", "lat-seconds = 40",
             "aprs.txt: position: 4903.51N/07201.75W_ gives lat-seconds = 30, not 40\n"},
            {"position = 4903.51N/07201.75W_", "position = 4903.5N/07201.75W_",
             "aprs.txt: position: \"4903.5N/07201.75W_\" is not laid out as 4903.50N/07201.75W_\n"},
        };
        for (const auto& r : refusals) {
            dir.WriteFile("aprs.txt", Replace(file, r.from, r.to));
            sim.ClearLines();
            const CliRun refused = Cli({"restore", "aprs.txt"});
            EXPECT_EQ(std::make_pair(refused.code, refused.err), std::make_pair(kCliRefused, std::string(r.error)));
            EXPECT_TRUE(Sets(sim).empty());
        }
    }
    // Without a residential schedule the amount is still the file's.
    SimFixture sim(SimKind::Irr);
    sim.UseAsPort(dir);
    sim.SetParam(8, "0");
    sim.SetParam(25, "100");
    ASSERT_EQ(Cli({"backup", "irr.txt"}).code, kCliDone);
    sim.SetParam(25, "200");
    sim.ClearLines();
    const CliRun run = Cli({"restore", "irr.txt"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_EQ(run.out, "amount:  50.8  ->  25.4\nwritten: parameter 25 (100)\n");
    EXPECT_EQ(sim.Param(25), "100");
    EXPECT_EQ(Cli({"set", "rain-unit=in", "residential=no", "amount=1.5"}).code, kCliDone);
    EXPECT_EQ(sim.Param(25), "150");
    const CliRun cycle = Cli({"set", "residential=no", "cycle=4"});
    EXPECT_EQ(std::make_pair(cycle.code, cycle.err),
              std::make_pair(kCliRefused, std::string("cycle: must be 0 while residential is no\n")));
}

TEST_F(CliOnSim, RestoreOfOneOutputClearsTheLogOnlyWithYesAndSendsOnlyThatOutput)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
    dir.WriteFile("b.txt", Replace(dir.ReadFile("b.txt"), "Daily Rain | Greater Than or = | 0.50",
                                   "Daily Rain | Greater Than or = | 0.75"));
    const std::string changed = dir.ReadFile("b.txt");
    // A value the page or the advanced form refuses stops the restore with its message.
    const struct { const char* from; const char* to; const char* message; } refusals[] = {
        {"Trending | 10 | 25", "Trending | 10 | ", "Field must have a value."},
        {"pulse-width = 250", "pulse-width = 10000", "Invalid Pulse Width! Must be between 0 and 9999"},
        {"Current Wind Speed | Trending", "Wind Speed | Trending", "Please select a parameter."},
    };
    for (const auto& r : refusals) {
        dir.WriteFile("b.txt", Replace(changed, r.from, r.to));
        sim.ClearLines();
        const CliRun run = Cli({"restore", "b.txt", "--yes"});
        EXPECT_EQ(run.code, kCliRefused);
        EXPECT_EQ(run.err, std::string("b.txt: output 2: ") + r.message + "\n");
        EXPECT_TRUE(Sets(sim).empty());
    }
    dir.WriteFile("b.txt", changed);
    const CliRun refused = Cli({"restore", "b.txt"});
    EXPECT_EQ(refused.code, kCliRefused);
    EXPECT_EQ(refused.err, "This operation will clear your Alarm Event Log\n"
                           "Give --yes to write the conditions and clear the alarm log.\n");
    EXPECT_EQ(sim.Alarms().size(), 6u);
    sim.ClearLines();
    const CliRun run = Cli({"restore", "b.txt", "--yes"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_EQ(Sets(sim), (Lines{"MOD23\n", "MOD15 1\n", "MOD16 1 10 0\n", "MOD17 1 10 75\n",
                             "MOD16 1 19 4 30\n", "MOD17 1 19 10 25\n", "MOD18 1 2\n"}))
        << sim.Conditions(1);
    EXPECT_TRUE(sim.Alarms().empty());
}

TEST_F(CliOnSim, AlarmLogWritesTheFormsFileNamedByTheModulesConditions)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    const CliRun run = Cli({"alarm-log"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    const std::tm now = LocalNow();
    auto entry = [&](int output, bool active, const std::string& conditions, int month, int day,
                     int hour, int minute, int second) {
        AlarmRecord r{output, active, 0, month, day, hour, minute, second};
        return AlarmEntryText(r, conditions, EventDateText(r, now));
    };
    const std::string blanks(6, ' ');
    const std::string file =
              entry(0, true, "Inside Temperature", 2, 1, 4, 1, 15) +
                  entry(0, false, "Outside Temperature Inside Temperature " + blanks, 2, 1, 6, 30, 0) +
                  entry(1, true, "Daily Rain", 3, 14, 13, 45, 30) +
                  entry(1, false, "Daily Rain Current Wind Speed " + blanks, 3, 14, 15, 5, 2) +
                  entry(2, true, "Outside Temperature MINUS Outside Dewpoint", 3, 20, 9, 12, 48) +
                  entry(1, true, "Current Wind Speed", 4, 2, 18, 0, 59);
    EXPECT_EQ(dir.ReadFile(AlarmFileName(now)), file);
    EXPECT_EQ(run.err, "\rDownloading record: 1/6\rDownloading record: 2/6\rDownloading record: 3/6"
                       "\rDownloading record: 4/6\rDownloading record: 5/6\rDownloading record: 6/6\n"
                       "Download Complete!\n");
    // --output leaves the day's file (the desktop's download, say) alone.
    dir.WriteFile(AlarmFileName(now), "earlier");
    const CliRun cleared = Cli({"alarm-log", "--clear", "--output", "log.txt"});
    EXPECT_EQ(cleared.code, kCliDone);
    EXPECT_EQ(dir.ReadFile("log.txt"), file);
    EXPECT_EQ(dir.ReadFile(AlarmFileName(now)), "earlier");
    EXPECT_NE(cleared.err.find("Logs Cleared!\n"), std::string::npos);
    EXPECT_TRUE(sim.Alarms().empty());
}

// The number of entries in an alarm log file.
std::size_t Entries(const std::string& file)
{
    std::size_t n = 0;
    for (auto at = file.find("Output #"); at != std::string::npos; at = file.find("Output #", at + 1)) ++n;
    return n;
}

TEST_F(CliOnSim, AlarmLogWithAReplyLostAnywhereSavesEveryEventOrSaysWhatIsMissing)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir, 1, 19200, 50);
    const std::vector<SimAlarmRecord> alarms = sim.Alarms();
    ASSERT_EQ(Cli({"alarm-log", "--output", "all.txt"}).code, kCliDone);
    const std::string complete = dir.ReadFile("all.txt");
    const Lines before = sim.ModuleLines();
    // Replies from the count on; those of the outputs' read belong to it.
    const auto count = std::find(before.begin(), before.end(), "MOD21\n") - before.begin();
    const auto last = static_cast<long>(before.size()) + 2;  // the second count and the clear
    const std::string log = (dir.Path() / "log.txt").string();
    for (const bool clear : {false, true}) {
        for (long n = count + 1; n <= last + 1; ++n) {
            SCOPED_TRACE(testing::Message() << (clear ? "--clear" : "") << " reply " << n << " lost");
            sim.SetAlarms(alarms);
            sim.ClearFaults();
            std::filesystem::remove(log);
            sim.SetFault(SimFault::DropReplies, static_cast<int>(n));
            const CliRun run = clear ? Cli({"alarm-log", "--output", "log.txt", "--clear"})
                                     : Cli({"alarm-log", "--output", "log.txt"});
            const std::string file = dir.Exists("log.txt") ? dir.ReadFile("log.txt") : "";
            // Emptied only with every event saved; otherwise the entries read
            // so far, named.
            if (run.code == kCliDone || sim.Alarms().empty()) {
                EXPECT_EQ(file, complete) << run.err;
            }
            EXPECT_EQ(complete.substr(0, file.size()), file);
            if (run.code != kCliDone && dir.Exists("log.txt") && file != complete) {
                EXPECT_NE(run.err.find("The events read before it are in\n" + log + "\n"),
                          std::string::npos) << run.err;
            }
            EXPECT_TRUE(clear || sim.Alarms().size() == alarms.size());
        }
    }
    // The count's reply lost: no download and nothing cleared.
    sim.ClearFaults();
    sim.SetFault(SimFault::DropReplies, static_cast<int>(count) + 1);
    const CliRun lost = Cli({"alarm-log", "--clear"});
    EXPECT_EQ(lost.code, kCliLinkFailed);
    EXPECT_EQ(lost.err, std::string(kAlarmCountUnreadable) + "\n");
}

TEST_F(CliOnSim, AlarmLogStoppedByASignalKeepsThePartialFileAndNeverClears)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    ASSERT_EQ(Cli({"alarm-log", "--output", "all.txt"}).code, kCliDone);
    for (const int signal : {SIGINT, SIGTERM}) {
        // Ctrl-C arrives while record 2 is being read; config.txt never
        // holds the run's own port.
        std::string portInConfig;
        SetLinkTap([&](bool sent, const char* bytes, std::size_t count) {
            if (!sent || std::string(bytes, count) != "MOD22 2\n") return;
            portInConfig = dir.ReadFile("config.txt");
            std::raise(signal);
        });
        const CliRun run = Cli({"--port", "1", "alarm-log", "--clear", "--output", "part.txt"});
        SetLinkTap({});
        EXPECT_EQ(run.code, kCliInterrupted);
        EXPECT_NE(run.err.find("The download was stopped before record 4 of 6.\n"
                               "The events read before it are in\n" +
                               (dir.Path() / "part.txt").string() + "\n"),
                  std::string::npos) << run.err;
        const std::string part = dir.ReadFile("part.txt");
        EXPECT_EQ(Entries(part), 3u);
        EXPECT_EQ(dir.ReadFile("all.txt").rfind(part, 0), 0u);
        EXPECT_EQ(sim.Alarms().size(), 6u);
        EXPECT_NE(portInConfig.find("SERIAL_PORT=1"), std::string::npos);
    }
}

TEST_F(CliOnSim, JsonReplacesBytesThatAreNoUtf8)
{
    SimFixture sim(SimKind::Aprs);
    sim.UseAsPort(dir);
    sim.SetParam(13, "4903.50N/07201.75W_\xE9");
    const CliRun run = Cli({"show", "--json"});
    EXPECT_EQ(run.code, kCliDone);
    EXPECT_EQ(nlohmann::json::parse(run.out)["settings"]["position"], "4903.50N/07201.75W_\xEF\xBF\xBD");
}

TEST_F(CliOnSim, MistakesAreNamedBeforeTheLoggerIsRead)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    std::filesystem::create_directories(dir.Path() / "folder");
    const std::string commands =
        "commands: ports, detect, show, set, backup, restore, alarm-log, relays, relay\n";
    const struct { Lines args; const std::string err; } cases[] = {
        {{"frobnicate"}, "Unknown command \"frobnicate\"; " + commands},
        {{"--port", "2", "frob"}, "Unknown command \"frob\"; " + commands},
        {{"--baud", "-5", "detect"}, "--baud: must be one of the console's speeds: 1200, 2400, 4800, "
                                     "9600, 14400, 19200\nRun with --help for more information.\n"},
        {{"set", "timeout=60", "timeout=70"}, "timeout is given twice\n"},
        {{"--dir", "folder", "detect"}, "Cannot use folder as the working directory: it holds no config.txt\n"},
        {{"backup", "folder"}, "Cannot write folder: Is a directory\n"},
        {{"backup", "nowhere/b.txt"}, "Cannot write nowhere/b.txt: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(std::make_pair(run.code, run.err), std::make_pair(kCliUsage, c.err)) << c.args[0];
    }
    EXPECT_TRUE(sim.ModuleLines().empty());
}

TEST_F(CliOnSim, FileNamesAreTheCallersWhereverTheSettingsLie)
{
    SimFixture sim(SimKind::Aloha);
    sim.UseAsPort(dir);
    const auto caller = dir.Path() / "stations";
    std::filesystem::create_directories(caller);
    std::filesystem::current_path(caller);
    const std::string settings = dir.Path().string();
    EXPECT_EQ(Cli({"--dir", settings, "--transcript", "t.txt", "backup", "rel.bak"}).code, kCliDone);
    EXPECT_TRUE(std::filesystem::exists(caller / "rel.bak"));
    EXPECT_TRUE(std::filesystem::exists(caller / "t.txt"));
    EXPECT_EQ(Cli({"--dir", settings, "restore", "rel.bak"}).code, kCliDone);
    // The run's settings folder is left as it was; the test's is put back.
    EXPECT_EQ(std::filesystem::current_path(), caller);
    std::filesystem::current_path(dir.Path());
}

TEST_F(CliOnSim, RelaysAreReadAndSet)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    sim.SetSwitch(2, 1);
    EXPECT_EQ(Cli({"relays"}).out, "output 1: open\noutput 2: open\noutput 3: closed\noutput 4: open\n");
    const CliRun run = Cli({"relay", "2", "closed"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_EQ(run.out, "output 2: closed\n");
    EXPECT_EQ(sim.Switch(1), 1);
    SimFixture aloha(SimKind::Aloha);
    aloha.UseAsPort(dir);
    EXPECT_EQ(Cli({"relays"}).err, "This command needs an alarm output module; the logger is ALOHA.\n");
}

}  // namespace

namespace {

// Dew point 655 and daily ET 125 hide digits behind "66" and "0.12", and an
// extra temperature's threshold 95 is 5 °F: a backup keeps them all, and a
// module cleared down to nothing gets every byte back, the transmitter list
// read for the extra sensor the backup names.
TEST_F(CliOnSim, BackupRestoresEveryConditionByteForByteOntoAClearedModule)
{
    dir.Settings().SetValue(key::AomStationConfig, "0$22$26$");
    std::vector<std::string> held;
    {
        SimFixture sim(SimKind::Aom);
        sim.SetConditions(1, "129 0 655;14 0 125;17 7 25 95;1 6 29921;20 7 19 65531", 2);
        sim.UseAsPort(dir);
        ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
        for (int o = 0; o < 4; ++o) held.push_back(sim.Conditions(o));
    }
    EXPECT_NE(dir.ReadFile("b.txt").find("row 1 = Outside Dewpoint | Greater Than or = | 65.5 |  |\n"
                                         "row 2 = Daily ET | Greater Than or = | 0.125 |  |\n"
                                         "row 3 = Outside Temperature | Minus |  |  |\n"
                                         "row 4 = Extra Temperature 3 | Greater Than or = | 5 |  |\n"),
              std::string::npos)
        << dir.ReadFile("b.txt");
    SimFixture cleared(SimKind::Aom);
    for (int o = 0; o < 4; ++o) cleared.SetConditions(o, "", 1);
    cleared.UseAsPort(dir);
    const CliRun run = Cli({"restore", "b.txt", "--yes"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    for (int o = 0; o < 4; ++o) EXPECT_EQ(cleared.Conditions(o), held[static_cast<std::size_t>(o)]) << o;
    EXPECT_EQ(cleared.Output(1).logic, 2);
    EXPECT_EQ(Cli({"restore", "b.txt", "--dry-run"}).out,
              "The logger already holds this configuration; nothing to write.\n");
}

// What the form could never build is refused whole: the form's message,
// exit 3, nothing sent.
TEST_F(CliOnSim, RestoreRefusesRowsTheFormCannotBuild)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
    const std::string file = dir.ReadFile("b.txt");
    const struct { const char *from, *to, *message; } cases[] = {
        {"row 2 = Outside Dewpoint | Greater Than or = | 5.0 |  |\n", "", "Please select a parameter."},
        {"Outside Dewpoint | Greater Than or = | 5.0", "Outside Dewpoint | Between | 5.0", "Please select a check type."},
        {"Outside Dewpoint | Greater Than or = | 5.0", "Outside Dewpoint | Greater Than or = | abc",
         "(abc)  Invalid, value must be between (-120 and 134)!"},
        {"Daily Rain | Greater Than or = | 0.50", "Daily Rain | Greater Than or = | 0,50",
         "(0,50)  Invalid, value must be between (0.0 and 100.0)"},
        {"logic = XOR", "logic = FOO", "logic: must be OR, AND, XOR or DONE"},
    };
    for (const auto& c : cases) {
        dir.WriteFile("r.txt", Replace(file, c.from, c.to));
        sim.ClearLines();
        const CliRun run = Cli({"restore", "r.txt", "--yes"});
        EXPECT_EQ(run.code, kCliRefused) << c.to;
        EXPECT_NE(run.err.find(std::string(": ") + c.message + "\n"), std::string::npos) << run.err;
        EXPECT_TRUE(Sets(sim).empty()) << c.to;
    }
}

// A reply that never came is a failed read, not an output without conditions.
TEST_F(CliOnSim, ShowAndBackupStopWhenAnOutputCouldNotBeRead)
{
    SimFixture sim(SimKind::Aom);
    sim.UseAsPort(dir);
    sim.SetFault(SimFault::DropReplies, 4);
    for (const Lines& args : {Lines{"show"}, Lines{"backup", "b.txt"}}) {
        const CliRun run = Cli(args);
        EXPECT_NE(run.code, kCliDone) << run.out;
        EXPECT_EQ(run.out.find("[output"), std::string::npos) << run.out;
        EXPECT_FALSE(dir.Exists("b.txt"));
    }
}

}  // namespace
