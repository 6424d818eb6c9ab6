#include "platform/win/MessageLoop.h"

#include "platform/runtime/DoEvents.h"

#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace platform::win {
namespace {

using namespace std::chrono_literals;

// A loop on a clock that moves only when the test says so.
class MessageLoopTest : public ::testing::Test
{
protected:
    MessageLoop::Clock::time_point now{};
    MessageLoop loop{[this] { return now; }};
};

TEST_F(MessageLoopTest, TasksRunOnlyInsideTheLoopInOrder)
{
    std::vector<int> ran;
    loop.post([&] { ran.push_back(1); });
    loop.post([&] { ran.push_back(2); });
    EXPECT_TRUE(ran.empty());
    EXPECT_EQ(loop.pendingTasks(), 2u);
    EXPECT_EQ(loop.doEvents(), 2u);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(loop.doEvents(), 0u);
}

TEST_F(MessageLoopTest, TasksPostedDuringDoEventsWaitForTheNextCall)
{
    int second = 0;
    loop.post([&] { loop.post([&] { ++second; }); });
    EXPECT_EQ(loop.doEvents(), 1u);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(loop.doEvents(), 1u);
    EXPECT_EQ(second, 1);
}

TEST_F(MessageLoopTest, DoEventsIsReentrantAndCounted)
{
    std::vector<std::string> ran;
    loop.post([&] {
        ran.push_back("outer start at depth " + std::to_string(loop.doEventsDepth()));
        // The nested call runs what is still queued; the outer call then has nothing left.
        loop.doEvents();
        ran.push_back("outer end");
    });
    loop.post([&] { ran.push_back("second at depth " + std::to_string(loop.doEventsDepth())); });
    EXPECT_EQ(loop.doEventsDepth(), 0);
    loop.doEvents();
    EXPECT_EQ(ran, (std::vector<std::string>{"outer start at depth 1", "second at depth 2",
                                             "outer end"}));
    EXPECT_EQ(loop.doEventsDepth(), 0);
    EXPECT_EQ(loop.deepestDoEvents(), 2);
}

TEST_F(MessageLoopTest, ExceptionLeavesTheRestQueuedAndDepthRestored)
{
    int ran = 0;
    loop.post([] { throw std::runtime_error("task failed"); });
    loop.post([&] { ++ran; });
    EXPECT_THROW(loop.doEvents(), std::runtime_error);
    EXPECT_EQ(loop.doEventsDepth(), 0);
    EXPECT_EQ(ran, 0);
    EXPECT_EQ(loop.doEvents(), 1u);
    EXPECT_EQ(ran, 1);
}

TEST_F(MessageLoopTest, TimerFiresOnlyFromTheLoopWhenDue)
{
    std::vector<TimerId> fired;
    const auto id = loop.setTimer(1000ms, [&](TimerId timer) { fired.push_back(timer); });
    ASSERT_NE(id, 0u);
    EXPECT_TRUE(loop.hasTimer(id));
    now += 999ms;
    loop.doEvents();
    EXPECT_TRUE(fired.empty());
    now += 5000ms;
    EXPECT_TRUE(fired.empty()) << "a due timer must wait for the loop";
    loop.doEvents();
    EXPECT_EQ(fired, std::vector<TimerId>{id}) << "a late timer fires once";
    loop.doEvents();
    EXPECT_EQ(fired.size(), 1u);
    // It keeps running: the next turn counts from the moment it fired.
    now += 1000ms;
    loop.doEvents();
    EXPECT_EQ(fired.size(), 2u);
}

TEST_F(MessageLoopTest, TimerThatKillsItselfFiresOnce)
{
    int calls = 0;
    const auto id = loop.setTimer(1000ms, [&](TimerId timer) {
        EXPECT_TRUE(loop.killTimer(timer));
        ++calls;
    });
    for (int i = 0; i < 3; ++i) {
        now += 1000ms;
        loop.doEvents();
    }
    EXPECT_EQ(calls, 1);
    EXPECT_FALSE(loop.hasTimer(id));
    EXPECT_FALSE(loop.killTimer(id));
}

TEST_F(MessageLoopTest, TimersRunAfterTasksAndKilledTimersNever)
{
    std::vector<std::string> order;
    const auto a = loop.setTimer(10ms, [&](TimerId) { order.push_back("timer a"); });
    const auto b = loop.setTimer(10ms, [&](TimerId) { order.push_back("timer b"); });
    EXPECT_NE(a, b);
    loop.post([&] {
        order.push_back("task");
        loop.killTimer(b);
    });
    now += 10ms;
    loop.doEvents();
    EXPECT_EQ(order, (std::vector<std::string>{"task", "timer a"}));
}

TEST_F(MessageLoopTest, BadTimersAreRefused)
{
    EXPECT_EQ(loop.setTimer(-1ms, [](TimerId) {}), 0u);
    EXPECT_EQ(loop.setTimer(10ms, nullptr), 0u);
}

TEST(MessageLoopRunTest, RunServesOtherThreadsUntilQuit)
{
    MessageLoop loop;
    std::atomic<int> ran{0};
    std::thread poster([&] {
        for (int i = 0; i < 5; ++i) {
            loop.post([&] { ++ran; });
        }
        loop.post([&] { loop.quit(); });
    });
    loop.run();
    poster.join();
    EXPECT_EQ(ran.load(), 5);
}

TEST(MessageLoopRunTest, RunWakesForATimer)
{
    MessageLoop loop;
    const auto threadId = std::this_thread::get_id();
    bool onLoopThread = false;
    loop.setTimer(20ms, [&](TimerId id) {
        onLoopThread = std::this_thread::get_id() == threadId;
        loop.killTimer(id);
        loop.quit();
    });
    loop.run();
    EXPECT_TRUE(onLoopThread);
}

TEST(MessageLoopRunTest, QuitBeforeRunEndsTheNextRun)
{
    MessageLoop loop;
    int ran = 0;
    loop.post([&] { ++ran; });
    loop.quit();
    loop.run();
    EXPECT_EQ(ran, 1);
}

TEST(MessageLoopRunTest, MainLoopIsOneObjectAndServesTheRuntimesDoEvents)
{
    auto& loop = MessageLoop::main();
    EXPECT_EQ(&loop, &MessageLoop::main());
    int ran = 0;
    loop.post([&] { ++ran; });
    platform::runtime::DoEvents();
    EXPECT_EQ(ran, 1);
    EXPECT_EQ(loop.pendingTasks(), 0u);
}

} // namespace
} // namespace platform::win
