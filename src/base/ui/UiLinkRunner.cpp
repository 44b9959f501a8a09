#include "base/ui/UiLinkRunner.h"

#include "settings/EventLog.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace {

struct UiCall {
    std::function<void()> fn;
    bool wait = false;
    bool done = false;
    std::exception_ptr error;
};

std::mutex g_mutex;
std::condition_variable g_done;
std::deque<std::shared_ptr<UiCall>> g_calls;
int g_pollers = 0;  // UI loops waiting for a sequence, which run the calls
// The first failure of a call that nobody waited for; the waiting sequence's
// caller gets it, since it must not unwind through Qt's event loop.
std::exception_ptr g_postedError;

// The waiting loops' wake-ups: each loop sleeps on an eventfd of its own,
// which a worker rings when it hands a call over or finishes. The calls
// themselves pass through g_mutex, so the thread checkers see every
// hand-over; an eventfd carries no data.
std::vector<int> g_wakeFds;  // under g_mutex

void Ring(int fd)
{
    const std::uint64_t one = 1;
    while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
    }
}

void Drain(int fd)
{
    std::uint64_t count = 0;
    while (::read(fd, &count, sizeof count) < 0 && errno == EINTR) {
    }
}

// False when no UI loop is there to run the call.
bool Enqueue(const std::shared_ptr<UiCall>& call)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_pollers == 0) return false;
    g_calls.push_back(call);
    for (int fd : g_wakeFds) Ring(fd);
    return true;
}

void RunQueuedCalls()
{
    for (;;) {
        std::shared_ptr<UiCall> call;
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (g_calls.empty()) return;
            call = g_calls.front();
            g_calls.pop_front();
        }
        std::exception_ptr error;
        try {
            call->fn();
        } catch (...) {
            error = std::current_exception();
        }
        if (!call->wait) {
            std::lock_guard<std::mutex> lock(g_mutex);
            if (error && !g_postedError) g_postedError = error;
            continue;
        }
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            call->error = error;
            call->done = true;
        }
        g_done.notify_all();
    }
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
    const int wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wakeFd < 0) {
        // Nothing to sleep on: a frozen window beats not talking at all.
        sequence();
        return;
    }
    InputBlocker blocker;
    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    // Woken, not polled: the UI thread sleeps until a call or the end arrives.
    QSocketNotifier woken(wakeFd, QSocketNotifier::Read);
    QObject::connect(&woken, &QSocketNotifier::activated, &loop, [&] {
        Drain(wakeFd);
        RunQueuedCalls();
        if (finished.load(std::memory_order_acquire)) loop.quit();
    });
    auto stopWaiting = [&] {
        std::lock_guard<std::mutex> lock(g_mutex);
        --g_pollers;
        std::erase(g_wakeFds, wakeFd);
        if (!failure) std::swap(failure, g_postedError);
    };
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_pollers;
        g_wakeFds.push_back(wakeFd);
    }
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                sequence();
            } catch (...) {
                failure = std::current_exception();
            }
            finished.store(true, std::memory_order_release);
            Ring(wakeFd);
        });
    } catch (const std::system_error&) {
        stopWaiting();
        ::close(wakeFd);
        // No thread to be had: a frozen window beats not talking at all.
        sequence();
        return;
    }
    loop.exec();
    worker.join();
    RunQueuedCalls();
    stopWaiting();
    woken.setEnabled(false);
    ::close(wakeFd);
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
    if (!Enqueue(call)) {
        QMetaObject::invokeMethod(qApp, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
        return;
    }
    std::unique_lock<std::mutex> lock(g_mutex);
    g_done.wait(lock, [&] { return call->done; });
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
    if (!Enqueue(call))
        QMetaObject::invokeMethod(qApp, [call] {
            // No sequence waits to take a failure back: it is noted, not
            // let through Qt's event loop.
            try {
                call->fn();
            } catch (const std::exception& e) {
                Log().WriteError("Window", std::string("a call to the window failed: ") + e.what());
            } catch (...) {
                Log().WriteError("Window", "a call to the window failed");
            }
        }, Qt::QueuedConnection);
}

bool LinkSequenceRunning()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_pollers > 0;
}
