#pragma once
// The module command transport: "MOD" lines out, LF CR terminated lines back.

#include <cstddef>
#include <optional>
#include <string>

inline constexpr std::size_t kMaxModuleLineLength = 99;  // line feed included
// A line longer than 99 characters (line feed included), or holding a NUL
// or an inner line feed, is not sent: the query or set returns -1 and one
// event-log entry names it.

// Query lines; each flushes first and pauses 250 ms after sending.
// 0 when sent, otherwise LinkPutString's nonzero result.
int ModuleQuery(int parameter);
int ModuleQueryArg(int parameter, const std::string& argument);
int ModuleQueryInt(int parameter, int value);

// One reply line without its LF CR; empty when the logger is silent. A reply
// that has not ended after kMaxModuleReply characters is cut there.
inline constexpr std::size_t kMaxModuleReply = 512;
std::string ModuleReadLine();
// The same, but none unless the line came to its LF CR: silence, a time-out
// or a reply cut short is a failed read, while an empty line is an answer.
std::optional<std::string> ModuleReadReply();

// 0 when the logger's reply contains "OK", -1 otherwise. No flush, no pause.
int ModuleSet(int parameter, const std::string& argument);
int ModuleCommand(int parameter);

// The line layouts, without sending (for tests and the simulator's checks).
std::string ModuleQueryLine(int parameter);
std::string ModuleQueryArgLine(int parameter, const std::string& argument);
std::string ModuleSetLine(int parameter, const std::string& argument);
std::string ModuleCommandLine(int parameter);
