#pragma once
// Every message box of the program goes through this one seam, so the forms
// and the core never call a window toolkit directly and tests can record the
// messages shown and script the answers.

#include <optional>
#include <string>
#include <vector>

enum class MsgIcon { None, Information, Exclamation, Error };
enum class MsgButtons { Ok, OkCancel };
enum class MsgAnswer { Ok, Cancel };

struct UserMessage {
    std::string text;
    // nullopt: the plain box, captioned with the application's name.
    std::optional<std::string> caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // Opaque parent window (a QWidget* in the UI); may be null.
    void* parent = nullptr;
    // Optional plain-text details shown below the text (why something
    // failed and what to do); empty for most messages.
    std::string details{};
};

class UserMessages {
public:
    virtual ~UserMessages() = default;
    virtual MsgAnswer Show(const UserMessage& message) = 0;
};

// The message of a logger form (or command) whose write sequence failed.
inline constexpr const char* kLoggerWriteFailed =
    "Failed to set configuration in the module.  \n\t\t\tPlease check Serial Port settings "
    "and connections.";

// The application's name, the caption of the plain box.
inline constexpr const char* kApplicationName = "Corvane Utility";

// Installs the presenter; returns the previous one. nullptr restores the
// fallback, which writes the text to stderr, keeps the message for later and
// answers Ok.
UserMessages* SetUserMessages(UserMessages* presenter);

// Messages shown while no presenter was installed (the settings store speaks
// before the application object exists); the caller presents them once it
// can. Empties the queue.
std::vector<UserMessage> TakePendingMessages();

MsgAnswer ShowMessage(const UserMessage& message);

// The plain box: application's name as caption, OK button, no icon.
MsgAnswer ShowMessage(const std::string& text);
