#pragma once
// The UI's runner behind RunLink and its way onto the UI thread; installed by
// InstallQtSeams. Exposed for the forms that run jobs of their own on the
// link worker and for the tests that measure how responsive the window stays.
//
// Calls to the UI thread, waited for or not, take one route: one queue, in
// the order they were made, drained by a queued invocation that any event
// loop of the UI thread runs (the wait for a sequence, a form's exec).

#include <functional>

// Runs sequence on the link worker, after the jobs handed to it before,
// while the calling UI thread keeps processing events, with user input to
// every window that was open at the start discarded, as if the sequence were
// a modal form. Called from any other thread (the worker itself: a nested
// sequence), or without an application object, it runs inline. The worker
// ends with the application object.
void RunSequenceKeepingUiAlive(const std::function<void()>& sequence);

// Runs fn on the UI thread and waits for it (inline when already there); its
// exception comes back to the caller.
void InvokeOnUiThread(const std::function<void()>& fn);

// Runs fn on the UI thread later, without waiting; calls keep their order. A
// failure goes to the caller of the sequence that waits, else to the event
// log, never through Qt's event loop.
void PostToUiThread(std::function<void()> fn);

// True while a sequence is running off the UI thread.
bool LinkSequenceRunning();
