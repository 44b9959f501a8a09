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

// A missing file shows nothing; a present one is handed to the desktop by
// its full path in the directory current at the call.
TEST(ShowTextFile, OpensFileOfDirectoryCurrentAtTheCallAndAMissingOneNot)
{
    RecordingMessages messages;
    TempWorkDir dir("SERIAL_PORT=1\n");
    OpenerRecorder opener;
    std::filesystem::create_directory(dir.Path() / "later dir");
    dir.WriteFile("later dir/ALOHAHelp.txt", "help");
    std::filesystem::current_path(dir.Path() / "later dir");
    ShowTextFile("APRSHelp.txt");
    ShowTextFile("ALOHAHelp.txt");
    EXPECT_EQ(opener.opened, (std::vector<std::pair<std::string, bool>>{
                                 {(dir.Path() / "later dir" / "ALOHAHelp.txt").string(), true}}));
    EXPECT_TRUE(messages.Texts().empty());
}

}  // namespace
