#include "base/UserMessages.h"

#include "base/LinkSequence.h"

#include <atomic>
#include <cstdio>
#include <mutex>

namespace {

std::mutex g_pendingMutex;
std::vector<UserMessage> g_pending;

class StderrMessages final : public UserMessages {
public:
    MsgAnswer Show(const UserMessage& message) override
    {
        {
            std::lock_guard<std::mutex> lock(g_pendingMutex);
            if (g_pending.size() < 32) g_pending.push_back(message);
        }
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
    // A link sequence running off the UI thread still shows its messages
    // there, and waits for the answer.
    MsgAnswer answer = MsgAnswer::Ok;
    OnUiThread([&] {
        UserMessages* p = g_presenter.load();
        answer = (p ? p : &g_fallback)->Show(message);
    });
    return answer;
}

MsgAnswer ShowMessage(const std::string& text)
{
    UserMessage m;
    m.text = text;
    return ShowMessage(m);
}

std::vector<UserMessage> TakePendingMessages()
{
    std::lock_guard<std::mutex> lock(g_pendingMutex);
    std::vector<UserMessage> pending;
    pending.swap(g_pending);
    return pending;
}
