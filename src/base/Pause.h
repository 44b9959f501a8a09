#pragma once
// The one pause function. Every deliberate wait of the program (the 250 ms
// after a module query, the 2 s after closing the port, the workers' pacing)
// goes through PauseMs, so tests can make the waits instant and still see
// which durations were asked for.

#include <chrono>
#include <functional>

void PauseMs(int milliseconds);

// PauseMs whose real wait is wait(until) instead of a sleep, for a thread
// that has other work to take meanwhile. A replacement, when installed,
// stands in for both.
void PauseMs(int milliseconds, const std::function<void(std::chrono::steady_clock::time_point until)>& wait);

using PauseFunction = std::function<void(int milliseconds)>;

// Installs a replacement; an empty function restores real sleeping.
// Returns the previous replacement.
PauseFunction SetPauseFunction(PauseFunction fn);
