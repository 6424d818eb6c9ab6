#pragma once

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

namespace platform::win {

/// Identifies a thread timer of a message loop; 0 stands for "no timer".
using TimerId = std::uint32_t;

/// The host's message loop of the user-interface thread: posted tasks and thread timers run
/// only inside it (doEvents or run), never on another thread and never at the same time as
/// other code of that thread.
///
/// Thread timers behave as the host's: once started, a timer fires every interval until it is
/// killed (a one-shot timer kills itself in its callback); a due timer fires once however late
/// the loop comes to it, after the pending tasks; its next turn counts from that moment.
class MessageLoop
{
public:
    using Clock = std::chrono::steady_clock;
    /// A source of the current time; tests hand in one they move by hand.
    using NowFunction = std::function<Clock::time_point()>;
    using Task = std::function<void()>;
    using TimerCallback = std::function<void(TimerId)>;

    /// The process-wide loop of the host's user-interface thread, made on first use; from then
    /// on the runtime's DoEvents runs its doEvents.
    static MessageLoop& main();

    /// A loop on the steady clock.
    MessageLoop();
    /// A loop on the given clock.
    explicit MessageLoop(NowFunction now);
    MessageLoop(const MessageLoop&) = delete;
    MessageLoop& operator=(const MessageLoop&) = delete;

    /// Queues a task for the loop's thread. May be called from any thread.
    void post(Task task);

    /// Processes, once, the tasks that were queued when it was called and then the timers
    /// that are due; returns how many ran. It may be called again from inside a task or timer
    /// callback (the nested call handles what is still pending). An exception from a task or
    /// callback leaves the loop through doEvents; what was not yet run stays queued.
    std::size_t doEvents();

    /// How deep doEvents calls are nested right now (0 outside any).
    int doEventsDepth() const noexcept { return depth_; }

    /// The deepest nesting of doEvents calls seen so far.
    int deepestDoEvents() const noexcept { return deepest_; }

    /// Runs tasks and timers, sleeping while there is nothing to do, until quit is called.
    void run();

    /// Ends the innermost run once it has finished its current task. May be called from any
    /// thread; a quit before run makes the next run return at once.
    void quit();

    /// Starts a thread timer with the given interval; returns its identifier, or 0 when the
    /// interval is negative or there is no callback.
    TimerId setTimer(std::chrono::milliseconds interval, TimerCallback callback);

    /// Stops a timer; false when no such timer runs. Safe inside the timer's own callback.
    bool killTimer(TimerId id);

    /// Whether a timer runs.
    bool hasTimer(TimerId id) const;

    /// The number of queued tasks.
    std::size_t pendingTasks() const;

private:
    struct QueuedTask
    {
        std::uint64_t sequence;
        Task task;
    };
    struct Timer
    {
        std::chrono::milliseconds interval;
        Clock::time_point due;
        TimerCallback callback;
    };

    std::size_t runQueuedTasks(std::uint64_t upTo);
    std::size_t runDueTimers();
    bool idle(std::unique_lock<std::mutex>& lock);

    NowFunction now_;
    mutable std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<QueuedTask> tasks_;
    std::uint64_t lastSequence_ = 0;
    std::map<TimerId, Timer> timers_;
    TimerId lastTimer_ = 0;
    std::uint64_t timerStarts_ = 0;
    bool quit_ = false;
    int depth_ = 0;
    int deepest_ = 0;
};

} // namespace platform::win
