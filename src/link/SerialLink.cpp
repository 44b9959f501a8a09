#include "SerialLink.h"

#include "LinkTermios.h"

#include <atomic>

namespace {

std::atomic<LinkBackend*> g_backend{nullptr};

LinkBackend& Backend()
{
    if (LinkBackend* b = g_backend.load()) return *b;
    static TermiosLink termios;
    return termios;
}

}  // namespace

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
    Backend().PutByte(byte);
}

int LinkGetByte()
{
    return Backend().GetByte();
}

int LinkPutString(const char* text)
{
    return Backend().PutString(text);
}

void LinkFlush()
{
    Backend().Flush();
}

PortOpenFault LinkLastOpenFault()
{
    return Backend().LastOpenFault();
}
