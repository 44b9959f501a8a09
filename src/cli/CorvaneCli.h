#pragma once
// corvane-cli: the logger work of the forms from a terminal, on the same
// core: detection, showing and setting a logger's configuration, backup and
// restore, the alarm log and the relays.
#include <ostream>
#include <string>
#include <vector>

// Exit codes.
inline constexpr int kCliDone = 0;
inline constexpr int kCliLinkFailed = 1;  // no logger found, or the link failed
inline constexpr int kCliUsage = 2;
inline constexpr int kCliRefused = 3;     // a value refused: nothing was sent
inline constexpr int kCliPartWrite = 4;   // a write failed after others had gone
inline constexpr int kCliInterrupted = 130;  // Ctrl-C or TERM stopped the run

// Runs one command line (without the program name). What the forms would
// show in a message box goes to err, results to out.
int RunCli(std::vector<std::string> args, std::ostream& out, std::ostream& err);
