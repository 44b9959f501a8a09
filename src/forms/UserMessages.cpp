#include "UserMessages.h"

#include <atomic>
#include <cstdio>

namespace {

class StderrMessages final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage& message) override
    {
        std::fprintf(stderr, "[%s] %s\n",
                     message.caption ? message.caption->c_str() : kApplicationName,
                     message.text.c_str());
        return MsgAnswer::Ok;
    }
};

StderrMessages g_fallback;
std::atomic<UserMessages*> g_presenter{nullptr};

} // namespace

UserMessages* SetUserMessages(UserMessages* presenter)
{
    return g_presenter.exchange(presenter);
}

MsgAnswer ShowMessage(const UserMessage& message)
{
    UserMessages* p = g_presenter.load();
    return (p ? p : &g_fallback)->Show(message);
}

MsgAnswer ShowMessage(const std::string& text)
{
    UserMessage m;
    m.text = text;
    return ShowMessage(m);
}
