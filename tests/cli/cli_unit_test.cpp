// corvane-cli without a device: the backup file's reader, usage errors and
// the reasons ports give for not opening.
#include "cli/BackupFile.h"
#include "cli/CorvaneCli.h"
#include "FakeLink.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <sstream>

namespace {

// Each malformed line refused with its number; a good text read.
TEST(BackupReader, RefusesAMalformedLineWithItsNumber)
{
    struct ParseCase {
        const char* name;
        const char* text;
        const char* error;  // empty: the text is read
    };
    for (const ParseCase& c : {
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
        ParseCase{"BadRow", "kind = AOM\n[output 1]\nrow 9 = a | b | | |\n", "line 3: row number 1 to 8 expected: row 9"},
        ParseCase{"BadUnits", "kind = AOM\nunits = 3 1 7\n", "line 2: units: four unit codes expected: 3 1 7"}}) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.text);
        std::string error;
        const auto content = ParseBackup(in, error);
        EXPECT_EQ(error, c.error);
        EXPECT_EQ(content.has_value(), error.empty());
    }
}

TEST(BackupWriter, NamesAReplyTheFileCouldNotGiveBack)
{
    for (const auto& [value, unwritable] : {std::pair{"4903.50N", ""}, {"", ""}, {"49\r03", ""},
                                            {"49\n03", "position"}, {"4903\r", "position"}, {" 4903", "position"}}) {
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

// Ports 2 and 3 fail the way the system refuses a port; the rest open.
struct RefusingPorts : FakeLink {
    int Open(int port, int) override
    {
        last_ = {};
        if (port != 2 && port != 3) return 0;
        last_ = {PortFault::System, port, "/dev/ttyUSB" + std::to_string(port - 1), 19200,
                 port == 2 ? EACCES : EBUSY};
        return -1;
    }
    PortOpenFault LastOpenFault() const override { return last_; }
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

}  // namespace
