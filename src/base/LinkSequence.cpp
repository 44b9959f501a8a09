#include "base/LinkSequence.h"

#include <memory>
#include <mutex>

namespace {

template <class Fn>
struct Slot {
    std::mutex mutex;
    std::shared_ptr<Fn> fn;

    Fn Set(Fn next)
    {
        std::lock_guard<std::mutex> lock(mutex);
        Fn previous = fn ? *fn : Fn{};
        fn = next ? std::make_shared<Fn>(std::move(next)) : nullptr;
        return previous;
    }
    std::shared_ptr<Fn> Get()
    {
        std::lock_guard<std::mutex> lock(mutex);
        return fn;
    }
};

Slot<LinkSequenceRunner>& Runner()
{
    static Slot<LinkSequenceRunner> slot;
    return slot;
}

Slot<UiThreadInvoker>& Invoker()
{
    static Slot<UiThreadInvoker> slot;
    return slot;
}

}  // namespace

LinkSequenceRunner SetLinkSequenceRunner(LinkSequenceRunner runner)
{
    return Runner().Set(std::move(runner));
}

void RunLinkSequence(const std::function<void()>& sequence)
{
    if (auto runner = Runner().Get()) {
        (*runner)(sequence);
        return;
    }
    sequence();
}

UiThreadInvoker SetUiThreadInvoker(UiThreadInvoker invoker)
{
    return Invoker().Set(std::move(invoker));
}

void OnUiThread(const std::function<void()>& fn)
{
    if (auto invoker = Invoker().Get()) {
        (*invoker)(fn);
        return;
    }
    fn();
}
