#include "base/LinkWorker.h"

#include "base/Pause.h"
#include "settings/EventLog.h"

#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

struct Job {
    std::function<void()> fn;
    bool nested = false;
};

class Worker {
public:
    ~Worker() { Stop(); }

    bool Post(std::function<void()> fn, bool nested)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!thread_.joinable()) {
                stopping_ = false;
                try {
                    thread_ = std::thread([this] { Run(); });
                } catch (const std::system_error&) {
                    return false;
                }
                id_ = thread_.get_id();
            }
            jobs_.push_back({std::move(fn), nested});
        }
        changed_.notify_all();
        return true;
    }

    bool OnWorker()
    {
        std::lock_guard<std::mutex> lock(mutex_);
        return id_ == std::this_thread::get_id();
    }

    bool Wait(const std::function<bool()>& ready, const std::chrono::steady_clock::time_point* until)
    {
        std::unique_lock<std::mutex> lock(mutex_);
        const bool serve = id_ == std::this_thread::get_id();
        for (;;) {
            if (ready()) return true;
            if (serve) {
                for (auto it = jobs_.begin(); it != jobs_.end(); ++it) {
                    if (!it->nested) continue;
                    Job job = std::move(*it);
                    jobs_.erase(it);
                    lock.unlock();
                    RunJob(job);
                    lock.lock();
                    break;
                }
                if (ready()) return true;
                if (HasNested()) continue;
            }
            if (!until) changed_.wait(lock);
            else if (changed_.wait_until(lock, *until) == std::cv_status::timeout) return ready();
        }
    }

    void Signal(const std::function<void()>& change)
    {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            change();
        }
        changed_.notify_all();
    }

    void Stop()
    {
        std::thread ending;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (!thread_.joinable() || id_ == std::this_thread::get_id()) return;
            stopping_ = true;
            ending = std::move(thread_);
        }
        changed_.notify_all();
        ending.join();
        std::lock_guard<std::mutex> lock(mutex_);
        if (!thread_.joinable()) id_ = {};
    }

private:
    bool HasNested() const
    {
        for (const Job& job : jobs_)
            if (job.nested) return true;
        return false;
    }

    void Run()
    {
        std::unique_lock<std::mutex> lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
            if (jobs_.empty()) return;  // stopping, nothing left
            Job job = std::move(jobs_.front());
            jobs_.pop_front();
            lock.unlock();
            RunJob(job);
            lock.lock();
        }
    }

    static void RunJob(Job& job)
    {
        // The callers hand their own failures back; one that escapes must
        // not end the thread every later job needs.
        try {
            job.fn();
        } catch (const std::exception& e) {
            Log().WriteError("LinkWorker", std::string("a job on the link failed: ") + e.what());
        } catch (...) {
            Log().WriteError("LinkWorker", "a job on the link failed");
        }
    }

    std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> jobs_;
    bool stopping_ = false;
    std::thread thread_;
    std::thread::id id_;
};

Worker& TheWorker()
{
    static Worker worker;
    return worker;
}

}  // namespace

bool PostToLinkWorker(std::function<void()> job, bool nested)
{
    return TheWorker().Post(std::move(job), nested);
}

bool OnLinkWorker()
{
    return TheWorker().OnWorker();
}

void WaitOnLinkWorker(const std::function<bool()>& ready)
{
    TheWorker().Wait(ready, nullptr);
}

bool WaitOnLinkWorkerUntil(const std::function<bool()>& ready, std::chrono::steady_clock::time_point until)
{
    return TheWorker().Wait(ready, &until);
}

void SignalLinkWorker(const std::function<void()>& change)
{
    TheWorker().Signal(change);
}

void TakeNestedLinkJobs()
{
    const auto now = std::chrono::steady_clock::now();
    TheWorker().Wait([] { return false; }, &now);
}

void PauseTakingNestedLinkJobs(int ms)
{
    PauseMs(ms, [](std::chrono::steady_clock::time_point until) { TheWorker().Wait([] { return false; }, &until); });
}

void StopLinkWorker()
{
    TheWorker().Stop();
}
