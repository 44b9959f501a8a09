#include "settings/WorkingDirectory.h"

#include <cstdio>
#include <cstdlib>
#include <pwd.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr const char* kConfigFile = "config.txt";

bool IsFile(const fs::path& p)
{
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

bool SameFolder(const fs::path& a, const fs::path& b)
{
    std::error_code ec;
    return fs::equivalent(a, b, ec);
}

// The help files the forms open. Only these and config.txt are copied: the
// data may sit beside the executable in a build tree, among its other
// text files (CMakeCache.txt, install_manifest.txt ...).
constexpr const char* kHelpFiles[] = {
    "ALOHAHelp.txt",           "APRSHelp.txt",           "IrrigationHelp.txt",
    "IrrigationAdvancedHelp.txt", "IrrigationCircuitTestHelp.txt", "AlarmOutputModuleHelp.txt",
    "AOMStationConfigHelp.txt", "AOMSelectUnitsHelp.txt", "AOMAdvancedOptionsHelp.txt"};

// config.txt first, then every help file shipped; each only when the folder
// lacks it, so the user's settings are never replaced.
bool CopyMissing(const fs::path& data, const fs::path& folder, WorkingDirectoryPlan& plan)
{
    std::vector<fs::path> files{data / kConfigFile};
    for (const char* name : kHelpFiles)
        if (IsFile(data / name)) files.push_back(data / name);
    std::error_code ec;
    for (const fs::path& from : files) {
        const fs::path to = folder / from.filename();
        if (fs::exists(to, ec)) continue;
        if (!fs::copy_file(from, to, ec)) {
            plan.error = "cannot copy " + from.string() + " to " + folder.string() + ": " + ec.message();
            return false;
        }
        plan.copied.push_back(from.filename().string());
    }
    return true;
}

}  // namespace

fs::path PerUserDirectory(const char* xdgDataHome, const char* home)
{
    if (xdgDataHome && *xdgDataHome && fs::path(xdgDataHome).is_absolute())
        return fs::path(xdgDataHome) / kPerUserFolderName;
    if (home && *home && fs::path(home).is_absolute())
        return fs::path(home) / ".local" / "share" / kPerUserFolderName;
    return {};
}

fs::path FindShippedData(const fs::path& executable)
{
    // The executable's path is the kernel's own (/proc/self/exe), free of
    // links, so ".." can be taken lexically.
    const fs::path bin = executable.parent_path();
    for (const fs::path& candidate : {bin, (bin / ".." / "share" / kPerUserFolderName).lexically_normal()})
        if (IsFile(candidate / kConfigFile)) return candidate;
    return {};
}

WorkingDirectoryPlan PrepareWorkingDirectory(const fs::path& current, const char* xdgDataHome,
                                             const char* home, const fs::path& executable)
{
    WorkingDirectoryPlan plan;
    const fs::path own = PerUserDirectory(xdgDataHome, home);
    // A config.txt where the program starts wins, as it always has; only
    // the per-user folder itself gets its missing help files back.
    if (IsFile(current / kConfigFile) && !(!own.empty() && SameFolder(current, own))) {
        plan.directory = current;
        return plan;
    }
    if (own.empty()) {
        plan.error = "neither XDG_DATA_HOME nor HOME names a folder for the settings";
        return plan;
    }
    std::error_code ec;
    plan.created = fs::create_directories(own, ec);
    if (ec) {
        plan.error = "cannot create " + own.string() + ": " + ec.message();
        return plan;
    }
    const fs::path data = FindShippedData(executable);
    if (data.empty()) {
        // Without the shipped data an existing folder still works.
        if (IsFile(own / kConfigFile)) {
            plan.directory = own;
            plan.perUser = true;
            return plan;
        }
        plan.error = "the shipped config.txt is neither beside " + executable.string() +
                     " nor in ../share/" + kPerUserFolderName;
        return plan;
    }
    if (!CopyMissing(data, own, plan) && !IsFile(own / kConfigFile)) return plan;
    plan.directory = own;
    plan.perUser = true;
    return plan;
}

WorkingDirectoryPlan EnterWorkingDirectory()
{
    std::error_code ec;
    const fs::path current = fs::current_path(ec);
    const fs::path executable = fs::read_symlink("/proc/self/exe", ec);
    const char* home = std::getenv("HOME");
    std::string pwHome;
    if (!home || !*home) {
        if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir) pwHome = pw->pw_dir;
        home = pwHome.c_str();
    }
    WorkingDirectoryPlan plan = PrepareWorkingDirectory(current, std::getenv("XDG_DATA_HOME"), home, executable);
    if (!plan.directory.empty() && plan.directory != current) {
        fs::current_path(plan.directory, ec);
        if (ec) {
            plan.error = "cannot change to " + plan.directory.string() + ": " + ec.message();
            plan.directory.clear();
        }
    }
    if (!plan.error.empty()) std::fprintf(stderr, "corvane-utility: %s\n", plan.error.c_str());
    return plan;
}
