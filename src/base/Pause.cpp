#include "base/Pause.h"

#include <chrono>
#include <memory>
#include <mutex>
#include <thread>

namespace {
std::mutex g_mutex;
std::shared_ptr<PauseFunction> g_fn;
}

void PauseMs(int milliseconds)
{
    PauseMs(milliseconds, {});
}

void PauseMs(int milliseconds, const std::function<void(std::chrono::steady_clock::time_point until)>& wait)
{
    std::shared_ptr<PauseFunction> fn;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        fn = g_fn;
    }
    if (fn && *fn) {
        (*fn)(milliseconds);
        return;
    }
    if (milliseconds <= 0) return;
    if (wait)
        wait(std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds));
    else
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

PauseFunction SetPauseFunction(PauseFunction fn)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    PauseFunction previous = g_fn ? *g_fn : PauseFunction{};
    g_fn = fn ? std::make_shared<PauseFunction>(std::move(fn)) : nullptr;
    return previous;
}
