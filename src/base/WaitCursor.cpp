#include "base/WaitCursor.h"

#include <atomic>

namespace {
std::atomic<CursorSink*> g_sink{nullptr};
std::atomic<int> g_depth{0};
}

CursorSink* SetCursorSink(CursorSink* sink) { return g_sink.exchange(sink); }

void ShowWaitCursor()
{
    if (g_depth.fetch_add(1) == 0)
        if (CursorSink* s = g_sink.load()) s->SetWaitCursor(true);
}

void RestoreCursor()
{
    int before = g_depth.load();
    while (before > 0 && !g_depth.compare_exchange_weak(before, before - 1)) {}
    if (before == 1)
        if (CursorSink* s = g_sink.load()) s->SetWaitCursor(false);
}

int WaitCursorDepth() { return g_depth.load(); }
