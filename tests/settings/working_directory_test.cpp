// The folder the program works in: its own per-user folder, filled from the
// installed data, when started away from a config.txt; the current folder
// when that holds one.

#include "WorkingDirectory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// An installed tree (prefix/bin, prefix/share/corvane-utility) and an empty
// home folder, where a desktop menu starts programs.
class UserFolder : public ::testing::Test {
protected:
    UserFolder()
    {
        fs::create_directories(root / "prefix/bin");
        fs::create_directories(root / "prefix/share");
        fs::copy(CORVANE_DATA_DIR, data);
        fs::create_directories(home);
        messages.Clear();  // the scratch folder's own missing config.txt
    }
    WorkingDirectoryPlan Start(const fs::path& current, const char* xdg = nullptr)
    {
        return PrepareWorkingDirectory(current, xdg, home.c_str(), root / "prefix/bin/corvane-utility");
    }
    std::size_t Count(const fs::path& folder) const
    {
        return static_cast<std::size_t>(std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
    }

    RecordingMessages messages;
    TempWorkDir scratch{nullptr};
    fs::path root = scratch.Path(), data = root / "prefix/share/corvane-utility", home = root / "home";
    fs::path own = home / ".local/share/corvane-utility";
};

TEST_F(UserFolder, CreatedFromTheInstalledDataUsedAndRefilledWithMissingHelpFiles)
{
    WorkingDirectoryPlan plan = Start(home);
    EXPECT_EQ(plan.error, "");
    EXPECT_EQ(plan.directory, own);
    EXPECT_TRUE(plan.perUser && plan.created);
    EXPECT_EQ(plan.copied.size(), Count(data));
    EXPECT_EQ(Count(own), Count(data));
    DBConfigParser settings(plan.directory);  // the store as main builds it there
    EXPECT_EQ(settings.GetValue("SERIAL_PORT"), "1");
    EXPECT_TRUE(fs::exists(own / "configBackup.txt"));

    // Later starts, from home or from the folder itself, keep the settings
    // and bring back a deleted help file.
    for (const fs::path& from : {home, own}) {
        scratch.WriteFile("home/.local/share/corvane-utility/config.txt", "SERIAL_PORT=7\n");
        fs::remove(own / "APRSHelp.txt");
        plan = Start(from);
        EXPECT_EQ(plan.directory, own);
        EXPECT_EQ(plan.copied, std::vector<std::string>{"APRSHelp.txt"});
        EXPECT_EQ(scratch.ReadFile("home/.local/share/corvane-utility/config.txt"), "SERIAL_PORT=7\n");
    }
    EXPECT_EQ(Start(home, (root / "xdg").c_str()).directory, root / "xdg/corvane-utility");
    EXPECT_EQ(Start(home, "relative/is/ignored").directory, own);
    EXPECT_EQ(FindShippedData(data / "corvane-utility"), data);  // the build tree: data beside the program
    EXPECT_TRUE(messages.Texts().empty());
}

TEST_F(UserFolder, ConfigInTheCurrentFolderWins)
{
    scratch.WriteFile("home/config.txt", "SERIAL_PORT=2\n");
    WorkingDirectoryPlan plan = Start(home);
    EXPECT_EQ(plan.directory, home);
    EXPECT_FALSE(plan.perUser);
    EXPECT_EQ(Count(home), 1u);
}

TEST_F(UserFolder, WithoutShippedDataItStaysPutAndSaysWhy)
{
    fs::remove_all(data);
    WorkingDirectoryPlan plan = Start(home);
    EXPECT_EQ(plan.directory, fs::path());
    EXPECT_EQ(plan.error, "the shipped config.txt is neither beside " + (root / "prefix/bin/corvane-utility").string() +
                              " nor in ../share/corvane-utility");
}

}  // namespace
