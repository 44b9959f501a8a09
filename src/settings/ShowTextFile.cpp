#include "settings/ShowTextFile.h"

#include "base/DesktopOpen.h"

#include <filesystem>

namespace fs = std::filesystem;

void ShowTextFile(const std::string& fileName)
{
    std::error_code ec;
    const fs::path dir = fs::current_path(ec);
    if (ec) return;
    const fs::path file = dir / fileName;
    if (!fs::is_regular_file(file, ec)) return;
    // One path, handed to the desktop as a file; no shell ever sees it.
    OpenWithDesktop(file.string(), true);
}
