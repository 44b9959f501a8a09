#include "DesktopOpen.h"
#include "ShowTextFile.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

namespace {

struct OpenerRecorder {
    std::vector<std::pair<std::string, bool>> opened;
    OpenerRecorder()
    {
        SetDesktopOpener([this](const std::string& t, bool isFile) {
            opened.emplace_back(t, isFile);
            return OpenResult{true, {}};
        });
    }
    ~OpenerRecorder() { SetDesktopOpener({}); }
};

TEST(ShowTextFile, OpensFileOfDirectoryCurrentAtTheCall)
{
    TempWorkDir dir("SERIAL_PORT=1\n");
    OpenerRecorder opener;
    std::filesystem::create_directory(dir.Path() / "later dir");
    dir.WriteFile("later dir/ALOHAHelp.txt", "help");
    std::filesystem::current_path(dir.Path() / "later dir");
    ShowTextFile("ALOHAHelp.txt");
    ASSERT_EQ(opener.opened.size(), 1u);
    EXPECT_EQ(opener.opened[0].first, (dir.Path() / "later dir" / "ALOHAHelp.txt").string());
    EXPECT_TRUE(opener.opened[0].second);
}

TEST(ShowTextFile, MissingFileShowsNothing)
{
    RecordingMessages messages;
    TempWorkDir dir("SERIAL_PORT=1\n");
    OpenerRecorder opener;
    ShowTextFile("APRSHelp.txt");
    EXPECT_TRUE(opener.opened.empty());
    EXPECT_TRUE(messages.Texts().empty());
}

}  // namespace
