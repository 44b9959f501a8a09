#pragma once
// Small text helpers of the simulator.

#include <string>
#include <vector>

// Splits at every separator; empty fields are kept ("a  b" gives three).
std::vector<std::string> SimSplit(const std::string& text, char separator);

// The whole text is a decimal integer (optional sign) that fits an int.
bool SimParseInt(const std::string& text, int& value);

// The logger reads its numbers as C's atoi does: leading white space
// skipped, a number at the start of the field and whatever follows ignored
// ("30-" is 30, " 7" is 7), a field without digits ("-", "", "abc") is 0.
// Only a number beyond int is refused: what the logger makes of it is not
// known.
bool SimParseLeadingInt(const std::string& text, int& value);

// Readable form of raw bytes: printable ASCII as is, "\\" for a backslash,
// \n and \r, everything else \xNN.
std::string SimEscape(const std::string& bytes);
