#include "link/SerialLink.h"

#include "link/LinkTermios.h"

#include <atomic>
#include <cstring>
#include <memory>
#include <mutex>

namespace {

std::atomic<LinkBackend*> g_backend{nullptr};

LinkBackend& Backend()
{
    if (LinkBackend* b = g_backend.load()) return *b;
    static TermiosLink termios;
    return termios;
}

std::mutex g_tapMutex;
std::shared_ptr<const LinkTap> g_tap;
std::atomic<bool> g_tapped{false};

void Tap(bool sent, const char* bytes, std::size_t count)
{
    if (!g_tapped.load()) return;
    std::shared_ptr<const LinkTap> tap;
    {
        std::lock_guard<std::mutex> lock(g_tapMutex);
        tap = g_tap;
    }
    if (tap && count > 0) (*tap)(sent, bytes, count);
}

}  // namespace

LinkTap SetLinkTap(LinkTap tap)
{
    std::lock_guard<std::mutex> lock(g_tapMutex);
    LinkTap previous = g_tap ? *g_tap : LinkTap{};
    g_tap = tap ? std::make_shared<const LinkTap>(std::move(tap)) : nullptr;
    g_tapped.store(g_tap != nullptr);
    return previous;
}

LinkBackend* SetLinkBackend(LinkBackend* backend)
{
    return g_backend.exchange(backend);
}

int LinkOpen(int port, int baud)
{
    return Backend().Open(port, baud);
}

void LinkClose()
{
    Backend().Close();
}

void LinkPutByte(int byte)
{
    const char c = static_cast<char>(byte);
    Tap(true, &c, 1);
    Backend().PutByte(byte);
}

int LinkGetByte()
{
    const int byte = Backend().GetByte();
    if (byte >= 0) {
        const char c = static_cast<char>(byte);
        Tap(false, &c, 1);
    }
    return byte;
}

int LinkPutString(const char* text)
{
    if (text) Tap(true, text, std::strlen(text));
    return Backend().PutString(text);
}

void LinkFlush()
{
    // Bytes thrown away are part of the exchange (a late reply, line noise):
    // a transcript shows them.
    if (g_tapped.load()) {
        const std::string discarded = Backend().TakePending();
        Tap(false, discarded.data(), discarded.size());
    }
    Backend().Flush();
}

PortOpenFault LinkLastOpenFault()
{
    return Backend().LastOpenFault();
}
