#include "settings/DBConfigParser.h"

#include "settings/EventLog.h"
#include "base/UserMessages.h"
#include "base/NumericText.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <stdexcept>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr const char* kSettingsFile = "config.txt";
constexpr const char* kRewriteFile = "configOld.txt";
constexpr const char* kBackupFile = "configBackup.txt";

constexpr const char* kLoadFailed =
    "Cannot open file Config.txt. Please make sure the file is in the same directory as "
    "CorvaneUtility.exe!";
constexpr const char* kWriteFailed =
    "Cannot open file Config.txt.  Please make sure the file is in the same directory as "
    "CorvaneUtility.exe";

// File errors are reported as exceptions inside the store and end in the
// event log with the operation's name.
struct FileError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void ThrowFileError(const char* what, const fs::path& path, int err)
{
    throw FileError(std::string(what) + " " + path.string() + ": " + std::strerror(err));
}

void LogFileError(const char* origin, const std::exception& e)
{
    std::string text = e.what();
    if (text.size() > 255) text.resize(255);
    Log().WriteError(origin, text);
}

struct FileCloser {
    void operator()(std::FILE* f) const { if (f) std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// config.txt as it lies on disk, cut into lines that keep their line ends,
// so a rewrite gives every line but the changed one back byte for byte: a
// NUL inside a line, a lone LF or a last line without an end included. A
// file that a Windows editor saved as UTF-16 (it starts with the byte-order
// mark) is read and rewritten as UTF-16; its text is UTF-8 in between.
enum class Encoding { Bytes, Utf16Le, Utf16Be };

struct FileLine {
    std::string bytes;  // as in the file, line end included
    std::string text;   // without the line end (a CR before the LF dropped)
    bool ended = false;  // a last line may have no line end
    bool crlf = false;   // ended by CR LF rather than a lone LF
};

struct SettingsText {
    Encoding encoding = Encoding::Bytes;
    std::string mark;  // a byte-order mark, written back first
    std::vector<FileLine> lines;
};

bool ReadAll(std::FILE* f, std::string& bytes)
{
    char buffer[4096];
    std::size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    return !std::ferror(f);
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out.push_back(static_cast<char>(c));
    } else if (c < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (c >> 6)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else if (c < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (c >> 12)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (c >> 18)));
        out.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
    }
}

std::string Utf8FromUnits(const std::vector<char16_t>& units)
{
    std::string out;
    for (std::size_t i = 0; i < units.size(); ++i) {
        char32_t c = units[i];
        if (c >= 0xD800 && c <= 0xDBFF && i + 1 < units.size() && units[i + 1] >= 0xDC00 &&
            units[i + 1] <= 0xDFFF) {
            c = 0x10000 + ((c - 0xD800) << 10) + (units[++i] - 0xDC00);
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            c = 0xFFFD;  // a lone half of a pair: only the table sees the stand-in
        }
        AppendUtf8(out, c);
    }
    return out;
}

// UTF-8 text (what the program writes: keys, numbers, paths) as UTF-16
// bytes; a byte that starts no valid sequence becomes U+FFFD.
std::string Utf16FromUtf8(const std::string& text, Encoding encoding)
{
    std::string out;
    auto put = [&](char16_t u) {
        const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
        if (encoding == Encoding::Utf16Le) {
            out.push_back(lo);
            out.push_back(hi);
        } else {
            out.push_back(hi);
            out.push_back(lo);
        }
    };
    for (std::size_t i = 0; i < text.size();) {
        const unsigned char b = static_cast<unsigned char>(text[i]);
        const std::size_t length = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 0;
        char32_t c = length == 1 ? b : length == 2 ? (b & 0x1F) : length == 3 ? (b & 0x0F) : (b & 0x07);
        bool valid = length != 0 && i + length <= text.size();
        for (std::size_t k = 1; valid && k < length; ++k) {
            const unsigned char next = static_cast<unsigned char>(text[i + k]);
            valid = (next & 0xC0) == 0x80;
            c = (c << 6) | (next & 0x3F);
        }
        if (!valid || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
            c = 0xFFFD;
            i += 1;
        } else {
            i += length;
        }
        if (c >= 0x10000) {
            put(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
            put(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            put(static_cast<char16_t>(c));
        }
    }
    return out;
}

// Whether text survives the trip into UTF-16 and back unchanged.
bool IsUtf8(const std::string& text)
{
    const std::string le = Utf16FromUtf8(text, Encoding::Utf16Le);
    std::vector<char16_t> units;
    for (std::size_t i = 0; i + 1 < le.size(); i += 2)
        units.push_back(static_cast<char16_t>(static_cast<unsigned char>(le[i]) |
                                              (static_cast<unsigned char>(le[i + 1]) << 8)));
    return Utf8FromUnits(units) == text;
}

SettingsText SplitLines(const std::string& bytes)
{
    SettingsText file;
    std::size_t pos = 0;
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) file.encoding = Encoding::Utf16Le;
    if (bytes.compare(0, 2, "\xFE\xFF") == 0) file.encoding = Encoding::Utf16Be;
    if (file.encoding != Encoding::Bytes) {
        file.mark = bytes.substr(0, 2);
        pos = 2;
        const bool le = file.encoding == Encoding::Utf16Le;
        while (pos < bytes.size()) {
            FileLine line;
            std::vector<char16_t> units;
            bool ended = false;
            while (pos < bytes.size() && !ended) {
                if (pos + 1 >= bytes.size()) {  // an odd last byte goes back as it came
                    line.bytes.push_back(bytes[pos++]);
                    break;
                }
                const unsigned char a = static_cast<unsigned char>(bytes[pos]);
                const unsigned char b = static_cast<unsigned char>(bytes[pos + 1]);
                const char16_t u = le ? static_cast<char16_t>(a | (b << 8)) : static_cast<char16_t>((a << 8) | b);
                line.bytes.append(bytes, pos, 2);
                pos += 2;
                if (u == u'\n') {
                    ended = true;
                } else {
                    units.push_back(u);
                }
            }
            line.ended = ended;
            line.crlf = ended && !units.empty() && units.back() == u'\r';
            if (line.crlf) units.pop_back();
            line.text = Utf8FromUnits(units);
            file.lines.push_back(std::move(line));
        }
        return file;
    }
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        file.mark = bytes.substr(0, 3);
        pos = 3;
    }
    while (pos < bytes.size()) {
        const std::size_t lf = bytes.find('\n', pos);
        const std::size_t end = lf == std::string::npos ? bytes.size() : lf + 1;
        FileLine line;
        line.bytes = bytes.substr(pos, end - pos);
        line.text = line.bytes;
        if (lf != std::string::npos) {
            line.text.pop_back();
            line.ended = true;
            line.crlf = !line.text.empty() && line.text.back() == '\r';
            if (line.crlf) line.text.pop_back();
        }
        file.lines.push_back(std::move(line));
        pos = end;
    }
    return file;
}

// A line of the program's own in the file's encoding, with the line end of
// the line it replaces.
std::string EncodeLine(const SettingsText& file, const std::string& text, const FileLine& like)
{
    const std::string line = text + (!like.ended ? "" : like.crlf ? "\r\n" : "\n");
    return file.encoding == Encoding::Bytes ? line : Utf16FromUtf8(line, file.encoding);
}

// The key of a settings line: the text before its first "=", or the whole
// line when it has none.
std::string KeyOf(const std::string& line)
{
    return line.substr(0, line.find('='));
}

bool IsCommentOrBlank(const std::string& line)
{
    return line.empty() || line[0] == '#';
}

}  // namespace

DBConfigParser::DBConfigParser()
{
    std::error_code ec;
    fs::path cwd = fs::current_path(ec);
    Init(ec ? fs::path(".") : cwd);
}

DBConfigParser::DBConfigParser(const fs::path& workingDirectory)
{
    Init(workingDirectory);
}

void DBConfigParser::Init(const fs::path& workingDirectory)
{
    workingDirectory_ = workingDirectory;
    settingsPath_ = workingDirectory_ / kSettingsFile;
    rewritePath_ = workingDirectory_ / kRewriteFile;
    // A safety copy at every start; a failed copy is of no consequence.
    std::error_code ec;
    fs::copy_file(settingsPath_, workingDirectory_ / kBackupFile,
                  fs::copy_options::overwrite_existing, ec);
    Parse(settingsPath_);
}

DBConfigParser::~DBConfigParser()
{
    values_.clear();
}

void DBConfigParser::Parse(const fs::path& path)
{
    if (loaded_) return;
    values_.clear();
    rewritePath_ = workingDirectory_ / kRewriteFile;

    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ShowMessage(kLoadFailed);
        return;
    }
    try {
        ReadLines(file.get());
        loaded_ = true;
    } catch (const FileError& e) {
        LogFileError("DBConfigParser::Parse", e);
        loaded_ = false;
    }
}

void DBConfigParser::ReadLines(std::FILE* file)
{
    std::string bytes;
    if (!ReadAll(file, bytes)) ThrowFileError("Cannot read", settingsPath_, errno ? errno : EIO);
    for (const FileLine& fileLine : SplitLines(bytes).lines) {
        const std::string& line = fileLine.text;
        if (IsCommentOrBlank(line)) continue;
        const auto eq = line.find('=');
        if (eq != std::string::npos && eq + 1 == line.size()) continue;  // empty value
        std::string k = eq == std::string::npos ? line : line.substr(0, eq);
        std::string v = eq == std::string::npos ? std::string() : line.substr(eq + 1);
        // Over-long keys or values are left out of the table rather than cut:
        // a cut value (a directory, say) would be silently wrong. The line
        // itself stays in the file untouched.
        if (k.size() > kMaxKeyLength || v.size() > kMaxValueLength) continue;
        values_[k] = v;
    }
}

void DBConfigParser::GetValue(const std::string& key, std::string& value)
{
    if (!loaded_) Parse(settingsPath_);
    auto it = values_.find(key);
    if (it != values_.end()) value = it->second;
}

std::string DBConfigParser::GetValue(const std::string& key)
{
    std::string value;
    GetValue(key, value);
    return value;
}

int DBConfigParser::GetInt(const std::string& key)
{
    return ReadInt(GetValue(key));
}

void DBConfigParser::SetValue(const std::string& key, int value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%i", value);
    SetValue(key, std::string(text));
}

void DBConfigParser::SetValue(const std::string& key, const std::string& value)
{
    const std::string newLine = key + "=" + value;

    FilePtr in(std::fopen(settingsPath_.c_str(), "rb"));
    if (!in) {
        ShowMessage(kWriteFailed);
        return;
    }

    try {
        // Refused rather than cut, for the same reason as at load; the
        // table and the file keep their old value.
        if (key.empty() || key.size() > kMaxKeyLength || value.size() > kMaxValueLength ||
            key.find_first_of("=\r\n") != std::string::npos ||
            value.find_first_of("\r\n") != std::string::npos)
            throw FileError("Refused setting " + key.substr(0, kMaxKeyLength) +
                            ": key or value too long or holding a line break");

        FilePtr out(std::fopen(rewritePath_.c_str(), "wb"));
        if (!out) ThrowFileError("Cannot create", rewritePath_, errno);

        values_[key] = value;

        std::string bytes;
        if (!ReadAll(in.get(), bytes)) ThrowFileError("Cannot read", settingsPath_, errno ? errno : EIO);
        const SettingsText file = SplitLines(bytes);
        // A UTF-16 file holds characters, not bytes: a byte that is no UTF-8
        // would come back as another character.
        if (file.encoding != Encoding::Bytes && !IsUtf8(newLine))
            throw FileError("Refused setting " + key.substr(0, kMaxKeyLength) +
                            ": config.txt is UTF-16 and the setting holds bytes that are no UTF-8");

        // Only lines whose own key is this key are replaced, keeping their
        // line ends; a key that has no line yet is appended, so the value
        // survives a restart. Every other line goes back as it was.
        std::string text = file.mark;
        bool replaced = false;
        for (const FileLine& line : file.lines) {
            if (!IsCommentOrBlank(line.text) && KeyOf(line.text) == key) {
                text += EncodeLine(file, newLine, line);
                replaced = true;
            } else {
                text += line.bytes;
            }
        }
        if (!replaced) {
            // Ended as the file's first ended line is (CR LF in a new file).
            FileLine like{{}, {}, true, true};
            for (const FileLine& line : file.lines)
                if (line.ended) {
                    like = line;
                    break;
                }
            // A UTF-16 file that ends inside a character keeps that half
            // character last: a line after it would be read a byte out of step.
            const std::string* half = nullptr;
            if (file.encoding != Encoding::Bytes && !file.lines.empty() &&
                file.lines.back().bytes.size() % 2 != 0) {
                half = &file.lines.back().bytes;
                text.resize(text.size() - half->size());
            } else if (!file.lines.empty() && !file.lines.back().ended) {
                // A CR that ends the last line stays in its value only when
                // CR LF ends the line; a lone LF would make the two a line end.
                const std::string& last = file.lines.back().text;
                FileLine end = like;
                end.crlf = like.crlf || (!last.empty() && last.back() == '\r');
                text += EncodeLine(file, "", end);
            }
            text += EncodeLine(file, newLine, like);
            if (half) text += *half;
        }
        if (std::fwrite(text.data(), 1, text.size(), out.get()) != text.size())
            ThrowFileError("Cannot write", rewritePath_, errno);

        // The new file is complete on disk before it takes the old one's
        // place in a single rename: config.txt is never missing or half
        // written, whatever fails.
        if (std::fflush(out.get()) != 0 || ::fsync(fileno(out.get())) != 0)
            ThrowFileError("Cannot write", rewritePath_, errno);
        std::FILE* raw = out.release();
        if (std::fclose(raw) != 0) ThrowFileError("Cannot write", rewritePath_, errno);
        in.reset();
        if (std::rename(rewritePath_.c_str(), settingsPath_.c_str()) != 0)
            ThrowFileError("Cannot replace", settingsPath_, errno);
        loaded_ = true;
    } catch (const FileError& e) {
        LogFileError("DBConfigParser::SetValue", e);
        std::error_code ec;
        fs::remove(rewritePath_, ec);
        loaded_ = true;
    }
}

namespace {
DBConfigParser* g_settings = nullptr;
}

DBConfigParser& Settings()
{
    if (!g_settings) {
        // Only reached when nothing installed a store (a tool or a test that
        // did not care); the program creates its own in main.
        static DBConfigParser fallback;
        g_settings = &fallback;
    }
    return *g_settings;
}

DBConfigParser* ProcessSettings()
{
    return g_settings;
}

DBConfigParser* SetProcessSettings(DBConfigParser* settings)
{
    DBConfigParser* previous = g_settings;
    g_settings = settings;
    return previous;
}
