// The settings store against real files in a private directory, and the
// event log's entries byte for byte.

#include "settings/DBConfigParser.h"
#include "settings/EventLog.h"
#include "TestSupport.h"

#include <gtest/gtest.h>
#include <tuple>

namespace {

// What GetValue leaves in a variable holding `before`.
std::string Read(DBConfigParser& s, const std::string& key, std::string before)
{
    s.GetValue(key, before);
    return before;
}

constexpr const char* kLoadMessage = "Cannot open file Config.txt. Please make sure the file is in the same directory as "
    "CorvaneUtility.exe!";
constexpr const char* kWriteMessage = "Cannot open file Config.txt.  Please make sure the file is in the same directory as "
    "CorvaneUtility.exe";

TEST(ConfigParse, SplitsAtFirstEqualsKeepsBlanksAndRefusesOverlongKeysAndValues)
{
    RecordingMessages messages;
    const std::string text = "# serial\nSERIAL_PORT=3\r\nA=b=c\n KEY = v \nEMPTY=\nNOEQUALS\n\nX=1\nX=2\n" +
                             std::string(80, 'K') + "=1\nB=" + std::string(512, 'v') + "\n" +
                             std::string(79, 'k') + "=" + std::string(511, 'w') + "\n";
    TempWorkDir dir(text.c_str());
    EXPECT_EQ(dir.ReadFile("configBackup.txt"), text) << "a verbatim copy at every start";
    auto& s = dir.Settings();
    // Keys and values keep their blanks; the later duplicate wins.
    for (auto [key, value] : {std::pair{"SERIAL_PORT", "3"}, {"A", "b=c"}, {" KEY ", " v "}, {"KEY", ""}, {"X", "2"}})
        EXPECT_EQ(s.GetValue(key), value) << '"' << key << '"';

    EXPECT_EQ(Read(s, "EMPTY", "untouched"), "untouched") << "a line ending in = is skipped";
    EXPECT_EQ(Read(s, "NOEQUALS", "x"), "") << "a line without = is a key with an empty value";
    EXPECT_EQ(Read(s, "# serial", "x"), "x") << "comments are not keys";
    EXPECT_EQ(Read(s, std::string(80, 'K'), "none") + Read(s, "B", "none"), "nonenone") << "refused, not cut";
    EXPECT_EQ(s.GetValue(std::string(79, 'k')), std::string(511, 'w')) << "limits themselves pass";
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
        {"a UTF-8 mark before the first key", "\xEF\xBB\xBFSERIAL_PORT=1\n", {{"SERIAL_PORT", "2"}}, "\xEF\xBB\xBFSERIAL_PORT=2\n"},
        // Read back as text after the restart, too.
        {"a file saved as UTF-16 stays UTF-16", Utf16Le("# note\r\nSERIAL_PORT=1\r\nBAUD_RATE=9600\r\n"),
         {{"SERIAL_PORT", "2"}, {"NEW", "x"}}, Utf16Le("# note\r\nSERIAL_PORT=2\r\nBAUD_RATE=9600\r\nNEW=x\r\n")},
    };
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

// A write that cannot be made changes nothing: the file gone (a message, and
// no file made), a directory in the way of the rewrite file (which fails even
// for root, who ignores permissions) and a value too long for the file (an
// event log entry each, naming the writer).
TEST(ConfigWrite, FailedWriteChangesNothingAndSaysWhy)
{
    using Step = void (*)(const std::filesystem::path&);
    struct Case { const char* name; Step before; std::string value; Lines messages; const char* file, *logged; };
    const Case cases[] = {
        {"file gone", [](const auto& d) { std::filesystem::remove(d / "config.txt"); }, "2", {kWriteMessage},
         "(no file)", ""},
        {"rewrite file blocked", [](const auto& d) { std::filesystem::create_directory(d / "configOld.txt"); },
         "2", {}, "SERIAL_PORT=1\n", "{DBConfigParser::SetValue}  \n\t\t\tCannot create "},
        {"value too long", [](const auto&) {}, std::string(512, 'v'), {}, "SERIAL_PORT=1\n",
         "{DBConfigParser::SetValue}"},
    };
    for (const Case& c : cases) {
        RecordingMessages messages;
        TempWorkDir dir("SERIAL_PORT=1\n");
        c.before(dir.Path());
        dir.Settings().SetValue("SERIAL_PORT", c.value);
        EXPECT_EQ(messages.Texts(), c.messages) << c.name;
        EXPECT_EQ(dir.Settings().GetValue("SERIAL_PORT"), "1") << c.name;
        EXPECT_TRUE(dir.Settings().IsLoaded()) << c.name;
        EXPECT_EQ(dir.Exists("config.txt") ? dir.ReadFile("config.txt") : "(no file)", c.file) << c.name;
        EXPECT_NE(dir.ReadFile("eventLog.txt").find(c.logged), std::string::npos) << c.name;
    }
}

std::tm At(int year, int month, int day, int hour, int min, int sec)
{
    std::tm t{};
    std::tie(t.tm_year, t.tm_mon, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec) =
        std::tuple(year - 1900, month - 1, day, hour, min, sec);
    return t;
}

const std::string kStars(64, '*');

// One entry for each hour the twelve-hour clock shows differently.
TEST(EventLogFile, AppendsEntriesToWorkingDirectoryOrWithoutOneToTheCurrentDirectory)
{
    TempWorkDir dir("WORKING_DIRECTORY=sub\n");
    std::filesystem::create_directory(dir.Path() / "sub");
    dir.Restart();
    std::string expected;
    for (auto [hour, shown] : {std::pair{0, "00:05:09 AM"}, {11, "11:05:09 AM"}, {12, "12:05:09 PM"},
                               {13, "01:05:09 PM"}, {23, "11:05:09 PM"}}) {
        dir.Log().SetClock([hour] { return At(2026, 3, 7, hour, 5, 9); });
        dir.Log().WriteError("DBConfigParser::Parse", shown);
        expected += kStars + "\n2026/3/7  " + shown + "  {DBConfigParser::Parse}  \n\t\t\t" + shown + "  \n\n";
    }
    EXPECT_EQ(dir.ReadFile("sub/eventLog.txt"), expected);
    // Without the key the log goes to the current directory, never to "/".
    dir.WriteFile("config.txt", "SERIAL_PORT=1\n");
    dir.Restart();
    EXPECT_EQ(dir.Log().Path(), dir.Path() / "eventLog.txt");
    dir.Log().WriteError("o", "m");
    EXPECT_TRUE(dir.Exists("eventLog.txt"));
}

}  // namespace
