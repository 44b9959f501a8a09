// corvane-cli against the simulated logger of each kind: what show prints,
// the bytes set sends (those the form's OK sends for the same values), the
// forms' refusals, backup and restore, the alarm log and the relays.
#include "aom/AlarmDownload.h"
#include "cli/CorvaneCli.h"
#include "SimFixture.h"
#include "TestSupport.h"

#include "link/SerialLink.h"
#include "settings/SettingsKeys.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <csignal>
#include <optional>
#include <sstream>

namespace {

struct CliRun { int code; std::string out, err; };

CliRun Cli(const Lines& args)
{
    std::ostringstream out, err;
    const int code = RunCli(args, out, err);
    return {code, out.str(), err.str()};
}

class CliOnSim : public ::testing::Test {
protected:
    // A logger of kind on COM<port>, in place of the one before.
    SimFixture& Use(SimKind kind, int port = 1, int timeoutMs = 200)
    {
        sim.emplace(kind);
        sim->UseAsPort(dir, port, 19200, timeoutMs);
        return *sim;
    }
    // Millimetres, as the program's own config.txt ships the rain unit.
    TempWorkDir dir{"IRRIGATION_RAIN_UNIT=2\nAOM_TEMP_UNIT=3\nAOM_STATION_CONFIG=0$\n"};
    InstantPauses pauses;
    std::optional<SimFixture> sim;
};

const std::string kAlreadyHeld = "The logger already holds this configuration; nothing to write.\n";

std::string Replace(std::string text, const std::string& from, const std::string& to)
{
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

struct ShowCase {
    SimKind kind;
    Lines expected;  // lines show prints, in this order
};
void PrintTo(const ShowCase& c, std::ostream* os) { *os << SimKindName(c.kind); }

class CliShow : public CliOnSim, public ::testing::WithParamInterface<ShowCase> {};

// show prints the sample state and sends nothing. That a backup of each kind
// restores onto a fresh logger is the window's round trip, through the same
// PlanRestore and WriteRestore.
TEST_P(CliShow, PrintsTheSampleState)
{
    Use(GetParam().kind);
    const CliRun run = Cli({"show"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    std::size_t at = 0;
    for (const std::string& line : GetParam().expected) {
        at = run.out.find(line + "\n", at);
        ASSERT_NE(at, std::string::npos) << line << "\n" << run.out << run.err;
    }
    EXPECT_TRUE(sim->SetLines().empty());
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
    Lines args;  // "set" and what it is given
    int code;
    Lines sets;         // what the logger received
    const char* error;  // what stderr says (the form's message)
};
void PrintTo(const SetCase& c, std::ostream* os) { *os << c.name; }

class CliSet : public CliOnSim, public ::testing::WithParamInterface<SetCase> {};

TEST_P(CliSet, SendsTheFormsBytesOrRefusesWithItsMessage)
{
    const SetCase& c = GetParam();
    Use(c.kind);
    const CliRun run = Cli(c.args);
    EXPECT_EQ(run.code, c.code) << run.err;
    EXPECT_EQ(sim->SetLines(), c.sets);
    EXPECT_EQ(run.err, c.error);
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliSet,
    ::testing::Values(
        // The lines of the forms' OK in tests/loggers/gui.
        SetCase{"Aloha", SimKind::Aloha, {"set", "timeout=30-", "station=7"}, kCliDone,
                {"MOD01 30-\n", "MOD02 7\n"}, ""},
        SetCase{"Aprs", SimKind::Aprs, {"set", "rate=5", "timeout=60"}, kCliDone,
                {"MOD01 60\n", "MOD12 9600\n", "MOD13 4903.50N/07201.75W_\n", "MOD14 5\n"}, ""},
        SetCase{"AprsHemisphere", SimKind::Aprs, {"set", "lon-hemisphere=E", "lat-seconds=59"}, kCliDone,
                {"MOD01 30\n", "MOD12 9600\n", "MOD13 4903.98N/07201.75E_\n", "MOD14 10\n"}, ""},
        SetCase{"IrrAdvanced", SimKind::Irr,
                {"set", "pulse-width=250", "activation=pulse", "circuit=normally-closed"}, kCliDone,
                {"MOD03 5\n", "MOD04 10\n", "MOD05 250\n", "MOD06 0\n", "MOD07 1\n"}, ""},
        SetCase{"IrrInches", SimKind::Irr, {"set", "rain-unit=in", "amount=9.99", "rain-cutoff=--"}, kCliDone,
                {"MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n", "MOD07 0\n",
                 "MOD08 3\n", "MOD10 255\n", "MOD25 999\n", "MOD26 150\n", "MOD27 300\n"}, ""},
        // Without a residential schedule the amount is still the one given.
        SetCase{"IrrNotResidential", SimKind::Irr, {"set", "rain-unit=in", "residential=no", "amount=1.5"}, kCliDone,
                {"MOD01 60\n", "MOD03 5\n", "MOD04 10\n", "MOD05 500\n", "MOD06 1\n", "MOD07 0\n", "MOD08 0\n",
                 "MOD10 50\n", "MOD25 150\n", "MOD26 150\n", "MOD27 300\n"}, ""},
        SetCase{"Aom", SimKind::Aom, {"set", "timeout=999", "alarm-logging=off"}, kCliDone,
                {"MOD01 999\n", "MOD24 0\n"}, ""},
        // Refused: the form's message, nothing sent (each form's own
        // refusals are in its form test; the validators are shared).
        SetCase{"IrrMillimetres", SimKind::Irr, {"set", "amount=253.75"}, kCliRefused, {},
                "Invalid Irrigation Amount! Must be between 0.00 and 253.75\n"},
        SetCase{"IrrCycleNotResidential", SimKind::Irr, {"set", "residential=no", "cycle=4"}, kCliRefused, {},
                "cycle: must be 0 while residential is no\n"},
        SetCase{"AomTimeout", SimKind::Aom, {"set", "timeout=1000"}, kCliRefused, {},
                "Invalid Timeout Period! Must be between 5 and 999 sec.\n"},
        SetCase{"UnknownName", SimKind::Aloha, {"set", "colour=red"}, kCliUsage, {},
                "Unknown setting \"colour\" for ALOHA; settings: timeout, station\n"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(CliOnSim, DetectNamesTheLoggerOrExitsWithNoLoggerAndAWriteFailedPartWay)
{
    Use(SimKind::None);
    CliRun run = Cli({"detect"});
    EXPECT_EQ(run.code, kCliLinkFailed);
    EXPECT_EQ(run.err.rfind("No Corvane Logger Found.", 0), 0u) << run.err;
    Use(SimKind::Aloha).SetFault(SimFault::Garble);
    run = Cli({"detect"});
    EXPECT_EQ(run.code, kCliLinkFailed);
    EXPECT_NE(run.err.find("\", which names no known kind.\n"), std::string::npos) << run.err;
    // The position is refused by the logger after the time-out and baud went.
    Use(SimKind::Aprs).SetFault(SimFault::Hangup, 65);
    run = Cli({"set", "rate=5"});
    EXPECT_EQ(run.code, kCliPartWrite);
    EXPECT_EQ(run.err, std::string(kLoggerWriteFailed) + "\nAlready written: parameter 1 (30); parameter 12 (9600);\n");
    // A logger found: its kind, firmware, port and device.
    Use(SimKind::Irr);
    run = Cli({"detect", "--transcript", (dir.Path() / "t.txt").string()});
    EXPECT_EQ(run.code, kCliDone);
    EXPECT_EQ(run.out, "kind: IRR\nidentification: IRR     202\nlogger-type: IRR  2.02\nfirmware: 202\n"
                       "port: COM1\ndevice: " + sim->DevicePath() + "\nspeed: 19200\n");
    const std::string transcript = dir.ReadFile("t.txt");
    EXPECT_NE(transcript.find(" > MOD00\\n\n"), std::string::npos) << transcript;
    EXPECT_NE(transcript.find(" < IRR     202\\n\\r\n"), std::string::npos) << transcript;
}

TEST_F(CliOnSim, PortForOneRunScanStoresThePortAndJsonCarriesTheRowsAndOnlyUtf8)
{
    Use(SimKind::Aom, 3);
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
    // Bytes that are no UTF-8 are replaced.
    Use(SimKind::Aprs).SetParam(13, "4903.50N/07201.75W_\xE9");
    const CliRun run = Cli({"show", "--json"});
    EXPECT_EQ(run.code, kCliDone);
    EXPECT_EQ(nlohmann::json::parse(run.out)["settings"]["position"], "4903.50N/07201.75W_\xEF\xBF\xBD");
}

struct RestoreCase {
    const char* name;
    SimKind kind;
    std::vector<std::pair<int, const char*>> held, after;  // parameters before and after the backup
    const char *from, *to;  // the backup's text changed (from "": to is the whole file; nullptr: kept)
    int code;
    const char *out, *err;
    Lines sets;  // what the logger received
    bool yes = true;  // given --yes
};
void PrintTo(const RestoreCase& c, std::ostream* os) { *os << c.name; }

class CliRestore : public CliOnSim, public ::testing::WithParamInterface<RestoreCase> {};

// A restore writes only what differs from the logger; a value the form
// refuses, or another kind's file, stops it before anything is sent.
TEST_P(CliRestore, WritesTheChangesOrRefusesBeforeSending)
{
    const RestoreCase& c = GetParam();
    SimFixture& logger = Use(c.kind);
    for (const auto& [parameter, value] : c.held) logger.SetParam(parameter, value);
    ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
    EXPECT_EQ(Cli({"restore", "b.txt"}).out, kAlreadyHeld);
    for (const auto& [parameter, value] : c.after) logger.SetParam(parameter, value);
    if (c.from) dir.WriteFile("b.txt", *c.from ? Replace(dir.ReadFile("b.txt"), c.from, c.to) : c.to);
    logger.ClearLines();
    // A dry run sends nothing, and needs no --yes for conditions.
    EXPECT_EQ(Cli({"restore", "b.txt", "--dry-run"}).code, c.yes ? c.code : kCliDone);
    EXPECT_TRUE(logger.SetLines().empty());
    const CliRun run = c.yes ? Cli({"restore", "b.txt", "--yes"}) : Cli({"restore", "b.txt"});
    EXPECT_EQ(run.code, c.code);
    EXPECT_EQ(run.out, c.out);
    EXPECT_EQ(run.err, c.err);
    EXPECT_EQ(logger.SetLines(), c.sets);
    // The alarm log (the sim's six events) is cleared by a write of conditions only.
    if (c.kind == SimKind::Aom) {
        EXPECT_EQ(logger.Alarms().size(), c.code == kCliDone ? 0u : 6u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliRestore,
    ::testing::Values(
        RestoreCase{"IrrCycle", SimKind::Irr, {}, {}, "cycle = 3", "cycle = 4", kCliDone,
                    "cycle:  3  ->  4\nwritten: parameter 8 (4)\n", "", {"MOD08 4\n"}},
        // Hundredths the form's seconds cannot show come back exactly.
        RestoreCase{"AprsHundredths", SimKind::Aprs, {{13, "4903.51N/07201.75W_"}}, {{13, "4903.50N/07201.75W_"}},
                    nullptr, nullptr, kCliDone,
                    "position:  4903.50N/07201.75W_  ->  4903.51N/07201.75W_\n"
                    "written: parameter 13 (4903.51N/07201.75W_)\n",
                    "", {"MOD13 4903.51N/07201.75W_\n"}},
        // Without a residential schedule the amount is still the file's.
        RestoreCase{"IrrAmountNotResidential", SimKind::Irr, {{8, "0"}, {25, "100"}}, {{25, "200"}}, nullptr, nullptr,
                    kCliDone, "amount:  50.8  ->  25.4\nwritten: parameter 25 (100)\n", "", {"MOD25 100\n"}},
        RestoreCase{"IrrCycleRefused", SimKind::Irr, {}, {}, "cycle = 3", "cycle = 256", kCliRefused, "",
                    "b.txt: Invalid irrigation cycle! Must be between 1 and 255\n", {}},
        RestoreCase{"OtherKind", SimKind::Irr, {}, {}, "", "kind = ALOHA\ntimeout = 30\n", kCliRefused, "",
                    "b.txt holds the configuration of an ALOHA logger; the logger on the port is IRR.\n", {}},
        RestoreCase{"AprsSeconds", SimKind::Aprs, {{13, "4903.51N/07201.75W_"}}, {}, "lat-seconds = 30",
                    "lat-seconds = 40", kCliRefused, "",
                    "b.txt: position: 4903.51N/07201.75W_ gives lat-seconds = 30, not 40\n", {}},
        RestoreCase{"AprsLayout", SimKind::Aprs, {{13, "4903.51N/07201.75W_"}}, {}, "position = 4903.51N/07201.75W_",
                    "position = 4903.5N/07201.75W_", kCliRefused, "",
                    "b.txt: position: \"4903.5N/07201.75W_\" is not laid out as 4903.50N/07201.75W_\n", {}},
        // Only the changed output is sent, after the alarm log is cleared.
        RestoreCase{"AomOneOutput", SimKind::Aom, {}, {}, "Daily Rain | Greater Than or = | 0.50",
                    "Daily Rain | Greater Than or = | 0.75", kCliDone,
                    "output 2 conditions (logic XOR  ->  XOR):\n"
                    "  row 1:  Daily Rain | Greater Than or = | 0.50 |  |   ->  "
                    "Daily Rain | Greater Than or = | 0.75 |  | \n"
                    "written: alarm log cleared\nwritten: output 2 conditions\n",
                    "This operation will clear your Alarm Event Log\n",
                    {"MOD23\n", "MOD15 1\n", "MOD16 1 10 0\n", "MOD17 1 10 75\n", "MOD16 1 19 4 30\n",
                     "MOD17 1 19 10 25\n", "MOD18 1 2\n"}},
        // What the conditions page or the advanced form could never build.
        // Conditions go only with --yes, for writing them clears the alarm log.
        RestoreCase{"AomConditionsWithoutYes", SimKind::Aom, {}, {}, "Daily Rain | Greater Than or = | 0.50",
                    "Daily Rain | Greater Than or = | 0.75", kCliRefused,
                    "output 2 conditions (logic XOR  ->  XOR):\n"
                    "  row 1:  Daily Rain | Greater Than or = | 0.50 |  |   ->  "
                    "Daily Rain | Greater Than or = | 0.75 |  | \n",
                    "This operation will clear your Alarm Event Log\n"
                    "Give --yes to write the conditions and clear the alarm log.\n", {}, false},
        RestoreCase{"AomNoValue", SimKind::Aom, {}, {}, "Trending | 10 | 25", "Trending | 10 | ", kCliRefused, "",
                    "b.txt: output 2: Field must have a value.\n", {}},
        RestoreCase{"AomPulseWidth", SimKind::Aom, {}, {}, "pulse-width = 250", "pulse-width = 10000", kCliRefused, "",
                    "b.txt: output 2: Invalid Pulse Width! Must be between 0 and 9999\n", {}},
        RestoreCase{"AomUnknownParameter", SimKind::Aom, {}, {}, "Current Wind Speed | Trending",
                    "Wind Speed | Trending", kCliRefused, "", "b.txt: output 2: Please select a parameter.\n", {}},
        RestoreCase{"AomMinusAlone", SimKind::Aom, {}, {}, "row 2 = Outside Dewpoint | Greater Than or = | 5.0 |  |\n",
                    "", kCliRefused, "", "b.txt: output 3: Please select a parameter.\n", {}},
        RestoreCase{"AomCheckType", SimKind::Aom, {}, {}, "Outside Dewpoint | Greater Than or = | 5.0",
                    "Outside Dewpoint | Between | 5.0", kCliRefused, "",
                    "b.txt: output 3: Please select a check type.\n", {}},
        RestoreCase{"AomValue", SimKind::Aom, {}, {}, "Outside Dewpoint | Greater Than or = | 5.0",
                    "Outside Dewpoint | Greater Than or = | abc", kCliRefused, "",
                    "b.txt: output 3: (abc)  Invalid, value must be between (-120 and 134)!\n", {}},
        RestoreCase{"AomCommaDecimal", SimKind::Aom, {}, {}, "Daily Rain | Greater Than or = | 0.50",
                    "Daily Rain | Greater Than or = | 0,50", kCliRefused, "",
                    "b.txt: output 2: (0,50)  Invalid, value must be between (0.0 and 100.0)\n", {}},
        RestoreCase{"AomLogic", SimKind::Aom, {}, {}, "logic = XOR", "logic = FOO", kCliRefused, "",
                    "b.txt: output 2: logic: must be OR, AND, XOR or DONE\n", {}}),
    [](const auto& info) { return std::string(info.param.name); });

// Dew point 655 and daily ET 125 hide digits behind "66" and "0.12", and an
// extra temperature's threshold 95 is 5 °F: a backup keeps them all, and a
// module cleared down to nothing gets every byte back, the transmitter list
// read for the extra sensor the backup names.
TEST_F(CliOnSim, BackupRestoresEveryConditionByteForByteOntoAClearedModule)
{
    dir.Settings().SetValue(key::AomStationConfig, "0$22$26$");
    Use(SimKind::Aom).SetConditions(1, "129 0 655;14 0 125;17 7 25 95;1 6 29921;20 7 19 65531", 2);
    ASSERT_EQ(Cli({"backup", "b.txt"}).code, kCliDone);
    std::vector<std::string> held;
    for (int o = 0; o < 4; ++o) held.push_back(sim->Conditions(o));
    EXPECT_NE(dir.ReadFile("b.txt").find("row 1 = Outside Dewpoint | Greater Than or = | 65.5 |  |\n"
                                         "row 2 = Daily ET | Greater Than or = | 0.125 |  |\n"
                                         "row 3 = Outside Temperature | Minus |  |  |\n"
                                         "row 4 = Extra Temperature 3 | Greater Than or = | 5 |  |\n"),
              std::string::npos)
        << dir.ReadFile("b.txt");
    SimFixture& cleared = Use(SimKind::Aom);
    for (int o = 0; o < 4; ++o) cleared.SetConditions(o, "", 1);
    const CliRun run = Cli({"restore", "b.txt", "--yes"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    for (int o = 0; o < 4; ++o) EXPECT_EQ(cleared.Conditions(o), held[static_cast<std::size_t>(o)]) << o;
    EXPECT_EQ(cleared.Output(1).logic, 2);
    EXPECT_EQ(Cli({"restore", "b.txt", "--dry-run"}).out, kAlreadyHeld);
}

// A reply that never came is a failed read, not an output without conditions.
TEST_F(CliOnSim, ShowAndBackupStopWhenAnOutputCouldNotBeRead)
{
    Use(SimKind::Aom).SetFault(SimFault::DropReplies, 4);
    for (const Lines& args : {Lines{"show"}, Lines{"backup", "b.txt"}}) {
        const CliRun run = Cli(args);
        EXPECT_NE(run.code, kCliDone) << run.out;
        EXPECT_EQ(run.out.find("[output"), std::string::npos) << run.out;
        EXPECT_FALSE(dir.Exists("b.txt"));
    }
}

TEST_F(CliOnSim, AlarmLogWritesTheFormsFileKeepsAStoppedOnesPartAndClearsOnlyWhenWhole)
{
    Use(SimKind::Aom);
    const CliRun run = Cli({"alarm-log"});
    ASSERT_EQ(run.code, kCliDone) << run.err;
    const std::tm now = LocalNow();
    std::string file;
    for (const auto& [r, conditions] : {std::pair{AlarmRecord{0, true, 0, 2, 1, 4, 1, 15}, "Inside Temperature"},
                                        {{0, false, 0, 2, 1, 6, 30, 0}, "Outside Temperature Inside Temperature "},
                                        {{1, true, 0, 3, 14, 13, 45, 30}, "Daily Rain"},
                                        {{1, false, 0, 3, 14, 15, 5, 2}, "Daily Rain Current Wind Speed "},
                                        {{2, true, 0, 3, 20, 9, 12, 48}, "Outside Temperature MINUS Outside Dewpoint"},
                                        {{1, true, 0, 4, 2, 18, 0, 59}, "Current Wind Speed"}})
        file += AlarmEntryText(r, conditions + std::string(r.active ? 0 : 6, ' '), EventDateText(r, now));
    EXPECT_EQ(dir.ReadFile(AlarmFileName(now)), file);
    EXPECT_EQ(run.err, "\rDownloading record: 1/6\rDownloading record: 2/6\rDownloading record: 3/6"
                       "\rDownloading record: 4/6\rDownloading record: 5/6\rDownloading record: 6/6\n"
                       "Download Complete!\n");
    // Stopped by a signal: the first three entries kept, nothing cleared.
    std::size_t three = 0;
    for (int n = 0; n < 3; ++n) three = file.find("\n\n\n", three) + 3;
    for (const int signal : {SIGINT, SIGTERM}) {
        // Ctrl-C arrives while record 2 is being read; config.txt never
        // holds the run's own port.
        std::string portInConfig;
        SetLinkTap([&](bool sent, const char* bytes, std::size_t count) {
            if (!sent || std::string(bytes, count) != "MOD22 2\n") return;
            portInConfig = dir.ReadFile("config.txt");
            std::raise(signal);
        });
        const CliRun stopped = Cli({"--port", "1", "alarm-log", "--clear", "--output", "part.txt"});
        SetLinkTap({});
        EXPECT_EQ(stopped.code, kCliInterrupted);
        EXPECT_NE(stopped.err.find("The download was stopped before record 4 of 6.\n"
                                   "The events read before it are in\n" + (dir.Path() / "part.txt").string() + "\n"),
                  std::string::npos) << stopped.err;
        EXPECT_EQ(dir.ReadFile("part.txt"), file.substr(0, three));
        EXPECT_EQ(sim->Alarms().size(), 6u);
        EXPECT_NE(portInConfig.find("SERIAL_PORT=1"), std::string::npos);
    }
    // --output leaves the day's file (the desktop's download, say) alone.
    dir.WriteFile(AlarmFileName(now), "earlier");
    const CliRun cleared = Cli({"alarm-log", "--clear", "--output", "log.txt"});
    EXPECT_EQ(cleared.code, kCliDone);
    EXPECT_EQ(dir.ReadFile("log.txt"), file);
    EXPECT_EQ(dir.ReadFile(AlarmFileName(now)), "earlier");
    EXPECT_NE(cleared.err.find("Logs Cleared!\n"), std::string::npos);
    EXPECT_TRUE(sim->Alarms().empty());
}

TEST_F(CliOnSim, AlarmLogWithAReplyLostAnywhereSavesEveryEventOrSaysWhatIsMissing)
{
    Use(SimKind::Aom, 1, 50);
    const std::vector<SimAlarmRecord> alarms = sim->Alarms();
    ASSERT_EQ(Cli({"alarm-log", "--output", "all.txt"}).code, kCliDone);
    const std::string complete = dir.ReadFile("all.txt");
    const Lines before = sim->ModuleLines();
    // Replies from the count on; those of the outputs' read belong to it.
    const auto count = std::find(before.begin(), before.end(), "MOD21\n") - before.begin();
    const auto last = static_cast<long>(before.size()) + 2;  // the second count and the clear
    const std::string log = (dir.Path() / "log.txt").string();
    for (const bool clear : {false, true}) {
        for (long n = count + 1; n <= last + 1; ++n) {
            SCOPED_TRACE(testing::Message() << (clear ? "--clear" : "") << " reply " << n << " lost");
            sim->SetAlarms(alarms);
            sim->ClearFaults();
            std::filesystem::remove(log);
            sim->SetFault(SimFault::DropReplies, static_cast<int>(n));
            const CliRun run = clear ? Cli({"alarm-log", "--output", "log.txt", "--clear"})
                                     : Cli({"alarm-log", "--output", "log.txt"});
            const std::string file = dir.Exists("log.txt") ? dir.ReadFile("log.txt") : "";
            // Emptied only with every event saved; otherwise the entries read
            // so far, named.
            if (run.code == kCliDone || sim->Alarms().empty()) {
                EXPECT_EQ(file, complete) << run.err;
            }
            EXPECT_EQ(complete.substr(0, file.size()), file);
            if (run.code != kCliDone && dir.Exists("log.txt") && file != complete) {
                EXPECT_NE(run.err.find("The events read before it are in\n" + log + "\n"), std::string::npos) << run.err;
            }
            EXPECT_TRUE(clear || sim->Alarms().size() == alarms.size());
        }
    }
    // The count's reply lost: no download and nothing cleared.
    sim->ClearFaults();
    sim->SetFault(SimFault::DropReplies, static_cast<int>(count) + 1);
    const CliRun lost = Cli({"alarm-log", "--clear"});
    EXPECT_EQ(lost.code, kCliLinkFailed);
    EXPECT_EQ(lost.err, std::string(kAlarmCountUnreadable) + "\n");
}

TEST_F(CliOnSim, MistakesAreNamedBeforeTheLoggerIsReadAndFileNamesAreTheCallers)
{
    Use(SimKind::Aloha);
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
        {{"restore", "folder"}, "Cannot read folder: it is a folder\n"},
        {{"backup", "nowhere/b.txt"}, "Cannot write nowhere/b.txt: No such file or directory\n"},
        {{}, "A subcommand is required\nRun with --help for more information.\n"},
        {{"relay", "5", "open"}, "N: Value 5 not in range 1 to 4\nRun with --help for more information.\n"},
        {{"set", "timeout"}, "Expected NAME=VALUE, not \"timeout\"\n"},
        {{"--dir", "/nonexistent/x", "show"},
         "Cannot use /nonexistent/x as the working directory: No such file or directory\n"},
    };
    for (const auto& c : cases) {
        const CliRun run = Cli(c.args);
        EXPECT_EQ(std::make_pair(run.code, run.err), std::make_pair(kCliUsage, c.err)) << testing::PrintToString(c.args);
    }
    EXPECT_EQ(Cli({"--version"}).out, "corvane-cli 2.0.0\n");
    EXPECT_TRUE(sim->ModuleLines().empty());
    // File names are the caller's wherever the settings lie.
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
    Use(SimKind::Aom).SetSwitch(2, 1);
    EXPECT_EQ(Cli({"relays"}).out, "output 1: open\noutput 2: open\noutput 3: closed\noutput 4: open\n");
    const CliRun run = Cli({"relay", "2", "closed"});
    EXPECT_EQ(run.code, kCliDone) << run.err;
    EXPECT_EQ(run.out, "output 2: closed\n");
    EXPECT_EQ(sim->Switch(1), 1);
    Use(SimKind::Aloha);
    EXPECT_EQ(Cli({"relays"}).err, "This command needs an alarm output module; the logger is ALOHA.\n");
}

}  // namespace
