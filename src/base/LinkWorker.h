#pragma once
// The one thread that talks to the logger while the window is up. Every link
// sequence the window runs, the alarm download and the switch tests' pollers
// are jobs handed to it under a lock and run one after another, so two of
// them never share the port and a job handed over after another is, in
// effect, a join of it. The worker starts on first use and ends with
// StopLinkWorker (the window calls it as the application goes) or at exit.

#include <chrono>
#include <functional>

// Runs job on the worker after the jobs handed over before it. A nested job
// (handed over by the UI thread while it runs a call the worker waits for)
// runs inside the job that waits, ahead of ordinary jobs queued. False when
// no thread could be had: the job has not run. A job's exception is noted in
// the event log; the worker goes on.
bool PostToLinkWorker(std::function<void()> job, bool nested = false);

// True on the worker's thread.
bool OnLinkWorker();

// Waits until ready() holds; ready is looked at under the worker's lock, and
// SignalLinkWorker is how another thread changes what it looks at. On the
// worker, nested jobs handed over meanwhile run while it waits.
void WaitOnLinkWorker(const std::function<bool()>& ready);
// The same with a time limit; false when until came first.
bool WaitOnLinkWorkerUntil(const std::function<bool()>& ready, std::chrono::steady_clock::time_point until);
// Runs change under the worker's lock and wakes whoever waits.
void SignalLinkWorker(const std::function<void()>& change);

// For a job that runs long on the worker (a poller): runs the nested jobs
// waiting now, or, the second, during a pause of ms.
void TakeNestedLinkJobs();
void PauseTakingNestedLinkJobs(int ms);

// Ends the worker once its jobs have run; the next job starts it again.
void StopLinkWorker();
