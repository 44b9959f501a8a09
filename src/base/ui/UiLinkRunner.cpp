#include "base/ui/UiLinkRunner.h"

#include "base/LinkWorker.h"
#include "settings/EventLog.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <condition_variable>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <utility>
#include <vector>

namespace {

// A call carried over to the UI thread. done and error are guarded by the
// link worker's lock, which the waiting thread sleeps on.
struct UiCall {
    std::function<void()> fn;
    bool wait = false;
    bool done = false;
    std::exception_ptr error;
};

// The one route to the UI thread: calls queue here in the order they are
// made, and one queued invocation on the application object (which any
// event loop of the UI thread runs, a form's exec among them) drains them.
std::mutex g_mutex;
std::condition_variable g_queued;
std::deque<std::shared_ptr<UiCall>> g_calls;
bool g_rung = false;  // a drain is on its way or running
int g_waiting = 0;    // UI loops waiting for a sequence
// The first failure of a call that nobody waited for; the waiting sequence's
// caller gets it, since it must not unwind through Qt's event loop.
std::exception_ptr g_postedError;
// UI thread only: how many calls that a thread waits for are running. A
// sequence started inside one is nested in the waiting job.
int g_insideWaitedCall = 0;

void RunCall(UiCall& call)
{
    std::exception_ptr error;
    if (call.wait) ++g_insideWaitedCall;
    try {
        call.fn();
    } catch (...) {
        error = std::current_exception();
    }
    if (call.wait) {
        --g_insideWaitedCall;
        SignalLinkWorker([&] {
            call.error = error;
            call.done = true;
        });
        return;
    }
    if (!error) return;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        if (g_waiting > 0) {
            if (!g_postedError) g_postedError = error;
            return;
        }
    }
    // No sequence waits to take the failure back: it is noted, not let
    // through Qt's event loop.
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        Log().WriteError("Window", std::string("a call to the window failed: ") + e.what());
    } catch (...) {
        Log().WriteError("Window", "a call to the window failed");
    }
}

// Runs the queued calls, oldest first, one at a time: a call that opens a
// form may drain the later ones from the form's loop.
void DrainCalls()
{
    for (;;) {
        std::shared_ptr<UiCall> call;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (g_calls.empty()) {
                g_rung = false;
                return;
            }
            call = g_calls.front();
            g_calls.pop_front();
        }
        RunCall(*call);
    }
}

void Enqueue(std::shared_ptr<UiCall> call)
{
    bool ring = false;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_calls.push_back(std::move(call));
        ring = !std::exchange(g_rung, true);
    }
    g_queued.notify_all();
    if (ring) QMetaObject::invokeMethod(qApp, [] { DrainCalls(); }, Qt::QueuedConnection);
}

bool OnUiThread()
{
    return qApp && QThread::currentThread() == qApp->thread();
}

bool IsUserInput(const QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ShortcutOverride:
    case QEvent::Shortcut:
    case QEvent::Wheel:
    case QEvent::ContextMenu:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
    case QEvent::TabletPress:
    case QEvent::TabletRelease:
    case QEvent::InputMethod:
        return true;
    default:
        return false;
    }
}

// Discards user input to the windows that were open when the sequence
// started, and their closing by the window manager. Windows opened during
// the sequence (its messages and child forms) take input as usual.
class InputBlocker : public QObject {
public:
    InputBlocker()
    {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            widgets_.push_back(w);
            if (QWindow* handle = w->windowHandle()) windows_.push_back(handle);
        }
        qApp->installEventFilter(this);
    }
    ~InputBlocker() override { qApp->removeEventFilter(this); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        const bool closing = event->type() == QEvent::Close && event->spontaneous();
        if (!closing && !IsUserInput(event)) return false;
        if (auto* w = qobject_cast<QWidget*>(watched)) return Blocked(w->window());
        if (auto* win = qobject_cast<QWindow*>(watched)) return Blocked(win);
        return false;
    }

private:
    template <class T>
    static bool In(const std::vector<QPointer<T>>& list, const T* item)
    {
        for (const auto& p : list)
            if (p == item) return true;
        return false;
    }
    bool Blocked(const QWidget* window) const { return In(widgets_, window); }
    bool Blocked(const QWindow* window) const { return In(windows_, window); }

    std::vector<QPointer<QWidget>> widgets_;
    std::vector<QPointer<QWindow>> windows_;
};

}  // namespace

void RunSequenceKeepingUiAlive(const std::function<void()>& sequence)
{
    if (!OnUiThread()) {
        sequence();
        return;
    }
    // The worker ends before the application object goes.
    static const bool stopsWithTheApplication = (qAddPostRoutine([] { StopLinkWorker(); }), true);
    (void)stopsWithTheApplication;

    InputBlocker blocker;
    QEventLoop loop;
    // Set by the sequence's last call, on this thread.
    bool finished = false;
    std::exception_ptr failure;
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_waiting;
    }
    auto stopWaiting = [&] {
        std::lock_guard<std::mutex> lock(g_mutex);
        --g_waiting;
        if (!failure) std::swap(failure, g_postedError);
    };
    const bool posted = PostToLinkWorker(
        [&] {
            std::exception_ptr error;
            try {
                sequence();
            } catch (...) {
                error = std::current_exception();
            }
            // Behind the sequence's own calls on the same route.
            auto end = std::make_shared<UiCall>();
            end->fn = [&, error] {
                failure = error;
                finished = true;
                loop.quit();
            };
            Enqueue(std::move(end));
        },
        g_insideWaitedCall > 0);
    if (!posted) {
        stopWaiting();
        // No thread to be had: a frozen window beats not talking at all.
        sequence();
        return;
    }
    // Woken, not polled: the UI thread sleeps until a call or the end arrives.
    loop.exec();
    while (!finished) {
        // The application is quitting and its loops no longer turn: take the
        // calls here until the sequence has ended.
        {
            std::unique_lock<std::mutex> lock(g_mutex);
            g_queued.wait(lock, [] { return !g_calls.empty(); });
        }
        DrainCalls();
    }
    stopWaiting();
    if (failure) std::rethrow_exception(failure);
}

void InvokeOnUiThread(const std::function<void()>& fn)
{
    if (!qApp || OnUiThread()) {
        fn();
        return;
    }
    auto call = std::make_shared<UiCall>();
    call->fn = [&fn] { fn(); };
    call->wait = true;
    Enqueue(call);
    WaitOnLinkWorker([&] { return call->done; });
    if (call->error) std::rethrow_exception(call->error);
}

void PostToUiThread(std::function<void()> fn)
{
    if (!qApp || OnUiThread()) {
        fn();
        return;
    }
    auto call = std::make_shared<UiCall>();
    call->fn = std::move(fn);
    Enqueue(std::move(call));
}

bool LinkSequenceRunning()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_waiting > 0;
}
