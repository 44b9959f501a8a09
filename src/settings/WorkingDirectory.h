#pragma once
// The folder the program works in. Started where config.txt lies, it stays
// there; started anywhere else (a desktop menu starts it in the home
// folder) it works in its own per-user folder, filled from the data shipped
// with the program the first time and whenever a help file has gone.

#include <filesystem>
#include <string>
#include <vector>

struct WorkingDirectoryPlan {
    // The folder to work in; empty when the program should stay where it is
    // (the reason is then in error).
    std::filesystem::path directory;
    bool perUser = false;
    bool created = false;
    std::vector<std::string> copied;  // file names copied from the shipped data
    std::string error;                // empty when everything went as planned
};

// Name of the per-user folder inside the user's data folder.
inline constexpr const char* kPerUserFolderName = "corvane-utility";

// $XDG_DATA_HOME/corvane-utility, or ~/.local/share/corvane-utility when
// XDG_DATA_HOME is unset, empty or relative (such a value is to be ignored).
// Empty when neither gives an absolute folder.
std::filesystem::path PerUserDirectory(const char* xdgDataHome, const char* home);

// The shipped config.txt and help files: beside the executable in the build
// tree, ../share/corvane-utility from bin/ once installed. Empty when
// neither holds config.txt.
std::filesystem::path FindShippedData(const std::filesystem::path& executable);

// Decides the working folder and prepares it (creates it and copies what is
// missing), without changing the process's current directory.
WorkingDirectoryPlan PrepareWorkingDirectory(const std::filesystem::path& current,
                                             const char* xdgDataHome, const char* home,
                                             const std::filesystem::path& executable);

// The one call at start-up, before the settings store is built: prepares
// the folder from the real environment and makes it current. A failure is
// written to stderr and leaves the current directory as it was, so the
// settings store then reports the missing config.txt as it always has.
WorkingDirectoryPlan EnterWorkingDirectory();
