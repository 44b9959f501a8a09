#include "SimText.h"

#include <cstdio>

std::vector<std::string> SimSplit(const std::string& text, char separator)
{
    std::vector<std::string> fields;
    std::string::size_type start = 0;
    for (;;) {
        auto end = text.find(separator, start);
        if (end == std::string::npos) {
            fields.push_back(text.substr(start));
            return fields;
        }
        fields.push_back(text.substr(start, end - start));
        start = end + 1;
    }
}

namespace {

// Reads [sign]digits from text at pos; pos ends after the digits.
bool ReadNumber(const std::string& text, std::size_t& pos, int& value)
{
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t first = pos;
    long long v = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        v = v * 10 + (text[pos] - '0');
        if (v > 2147483647LL) return false;
        ++pos;
    }
    if (pos == first) return false;
    value = static_cast<int>(negative ? -v : v);
    return true;
}

}  // namespace

bool SimParseInt(const std::string& text, int& value)
{
    std::size_t pos = 0;
    int v = 0;
    if (!ReadNumber(text, pos, v) || pos != text.size()) return false;
    value = v;
    return true;
}

bool SimParseLeadingInt(const std::string& text, int& value)
{
    std::size_t pos = 0;
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) ++pos;
    const std::size_t start = pos;
    if (ReadNumber(text, pos, value)) return true;
    // No digit after the sign: atoi's 0. A run of digits too long for int is
    // the only refusal.
    pos = start + (start < text.size() && (text[start] == '-' || text[start] == '+'));
    if (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') return false;
    value = 0;
    return true;
}

std::string SimEscape(const std::string& bytes)
{
    std::string out;
    out.reserve(bytes.size());
    for (unsigned char c : bytes) {
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    return out;
}
