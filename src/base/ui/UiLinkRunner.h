#pragma once
// The UI's runner behind RunLink and its way onto the UI thread; installed by
// InstallQtSeams. Exposed for the tests that measure how responsive the
// window stays.

#include <functional>

// Runs sequence on a worker thread while the calling UI thread keeps
// processing events, with user input to every window that was open at the
// start discarded, as if the sequence were a modal form. Called from any
// other thread, or without an application object, it runs inline.
void RunSequenceKeepingUiAlive(const std::function<void()>& sequence);

// Runs fn on the UI thread and waits for it (inline when already there).
void InvokeOnUiThread(const std::function<void()>& fn);

// Runs fn on the UI thread later, without waiting; calls keep their order.
void PostToUiThread(std::function<void()> fn);

// True while a sequence is running off the UI thread.
bool LinkSequenceRunning();
