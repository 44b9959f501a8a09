#include "UiLinkRunner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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

// How often the UI thread looks for calls from a running sequence.
constexpr int kPollMs = 2;

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

// False when no UI loop is there to run the call.
bool Enqueue(const std::shared_ptr<UiCall>& call)
{
    std::lock_guard<std::mutex> lock(g_mutex);
    if (g_pollers == 0) return false;
    g_calls.push_back(call);
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
            if (error) std::rethrow_exception(error);
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
    InputBlocker blocker;
    QEventLoop loop;
    std::exception_ptr failure;
    std::atomic<bool> finished{false};
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        ++g_pollers;
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
        });
    } catch (const std::system_error&) {
        {
            std::lock_guard<std::mutex> lock(g_mutex);
            --g_pollers;
        }
        // No thread to be had: a frozen window beats not talking at all.
        sequence();
        return;
    }
    // The worker hands its calls over through the queue, not through Qt's
    // cross-thread events, so every hand-over is a plain mutex that the
    // thread checkers see; the loop looks for them at a short interval.
    QTimer poll;
    poll.setInterval(kPollMs);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        RunQueuedCalls();
        if (finished.load(std::memory_order_acquire)) {
            RunQueuedCalls();
            loop.quit();
        }
    });
    poll.start();
    loop.exec();
    poll.stop();
    worker.join();
    RunQueuedCalls();
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        --g_pollers;
    }
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
    if (!Enqueue(call)) QMetaObject::invokeMethod(qApp, call->fn, Qt::QueuedConnection);
}

bool LinkSequenceRunning()
{
    std::lock_guard<std::mutex> lock(g_mutex);
    return g_pollers > 0;
}
