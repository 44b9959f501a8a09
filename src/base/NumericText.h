#pragma once
// The numeric text rule every form applies at OK, and the key filter of the
// numeric fields. The filter sees typed keys only, never pasted text, which is
// why OK checks the whole text again.

#include <optional>
#include <string>

inline constexpr const char* kWholeNumberChars = "0123456789-";
inline constexpr const char* kDecimalChars = "0123456789.-";

// True when every character of text is one of allowed.
bool OnlyCharsFrom(const std::string& text, const char* allowed);

// Whole-number rule: rejects empty text or any character outside
// "0123456789-"; otherwise the number as atoi reads it ("5-" is 5, "-" is 0).
// A number too large for an int is refused too.
std::optional<int> WholeNumberRule(const std::string& text);

// atoi's reading (leading blanks, a sign, the digits up to the first other
// character; no digits give 0), except that digits beyond an int's range are
// no number at all. atoi would wrap them, and a check that passed the wrapped
// value would send the text as typed: 4294968496 reads as 1200 there.
std::optional<int> ReadWholeNumber(const std::string& text);

// Decimal rule: as above with "0123456789.-" and atof ("1.2.3" is 1.2).
std::optional<double> DecimalRule(const std::string& text);

// Plain decimal conversions used for settings and replies: text that is not
// a number gives 0. Both read a point as the decimal mark whatever the
// process's locale.
int ReadInt(const std::string& text);
double ReadDouble(const std::string& text);

// printf into a string of any length, always with a point as the decimal
// mark: the logger, config.txt and the messages all expect "1.50".
std::string FormatText(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Puts the C library's number rules back to "C" for the whole process. A Qt
// application object adopts the user's locale (a comma-decimal one on many
// desktops), so every executable calls this right after making it.
void UseCNumberRules();

// Typed-character filter: true when the character (its low byte) is swallowed.
// Letters and printable punctuation other than '-', '.', ':' and '?' are;
// '-' too while minus is not allowed. Space, digits, control characters and
// anything above 127 pass.
bool IsRejectedTypedChar(unsigned int code, bool allowMinus);
