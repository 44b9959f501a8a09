#include "base/DesktopOpen.h"

#include <memory>
#include <mutex>

namespace {
std::mutex g_mutex;
DesktopOpener g_opener;
}

DesktopOpener SetDesktopOpener(DesktopOpener opener)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    DesktopOpener previous = std::move(g_opener);
    g_opener = std::move(opener);
    return previous;
}

OpenResult OpenWithDesktop(const std::string& target, bool isFile)
{
    DesktopOpener opener;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        opener = g_opener;
    }
    if (!opener) return {false, "no desktop opener"};
    return opener(target, isFile);
}
