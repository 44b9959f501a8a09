#pragma once
// Handing a file or a web address to the desktop (text viewer, browser).
// The UI installs the real opener; without one nothing opens.

#include <functional>
#include <string>

struct OpenResult {
    bool ok = false;
    std::string reason;  // the system's words when !ok
};

// target: an absolute file path (isFile) or a web address.
using DesktopOpener = std::function<OpenResult(const std::string& target, bool isFile)>;

DesktopOpener SetDesktopOpener(DesktopOpener opener);
OpenResult OpenWithDesktop(const std::string& target, bool isFile);
