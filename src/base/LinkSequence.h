#pragma once
// Exchanges with the logger take seconds (the device's pauses alone). The
// window must keep painting and answering the desktop meanwhile, yet take no
// user input, as if the sequence were a modal form. Forms therefore run every
// sequence that talks to the logger through RunLink: the UI installs a runner
// that hands the sequence to the one link worker thread while the UI thread
// waits in an event loop that lets no user input through. Without a runner (core tests,
// the simulator) the sequence runs inline.
//
// A sequence must not touch widgets. Messages (ShowMessage), child forms
// (RunChildForm) and the wait cursor it uses are carried over to the UI
// thread by their seams, and the sequence waits for their answer.

#include <functional>
#include <optional>
#include <type_traits>
#include <utility>

using LinkSequenceRunner = std::function<void(const std::function<void()>& sequence)>;

// Installs the runner; returns the previous one. An empty runner: inline.
LinkSequenceRunner SetLinkSequenceRunner(LinkSequenceRunner runner);

void RunLinkSequence(const std::function<void()>& sequence);

// RunLinkSequence for a sequence with a result.
template <class F>
auto RunLink(F&& sequence) -> std::invoke_result_t<F&>
{
    using Result = std::invoke_result_t<F&>;
    if constexpr (std::is_void_v<Result>) {
        RunLinkSequence([&] { sequence(); });
    } else {
        std::optional<Result> result;
        RunLinkSequence([&] { result.emplace(sequence()); });
        return std::move(*result);
    }
}

// Runs fn on the UI thread and waits for it: the seams' way to show a message
// or a form from inside a sequence. Inline when already on the UI thread or
// when no UI has installed a way there.
using UiThreadInvoker = std::function<void(const std::function<void()>& fn)>;
UiThreadInvoker SetUiThreadInvoker(UiThreadInvoker invoker);
void OnUiThread(const std::function<void()>& fn);
