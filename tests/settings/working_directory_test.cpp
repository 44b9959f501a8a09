// The folder the program works in: its own per-user folder filled from the
// installed data when started away from a config.txt, the current folder
// when that holds one.

#include "WorkingDirectory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kShipped = {
    "ALOHAHelp.txt", "AOMAdvancedOptionsHelp.txt", "AOMSelectUnitsHelp.txt",
    "AOMStationConfigHelp.txt", "APRSHelp.txt", "AlarmOutputModuleHelp.txt", "IrrigationAdvancedHelp.txt",
    "IrrigationCircuitTestHelp.txt", "IrrigationHelp.txt", "config.txt"};

// An installed tree (prefix/bin, prefix/share/corvane-utility) and an empty
// home folder inside a scratch folder.
class UserFolder : public ::testing::Test {
protected:
    UserFolder()
    {
        fs::create_directories(root / "prefix/bin");
        fs::create_directories(root / "prefix/share");
        fs::copy(CORVANE_DATA_DIR, root / "prefix/share/corvane-utility");
        fs::create_directories(home);
        fs::create_directories(current);
        messages.Clear();  // the scratch folder's own missing config.txt
    }
    WorkingDirectoryPlan Start(const char* xdg = nullptr)
    {
        return PrepareWorkingDirectory(current, xdg, home.c_str(), root / "prefix/bin/corvane-utility");
    }
    std::vector<std::string> Names(const fs::path& folder) const
    {
        std::vector<std::string> names;
        for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    RecordingMessages messages;
    TempWorkDir scratch{nullptr};
    fs::path root = scratch.Path();
    fs::path home = root / "home";
    fs::path current = root / "home";  // a desktop menu starts programs in the home folder
    fs::path own = home / ".local/share/corvane-utility";
};

TEST_F(UserFolder, FirstStartFillsTheFolderFromTheInstalledDataAndWorksThere)
{
    WorkingDirectoryPlan plan = Start();
    EXPECT_EQ(plan.error, "");
    EXPECT_EQ(plan.directory, own);
    EXPECT_TRUE(plan.perUser && plan.created);
    EXPECT_EQ(plan.copied.size(), kShipped.size());
    EXPECT_EQ(Names(own), kShipped);
    EXPECT_EQ(scratch.ReadFile("prefix/share/corvane-utility/config.txt"),
              scratch.ReadFile("home/.local/share/corvane-utility/config.txt"));

    // The store and the log built there keep their files there.
    fs::current_path(plan.directory);
    DBConfigParser settings(plan.directory);
    EXPECT_EQ(settings.GetValue("SERIAL_PORT"), "1");
    settings.SetValue("SERIAL_PORT", 4);
    EXPECT_TRUE(fs::exists(own / "configBackup.txt"));
    EXPECT_NE(scratch.ReadFile("home/.local/share/corvane-utility/config.txt").find("SERIAL_PORT=4\r\n"),
              std::string::npos);
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(UserFolder, LaterStartsKeepTheSettingsAndBringBackMissingHelpFiles)
{
    Start();
    scratch.WriteFile("home/.local/share/corvane-utility/config.txt", "SERIAL_PORT=7\n");
    fs::remove(own / "APRSHelp.txt");
    // Started inside the folder itself, the help file still comes back.
    for (const fs::path& from : {home, own}) {
        current = from;
        WorkingDirectoryPlan plan = Start();
        EXPECT_EQ(plan.directory, own);
        EXPECT_FALSE(plan.created);
        EXPECT_EQ(scratch.ReadFile("home/.local/share/corvane-utility/config.txt"), "SERIAL_PORT=7\n");
        EXPECT_EQ(Names(own), kShipped);
        fs::remove(own / "APRSHelp.txt");
    }
}

TEST_F(UserFolder, ConfigInTheCurrentFolderWins)
{
    current = root / "station";
    fs::create_directories(current);
    scratch.WriteFile("station/config.txt", "SERIAL_PORT=2\n");
    WorkingDirectoryPlan plan = Start();
    EXPECT_EQ(plan.directory, current);
    EXPECT_FALSE(plan.perUser);
    EXPECT_TRUE(plan.copied.empty());
    EXPECT_EQ(Names(current), std::vector<std::string>{"config.txt"});
    EXPECT_FALSE(fs::exists(home / ".local"));
}

TEST_F(UserFolder, DataFolderFromXdgAndWhereTheDataLies)
{
    EXPECT_EQ(Start((root / "xdg").c_str()).directory, root / "xdg/corvane-utility");
    EXPECT_EQ(Start("relative/ignored").directory, own);
    EXPECT_EQ(PerUserDirectory(nullptr, ""), fs::path());
    EXPECT_EQ(PerUserDirectory("", "/home/ann"), fs::path("/home/ann/.local/share/corvane-utility"));

    // The build tree holds the data beside the program.
    EXPECT_EQ(FindShippedData(root / "prefix/share/corvane-utility/corvane-utility"),
              root / "prefix/share/corvane-utility");
    EXPECT_EQ(FindShippedData(root / "prefix/bin/corvane-utility"), root / "prefix/share/corvane-utility");
    EXPECT_EQ(FindShippedData(root / "home/corvane-utility"), fs::path());
}

TEST_F(UserFolder, WithoutShippedDataOrHomeItStaysPutAndSaysWhy)
{
    fs::remove_all(root / "prefix/share");
    WorkingDirectoryPlan plan = Start();
    EXPECT_EQ(plan.directory, fs::path());
    EXPECT_EQ(plan.error, "the shipped config.txt is neither beside " + (root / "prefix/bin/corvane-utility").string() +
                              " nor in ../share/corvane-utility");
    plan = PrepareWorkingDirectory(current, nullptr, nullptr, root / "prefix/bin/corvane-utility");
    EXPECT_EQ(plan.error, "neither XDG_DATA_HOME nor HOME names a folder for the settings");
}

}  // namespace
