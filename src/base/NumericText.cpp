#include "base/NumericText.h"

#include <cerrno>
#include <clocale>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <locale.h>
#include <vector>

namespace {

// The "C" rules as an object of their own, so conversions keep them even if
// something later changes the process's locale.
locale_t CNumberLocale()
{
    static const locale_t c = newlocale(LC_ALL_MASK, "C", locale_t{});
    return c;
}

// Switches this thread to the "C" rules while alive.
class CRulesHere {
public:
    CRulesHere() : previous_(uselocale(CNumberLocale())) {}
    ~CRulesHere() { uselocale(previous_); }
    CRulesHere(const CRulesHere&) = delete;
    CRulesHere& operator=(const CRulesHere&) = delete;

private:
    locale_t previous_;
};

}  // namespace

bool OnlyCharsFrom(const std::string& text, const char* allowed)
{
    for (char c : text)
        if (c == '\0' || std::strchr(allowed, c) == nullptr) return false;
    return true;
}

std::optional<int> WholeNumberRule(const std::string& text)
{
    if (text.empty() || !OnlyCharsFrom(text, kWholeNumberChars)) return std::nullopt;
    return ReadWholeNumber(text);
}

std::optional<int> ReadWholeNumber(const std::string& text)
{
    errno = 0;
    const long v = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE || v > INT_MAX || v < INT_MIN) return std::nullopt;
    return static_cast<int>(v);
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

double ReadDouble(const std::string& text)
{
    // atof's reading under the "C" rules.
    return strtod_l(text.c_str(), nullptr, CNumberLocale());
}

std::string FormatText(const char* format, ...)
{
    CRulesHere cRules;
    va_list args;
    va_start(args, format);
    va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, again);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(again);
    return text;
}

void UseCNumberRules()
{
    std::setlocale(LC_NUMERIC, "C");
}

bool IsRejectedTypedChar(unsigned int code, bool allowMinus)
{
    const unsigned char c = static_cast<unsigned char>(code & 0xFF);
    if (c == '-') return !allowMinus;
    return (c >= 0x21 && c <= 0x2C) || c == 0x2F || (c >= 0x3B && c <= 0x3E) ||
           (c >= 0x40 && c <= 0x7E);
}
