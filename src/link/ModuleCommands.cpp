#include "link/ModuleCommands.h"

#include "settings/EventLog.h"
#include "base/Pause.h"
#include "link/SerialLink.h"

#include <cstdio>

namespace {

constexpr int kLineFeed = 0x0A;
constexpr int kCarriageReturn = 0x0D;
constexpr std::size_t kMaxModuleLine = 99;  // line feed included
constexpr int kQueryPauseMs = 250;

bool QueryWithoutBar(int parameter)
{
    return parameter == 0 || parameter == 21 || parameter == 22;
}

std::string Prefix(int parameter)
{
    char text[24];
    std::snprintf(text, sizeof text, "MOD%02d", parameter);
    return text;
}

// The logger takes one line of at most 99 characters. A longer line, or one
// that a NUL would cut short or an inner line feed would split, is never
// sent: it is refused whole and noted once in the event log.
bool Sendable(const std::string& line, const char* origin)
{
    const std::size_t end = line.find_first_of(std::string("\n\0", 2));
    const bool oneLine = end == line.size() - 1;
    if (line.size() <= kMaxModuleLine && oneLine) return true;
    std::string shown = line.substr(0, line.size() - 1);
    for (char& c : shown)
        if (c == '\n' || c == '\0') c = ' ';
    Log().WriteError(origin, oneLine ? "Module line of " + std::to_string(line.size()) +
                                           " characters not sent (at most 99): " + shown
                                     : "Module line not sent (line feed or NUL inside): " + shown);
    return false;
}

int SendQuery(const std::string& line)
{
    if (!Sendable(line, "ModuleQuery")) return -1;
    // A reply must not be mixed with bytes left over from an earlier one.
    LinkFlush();
    const int result = LinkPutString(line.c_str());
    // The logger needs this long to take the line and start its reply.
    PauseMs(kQueryPauseMs);
    return result;
}

int SendAndConfirm(const std::string& line, const char* origin)
{
    if (!Sendable(line, origin)) return -1;
    if (LinkPutString(line.c_str()) != 0) return -1;
    return ModuleReadLine().find("OK") != std::string::npos ? 0 : -1;
}

}  // namespace

std::string ModuleQueryLine(int parameter)
{
    return Prefix(parameter) + (QueryWithoutBar(parameter) ? "\n" : " |\n");
}

std::string ModuleQueryArgLine(int parameter, const std::string& argument)
{
    return Prefix(parameter) + " " + argument + (QueryWithoutBar(parameter) ? "\n" : " |\n");
}

std::string ModuleSetLine(int parameter, const std::string& argument)
{
    return Prefix(parameter) + " " + argument + "\n";
}

std::string ModuleCommandLine(int parameter)
{
    return Prefix(parameter) + "\n";
}

int ModuleQuery(int parameter)
{
    return SendQuery(ModuleQueryLine(parameter));
}

int ModuleQueryArg(int parameter, const std::string& argument)
{
    return SendQuery(ModuleQueryArgLine(parameter, argument));
}

int ModuleQueryInt(int parameter, int value)
{
    char text[16];
    std::snprintf(text, sizeof text, "%i", value);
    return SendQuery(ModuleQueryArgLine(parameter, text));
}

namespace {

// ended: the line came to its LF CR (not a silence, not the cut).
std::string ReadReplyText(bool& ended)
{
    std::string text;
    ended = false;
    // A device that keeps sending without ever ending its line is cut here,
    // and nothing more is read; the longest real reply, an output's eight
    // alarm conditions, stays well below the bound.
    while (text.size() < kMaxModuleReply) {
        const int byte = LinkGetByte();
        if (byte == kLineFeed) {
            // The logger ends a reply with LF CR. A lone LF is kept as text;
            // the byte read to look for the CR is not kept.
            if (LinkGetByte() == kCarriageReturn) {
                ended = true;
                break;
            }
            text += '\n';
            continue;
        }
        // A time-out reads as 0xFF here, and so does a received 0xFF.
        if ((byte & 0xFF) == 0xFF) break;
        text += static_cast<char>(byte);
    }
    return text;
}

}  // namespace

std::string ModuleReadLine()
{
    bool ended = false;
    return ReadReplyText(ended);
}

std::optional<std::string> ModuleReadReply()
{
    bool ended = false;
    std::string text = ReadReplyText(ended);
    if (!ended) return std::nullopt;
    return text;
}

int ModuleSet(int parameter, const std::string& argument)
{
    return SendAndConfirm(ModuleSetLine(parameter, argument), "ModuleSet");
}

int ModuleCommand(int parameter)
{
    return SendAndConfirm(ModuleCommandLine(parameter), "ModuleCommand");
}
