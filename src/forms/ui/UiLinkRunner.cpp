#include "UiLinkRunner.h"

#include <QApplication>
#include <QEvent>
#include <QEventLoop>
#include <QPointer>
#include <QThread>
#include <QWidget>
#include <QWindow>

#include <atomic>
#include <exception>
#include <system_error>
#include <thread>
#include <vector>

namespace {

std::atomic<int> g_running{0};

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
    std::thread worker;
    try {
        worker = std::thread([&] {
            try {
                sequence();
            } catch (...) {
                failure = std::current_exception();
            }
            // Queued: the loop runs (or is about to run) exec() on the UI thread.
            QMetaObject::invokeMethod(&loop, &QEventLoop::quit, Qt::QueuedConnection);
        });
    } catch (const std::system_error&) {
        // No thread to be had: a frozen window beats not talking at all.
        sequence();
        return;
    }
    ++g_running;
    loop.exec();
    worker.join();
    --g_running;
    if (failure) std::rethrow_exception(failure);
}

void InvokeOnUiThread(const std::function<void()>& fn)
{
    if (!qApp || OnUiThread()) {
        fn();
        return;
    }
    QMetaObject::invokeMethod(qApp, [&fn] { fn(); }, Qt::BlockingQueuedConnection);
}

bool LinkSequenceRunning()
{
    return g_running.load() > 0;
}
