// The settings store against real files in a private directory.

#include "DBConfigParser.h"
#include "EventLog.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr const char* kLoadMessage =
    "Cannot open file Config.txt. Please make sure the file is in the same directory as "
    "CorvaneUtility.exe!";
constexpr const char* kWriteMessage =
    "Cannot open file Config.txt.  Please make sure the file is in the same directory as "
    "CorvaneUtility.exe";

TEST(ConfigParse, SplitsAtFirstEqualsAndKeepsBlanks)
{
    RecordingMessages messages;
    const char* text = "# serial\nSERIAL_PORT=3\r\nA=b=c\n KEY = v \nEMPTY=\nNOEQUALS\n\nX=1\nX=2\n";
    TempWorkDir dir(text);
    EXPECT_EQ(dir.ReadFile("configBackup.txt"), text) << "a verbatim copy at every start";
    auto& s = dir.Settings();
    EXPECT_EQ(s.GetValue("SERIAL_PORT"), "3");
    EXPECT_EQ(s.GetValue("A"), "b=c");
    EXPECT_EQ(s.GetValue(" KEY "), " v ");
    EXPECT_EQ(s.GetValue("KEY"), "");
    EXPECT_EQ(s.GetValue("X"), "2") << "the later duplicate wins";

    std::string v = "untouched";
    s.GetValue("EMPTY", v);
    EXPECT_EQ(v, "untouched") << "a line ending in = is skipped";
    s.GetValue("NOEQUALS", v);
    EXPECT_EQ(v, "") << "a line without = is a key with an empty value";
    s.GetValue("# serial", v = "x");
    EXPECT_EQ(v, "x") << "comments are not keys";
    EXPECT_TRUE(messages.Texts().empty());
}

TEST(ConfigParse, MissingFileShowsLoadMessageOnEveryRead)
{
    RecordingMessages messages;
    TempWorkDir dir(nullptr);  // store and event log created: two messages
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kLoadMessage, kLoadMessage}));
    EXPECT_FALSE(dir.Settings().IsLoaded());
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "");
    EXPECT_EQ(messages.Texts().size(), 3u);
    EXPECT_FALSE(messages.Shown()[0].caption.has_value()) << "plain box, application's caption";

    // Once the file appears, the next read loads it and the messages stop.
    dir.WriteFile("config.txt", "SERIAL_PORT=4\n");
    EXPECT_EQ(dir.Settings().GetInt("SERIAL_PORT"), 4);
    EXPECT_TRUE(dir.Settings().IsLoaded());
    EXPECT_EQ(messages.Texts().size(), 3u);
}

std::string Utf16Le(const std::string& ascii)
{
    std::string out = "\xFF\xFE";
    for (char c : ascii) out += std::string{c, '\0'};
    return out;
}

// A write replaces only its key's line; every other line goes back byte for
// byte. After a restart the last value set is read back.
TEST(ConfigWrite, ReplacesOnlyTheExactKeysLineInPlaceOrAppendsIt)
{
    using namespace std::string_literals;
    using Sets = std::vector<std::pair<const char*, const char*>>;
    const struct { const char* name; std::string config; Sets sets; std::string file; } cases[] = {
        {"in place, comments, blanks, order and line ends kept", "# Serial link\nSERIAL_PORT=1\r\n\n# speed\nBAUD_RATE=19200\nLAST=x",
         {{"SERIAL_PORT", "3"}, {"BAUD_RATE", "9600"}, {"LAST", "0"}, {"LAST", "4"}},
         "# Serial link\nSERIAL_PORT=3\r\n\n# speed\nBAUD_RATE=9600\nLAST=4"},
        // A line that merely contains the key text keeps its own setting.
        {"exact key only", "AOM_TEMP_UNIT=3\nTEMP_UNIT=4\nNOTE=TEMP_UNIT here\nTEMP_UNIT_X=5\n", {{"TEMP_UNIT", "9"}},
         "AOM_TEMP_UNIT=3\nTEMP_UNIT=9\nNOTE=TEMP_UNIT here\nTEMP_UNIT_X=5\n"},
        {"empty value replaced, absent key appended", "# c\r\nIRRIGATION_RAIN_UNIT=\r\n",
         {{"IRRIGATION_RAIN_UNIT", "2"}, {"AOM_FIRST_USE", "1"}}, "# c\r\nIRRIGATION_RAIN_UNIT=2\r\nAOM_FIRST_USE=1\r\n"},
        {"a last line without its end is ended before an appended one", "A=1\nB=2", {{"C", "3"}}, "A=1\nB=2\nC=3\n"},
        {"a NUL inside another line survives", "A=1\nN=x\0y\nB=2\n"s, {{"B", "3"}}, "A=1\nN=x\0y\nB=3\n"s},
        {"a UTF-8 mark before the first key", "\xEF\xBB\xBFSERIAL_PORT=1\n", {{"SERIAL_PORT", "2"}},
         "\xEF\xBB\xBFSERIAL_PORT=2\n"},
        {"a file saved as UTF-16 stays UTF-16", Utf16Le("# note\r\nSERIAL_PORT=1\r\nBAUD_RATE=9600\r\n"),
         {{"SERIAL_PORT", "2"}, {"NEW", "x"}}, Utf16Le("# note\r\nSERIAL_PORT=2\r\nBAUD_RATE=9600\r\nNEW=x\r\n")},
    };
    {
        TempWorkDir dir;
        dir.WriteFile("config.txt", Utf16Le("SERIAL_PORT=3\r\n"));
        dir.Restart();
        EXPECT_EQ(dir.Settings().GetInt("SERIAL_PORT"), 3) << "a UTF-16 file is read as text";
    }
    for (const auto& c : cases) {
        TempWorkDir dir;
        dir.WriteFile("config.txt", c.config);
        dir.Restart();
        for (const auto& [key, value] : c.sets) dir.Settings().SetValue(key, value);
        EXPECT_EQ(dir.ReadFile("config.txt"), c.file) << c.name;
        EXPECT_FALSE(dir.Exists("configOld.txt")) << c.name;
        dir.Restart();
        EXPECT_EQ(dir.Settings().GetValue(c.sets.back().first), c.sets.back().second) << c.name;
    }
}

TEST(ConfigWrite, MissingFileAtWriteShowsMessageAndChangesNothing)
{
    RecordingMessages messages;
    TempWorkDir dir("SERIAL_PORT=1\n");
    std::filesystem::remove(dir.Path() / "config.txt");
    dir.Settings().SetValue("SERIAL_PORT", "2");
    EXPECT_EQ(messages.Texts(), (std::vector<std::string>{kWriteMessage}));
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "1");
    EXPECT_FALSE(dir.Exists("config.txt"));
}

TEST(ConfigWrite, FailedRewriteKeepsConfigAndLogsOrigin)
{
    // A directory in the way of the rewrite file fails its creation, even
    // for root, who ignores permissions.
    TempWorkDir dir("SERIAL_PORT=1\n");
    std::filesystem::create_directory(dir.Path() / "configOld.txt");
    dir.Settings().SetValue("SERIAL_PORT", "2");
    EXPECT_EQ(dir.ReadFile("config.txt"), "SERIAL_PORT=1\n");
    EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "1");
    EXPECT_TRUE(dir.Settings().IsLoaded());
    const std::string log = dir.ReadFile("eventLog.txt");
    EXPECT_NE(log.find("{DBConfigParser::SetValue}  \n\t\t\tCannot create "), std::string::npos) << log;
}

TEST(ConfigLimits, OverlongKeysAndValuesAreRefusedNotCut)
{
    const std::string longKey(80, 'K');
    const std::string longValue(512, 'v');
    TempWorkDir dir(("A=1\n" + longKey + "=1\nB=" + longValue + "\n" + std::string(79, 'k') +
                     "=" + std::string(511, 'w') + "\n").c_str());
    auto& s = dir.Settings();
    std::string v = "none";
    s.GetValue(longKey, v);
    EXPECT_EQ(v, "none");
    s.GetValue("B", v);
    EXPECT_EQ(v, "none");
    EXPECT_EQ(s.GetValue(std::string(79, 'k')), std::string(511, 'w')) << "limits themselves pass";

    const std::string before = dir.ReadFile("config.txt");
    s.SetValue("A", longValue);
    EXPECT_EQ(s.GetValue("A"), "1");
    EXPECT_EQ(dir.ReadFile("config.txt"), before);
    EXPECT_NE(dir.ReadFile("eventLog.txt").find("{DBConfigParser::SetValue}"), std::string::npos);
}

}  // namespace
