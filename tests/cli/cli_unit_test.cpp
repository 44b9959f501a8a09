// corvane-cli without a device: the backup file's reader, usage errors and
// the reasons ports give for not opening.
#include "BackupFile.h"
#include "CorvaneCli.h"
#include "FakeLink.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace {

struct ParseCase {
    const char* name;
    const char* text;
    const char* error;  // empty: the text is read
};
void PrintTo(const ParseCase& c, std::ostream* os) { *os << c.name; }

class BackupReader : public ::testing::TestWithParam<ParseCase> {};

TEST_P(BackupReader, RefusesAMalformedLineWithItsNumber)
{
    std::istringstream in(GetParam().text);
    std::string error;
    const auto content = ParseBackup(in, error);
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(content.has_value(), error.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Table, BackupReader,
    ::testing::Values(
        ParseCase{"Good", "# c\nkind = AOM\ntimeout = 60\n\n[output 2]\nlogic = OR\n"
                          "row 3 = Daily Rain | Greater Than or = | 0.50 |  |\n", ""},
        ParseCase{"NoEquals", "kind = ALOHA\ntimeout 60\n", "line 2: expected name = value: timeout 60"},
        ParseCase{"UnknownKind", "kind = TOASTER\n", "line 1: unknown logger kind TOASTER"},
        ParseCase{"NoKind", "timeout = 5\n", "no line names the logger kind (kind = ...)"},
        ParseCase{"Empty", "", "the file is empty"},
        ParseCase{"ByteOrderMark", "\xEF\xBB\xBFkind = ALOHA\n", ""},
        ParseCase{"SectionTail", "kind = AOM\n[output 1]x]\n", "line 2: expected [output 1] to [output 4]: [output 1]x]"},
        ParseCase{"SectionOverflow", "kind = AOM\n[output 4294967297]\n",
                  "line 2: expected [output 1] to [output 4]: [output 4294967297]"},
        ParseCase{"UnitsTwice", "kind = AOM\nunits = 3 1 7 1\nunits = 4 1 7 1\n", "line 3: units given twice"},
        ParseCase{"Twice", "kind = APRS\nrate = 5\nrate = 6\n", "line 3: rate given twice"},
        ParseCase{"BadSection", "kind = AOM\n[output 5]\n", "line 2: expected [output 1] to [output 4]: [output 5]"},
        ParseCase{"ShortRow", "kind = AOM\n[output 1]\nrow 1 = Daily Rain | Minus\n",
                  "line 3: a row has five fields separated by \"|\""},
        ParseCase{"BadRow", "kind = AOM\n[output 1]\nrow 9 = a | b | | |\n",
                  "line 3: row number 1 to 8 expected: row 9"},
        ParseCase{"BadUnits", "kind = AOM\nunits = 3 1 7\n", "line 2: units: four unit codes expected: 3 1 7"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(BackupWriter, NamesAReplyTheFileCouldNotGiveBack)
{
    const std::pair<const char*, const char*> cases[] = {
        {"4903.50N", ""}, {"", ""}, {"49\r03", ""}, {"49\n03", "position"}, {"4903\r", "position"},
        {" 4903", "position"}};
    for (const auto& [value, unwritable] : cases) {
        BackupContent content;
        content.kind = "APRS";
        content.settings = {{"position", value}};
        EXPECT_EQ(UnwritableSetting(content), unwritable) << value;
    }
    BackupContent aom;
    aom.outputs[1].present = true;
    aom.outputs[1].rows.assign(8, ConditionRow{});
    aom.outputs[1].rows[2].value1 = "1|2";
    EXPECT_EQ(UnwritableSetting(aom), "output 2 row 3");
}

TEST(CliRestore, SaysAFolderIsNoBackupFile)
{
    TempWorkDir dir("BAUD_RATE=19200\n");
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"restore", dir.Path().string()}, out, err), kCliUsage);
    EXPECT_EQ(err.str(), "Cannot read " + dir.Path().string() + ": it is a folder\n");
}

// Ports 2 and 3 fail the way the system refuses a port; the rest open.
class RefusingPorts : public FakeLink {
public:
    int Open(int port, int) override
    {
        last_ = {};
        if (port != 2 && port != 3) return 0;
        last_ = {PortFault::System, port, "/dev/ttyUSB" + std::to_string(port - 1), 19200,
                 port == 2 ? EACCES : EBUSY};
        return -1;
    }
    PortOpenFault LastOpenFault() const override { return last_; }

private:
    PortOpenFault last_;
};

TEST(CliPorts, NameEachDeviceAndWhyItDoesNotOpen)
{
    TempWorkDir dir("BAUD_RATE=19200\nCOM2_DEVICE=/dev/ttyUSB1\nCOM3_DEVICE=/dev/ttyUSB2\n");
    RefusingPorts ports;
    std::ostringstream out, err;
    EXPECT_EQ(RunCli({"ports"}, out, err), kCliDone);
    const std::string text = out.str();
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 8) << text;
    EXPECT_EQ(text.rfind("COM1  (no device)  opens\nCOM2  /dev/ttyUSB1  does not open: Device: /dev/ttyUSB1 "
                         "(COM2)  Permission denied: ", 0), 0u) << text;
    EXPECT_NE(text.find("\nCOM3  /dev/ttyUSB2  does not open: Device: /dev/ttyUSB2 (COM3)  The port is busy: "
                        "another program holds it"), std::string::npos) << text;
}

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    int code;
    const char* text;  // expected in out + err
};
void PrintTo(const UsageCase& c, std::ostream* os) { *os << c.name; }

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, ExitsWithItsCode)
{
    TempWorkDir dir;
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(GetParam().args, out, err), GetParam().code);
    EXPECT_NE((out.str() + err.str()).find(GetParam().text), std::string::npos) << out.str() << err.str();
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliUsage,
    ::testing::Values(UsageCase{"Version", {"--version"}, kCliDone, "corvane-cli 2.0.0"},
                      UsageCase{"NoCommand", {}, kCliUsage, "A subcommand is required"},
                      UsageCase{"BadRelay", {"relay", "5", "open"}, kCliUsage, "5 not in range"},
                      UsageCase{"NotAnAssignment", {"set", "timeout"}, kCliUsage, "Expected NAME=VALUE"},
                      UsageCase{"MissingDir", {"--dir", "/nonexistent/x", "show"}, kCliUsage,
                                "Cannot use /nonexistent/x"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
