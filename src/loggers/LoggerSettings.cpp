#include "loggers/LoggerSettings.h"

#include <cctype>
#include <map>

namespace {
std::map<int, ConfigureForm>& Forms()
{
    static std::map<int, ConfigureForm> forms;
    return forms;
}
}  // namespace

void RegisterConfigureForm(LoggerType kind, ConfigureForm form)
{
    Forms()[kind] = std::move(form);
}

void RunConfigureForm(CLoggerSettings& record)
{
    auto it = Forms().find(record.kind);
    if (it != Forms().end() && it->second) it->second(record);
}

std::string FormatIdentification(const std::string& identification)
{
    const auto space = identification.find(' ');
    if (space == std::string::npos) return identification;

    auto isWhite = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::string left = identification.substr(0, space);
    while (!left.empty() && isWhite(left.back())) left.pop_back();
    std::string right = identification.substr(space);
    std::size_t first = 0;
    while (first < right.size() && isWhite(right[first])) ++first;
    right.erase(0, first);

    if (right.empty())
        right = ".";
    else
        right.insert(1, ".");
    return left + "  " + right;
}
