#include "NumericText.h"

#include <climits>
#include <cstdlib>
#include <cstring>

bool OnlyCharsFrom(const std::string& text, const char* allowed)
{
    for (char c : text)
        if (c == '\0' || std::strchr(allowed, c) == nullptr) return false;
    return true;
}

std::optional<int> WholeNumberRule(const std::string& text)
{
    if (text.empty() || !OnlyCharsFrom(text, kWholeNumberChars)) return std::nullopt;
    return ReadInt(text);
}

std::optional<double> DecimalRule(const std::string& text)
{
    if (text.empty() || !OnlyCharsFrom(text, kDecimalChars)) return std::nullopt;
    return ReadDouble(text);
}

int ReadInt(const std::string& text)
{
    // atoi's reading, without its undefined behaviour on overflow.
    long v = std::strtol(text.c_str(), nullptr, 10);
    if (v > INT_MAX) return INT_MAX;
    if (v < INT_MIN) return INT_MIN;
    return static_cast<int>(v);
}

double ReadDouble(const std::string& text) { return std::atof(text.c_str()); }

bool IsRejectedTypedChar(unsigned int code, bool allowMinus)
{
    const unsigned char c = static_cast<unsigned char>(code & 0xFF);
    if (c == '-') return !allowMinus;
    return (c >= 0x21 && c <= 0x2C) || c == 0x2F || (c >= 0x3B && c <= 0x3E) ||
           (c >= 0x40 && c <= 0x7E);
}
