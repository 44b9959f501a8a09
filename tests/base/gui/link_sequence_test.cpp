// The runner that keeps the window alive while a sequence talks to the
// logger: the UI thread goes on processing events, input to the windows that
// were open is discarded while new windows take it, and messages, results
// and failures cross between the threads.
#include "base/LinkSequence.h"
#include "base/LinkWorker.h"
#include "base/ui/UiLinkRunner.h"
#include "base/UserMessages.h"

#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

namespace {

bool OnUi() { return QThread::currentThread() == qApp->thread(); }

TEST(LinkSequenceThread, UiThreadProcessesEventsWhileTheSequenceRuns)
{
    // Only a UI thread that is still turning its event loop runs the post;
    // posted and waited calls arrive in the order they were made.
    std::vector<int> order;
    EXPECT_TRUE(RunLink([&] {
        std::promise<void> fired;
        PostToUiThread([&] { order.push_back(1), fired.set_value(); }), PostToUiThread([&] { order.push_back(2); });
        OnUiThread([&] { order.push_back(3); }), PostToUiThread([&] { order.push_back(4); });
        return !OnUi() && fired.get_future().wait_for(std::chrono::seconds(30)) == std::future_status::ready;
    }));
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
}

TEST(LinkSequenceThread, InputToOpenWindowsIsDiscardedWindowsOpenedMeanwhileTakeIt)
{
    QWidget form;
    auto* ok = new QPushButton("OK", &form);
    auto* field = new QLineEdit(&form);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(ok);
    layout->addWidget(field);
    form.show();
    int formClicks = 0, boxClicks = 0;
    QObject::connect(ok, &QPushButton::clicked, [&] { ++formClicks; });
    RunLinkSequence([&] {
        OnUiThread([&] {
            QTest::mouseClick(ok, Qt::LeftButton);
            QTest::keyClicks(field, "123");
            QDialog box;
            auto* answer = new QPushButton("Yes", &box);
            QObject::connect(answer, &QPushButton::clicked, [&] { ++boxClicks; });
            box.show();
            QTest::mouseClick(answer, Qt::LeftButton);
        });
    });
    EXPECT_EQ(std::make_tuple(formClicks, field->text(), boxClicks), std::make_tuple(0, QString(), 1));
    QTest::mouseClick(ok, Qt::LeftButton);
    EXPECT_EQ(formClicks, 1) << "input flows again after the sequence";
}

// Each message's text and whether it was shown on the UI thread.
struct ThreadNotingMessages final : UserMessages {
    MsgAnswer Show(const UserMessage& m) override { return shown.emplace_back(m.text, OnUi()), MsgAnswer::Cancel; }
    std::vector<std::pair<std::string, bool>> shown;
};

TEST(LinkSequenceThread, MessagesAreShownOnTheUiThreadAndAnswerTheSequence)
{
    ThreadNotingMessages messages;
    UserMessages* previous = SetUserMessages(&messages);
    EXPECT_EQ(RunLink([] { return ShowMessage("No Corvane Logger Found."); }), MsgAnswer::Cancel);
    SetUserMessages(previous);
    EXPECT_EQ(messages.shown, (std::vector<std::pair<std::string, bool>>{{"No Corvane Logger Found.", true}}));
}

TEST(LinkSequenceThread, FailuresComeBackAndNestedSequencesRunInline)
{
    EXPECT_THROW(RunLinkSequence([] { throw std::runtime_error("lost"); }), std::runtime_error);
    // A call handed to the window without waiting fails back to the
    // sequence's caller, not through Qt's event loop; later calls still run.
    int after = 0;
    EXPECT_THROW(RunLinkSequence([&] {
                     PostToUiThread([] { throw std::logic_error("posted"); });
                     OnUiThread([&] { after = 1; });
                 }),
                 std::logic_error);
    EXPECT_EQ(after, 1);
    // One worker runs every sequence, and outlives a job that throws.
    std::thread::id first, outer, inner;
    RunLinkSequence([&] { first = std::this_thread::get_id(); }), PostToLinkWorker([] { throw std::runtime_error("x"); });
    RunLinkSequence([&] {
        outer = std::this_thread::get_id();
        RunLinkSequence([&] { inner = std::this_thread::get_id(); });
    });
    EXPECT_EQ(std::make_pair(outer, inner), std::make_pair(first, first));
    EXPECT_NE(outer, std::this_thread::get_id());
    EXPECT_FALSE(LinkSequenceRunning());
}

}  // namespace
