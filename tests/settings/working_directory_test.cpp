// The folder the program works in: its own per-user folder, filled from the
// installed data, when started away from a config.txt; the current folder
// when that holds one.

#include "settings/WorkingDirectory.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {

// An installed tree and an empty home folder, where a desktop menu starts
// programs.
TEST(UserFolder, CreatedFromTheInstalledDataUsedRefilledAndBeatenByALocalConfig)
{
    RecordingMessages messages;  // the scratch folder's own config.txt is missing
    TempWorkDir scratch(nullptr);
    const fs::path root = scratch.Path(), data = root / "usr/share/corvane-utility", home = root / "home",
                   own = home / ".local/share/corvane-utility", exe = root / "usr/bin/corvane-utility";
    fs::create_directories(root / "usr/share");
    fs::copy(CORVANE_DATA_DIR, data);
    fs::create_directories(home);
    // A build tree keeps other text files beside the data: they are not the program's.
    const auto shipped = std::distance(fs::directory_iterator(data), {});
    for (const char* other : {"CMakeCache.txt", "install_manifest.txt"})
        scratch.WriteFile((data / other).string(), "x");

    WorkingDirectoryPlan plan = PrepareWorkingDirectory(home, nullptr, home.c_str(), exe);
    EXPECT_EQ(std::make_tuple(plan.directory, plan.created, plan.error), std::make_tuple(own, true, std::string()));
    EXPECT_EQ(std::distance(fs::directory_iterator(own), {}), shipped);
    EXPECT_FALSE(fs::exists(own / "CMakeCache.txt") || fs::exists(own / "install_manifest.txt"));
    // The store main builds there, from the installed config.txt, is the
    // installed program's start test.

    // Later starts, from home or from the folder itself, keep the settings
    // and bring back a deleted help file.
    for (const fs::path& from : {home, own}) {
        scratch.WriteFile("home/.local/share/corvane-utility/config.txt", "SERIAL_PORT=7\n");
        fs::remove(own / "APRSHelp.txt");
        plan = PrepareWorkingDirectory(from, "", home.c_str(), exe);
        EXPECT_EQ(plan.directory, own);
        EXPECT_EQ(plan.copied, std::vector<std::string>{"APRSHelp.txt"});
        EXPECT_EQ(scratch.ReadFile("home/.local/share/corvane-utility/config.txt"), "SERIAL_PORT=7\n");
    }
    const fs::path file = data / "config.txt";
    EXPECT_EQ(PrepareWorkingDirectory(home, file.c_str(), home.c_str(), exe).error,
              "cannot create " + (file / "corvane-utility").string() + ": Not a directory");

    scratch.WriteFile("home/config.txt", "SERIAL_PORT=2\n");
    EXPECT_EQ(PrepareWorkingDirectory(home, nullptr, home.c_str(), exe).directory, home);
}

}  // namespace
