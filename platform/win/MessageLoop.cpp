#include "platform/win/MessageLoop.h"

#include "platform/runtime/DoEvents.h"

#include <algorithm>
#include <vector>

namespace platform::win {
namespace {

// Counts one level of doEvents nesting for as long as it lives.
class DepthGuard
{
public:
    DepthGuard(int& depth, int& deepest) : depth_(depth)
    {
        ++depth_;
        deepest = std::max(deepest, depth_);
    }
    ~DepthGuard() { --depth_; }
    DepthGuard(const DepthGuard&) = delete;
    DepthGuard& operator=(const DepthGuard&) = delete;

private:
    int& depth_;
};

} // namespace

MessageLoop& MessageLoop::main()
{
    // The runtime's DoEvents processes this loop once it exists; before, nothing can be
    // pending in it.
    static MessageLoop& loop = []() -> MessageLoop& {
        static MessageLoop instance;
        platform::runtime::SetDoEventsHandler([] { instance.doEvents(); });
        return instance;
    }();
    return loop;
}

MessageLoop::MessageLoop() : MessageLoop([] { return Clock::now(); }) {}

MessageLoop::MessageLoop(NowFunction now) : now_(std::move(now)) {}

void MessageLoop::post(Task task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back({++lastSequence_, std::move(task)});
    }
    wake_.notify_all();
}

std::size_t MessageLoop::runQueuedTasks(std::uint64_t upTo)
{
    std::size_t count = 0;
    for (;;) {
        Task task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty() || tasks_.front().sequence > upTo) {
                return count;
            }
            task = std::move(tasks_.front().task);
            tasks_.pop_front();
        }
        task();
        ++count;
    }
}

std::size_t MessageLoop::runDueTimers()
{
    const auto now = now_();
    std::vector<TimerId> due;
    {
        std::lock_guard lock(mutex_);
        for (const auto& [id, timer] : timers_) {
            if (timer.due <= now) {
                due.push_back(id);
            }
        }
    }
    std::size_t count = 0;
    for (const auto id : due) {
        TimerCallback callback;
        {
            std::lock_guard lock(mutex_);
            const auto timer = timers_.find(id);
            // A callback that ran before may have killed this timer, or a nested doEvents
            // may have fired it already.
            if (timer == timers_.end() || timer->second.due > now) {
                continue;
            }
            timer->second.due = now_() + timer->second.interval;
            callback = timer->second.callback;
        }
        callback(id);
        ++count;
    }
    return count;
}

std::size_t MessageLoop::doEvents()
{
    DepthGuard guard(depth_, deepest_);
    std::uint64_t upTo = 0;
    {
        std::lock_guard lock(mutex_);
        upTo = lastSequence_;
    }
    const auto tasks = runQueuedTasks(upTo);
    return tasks + runDueTimers();
}

// Sleeps until a task is posted, a timer is due or quit is called; true when quit was called.
bool MessageLoop::idle(std::unique_lock<std::mutex>& lock)
{
    if (quit_) {
        quit_ = false;
        return true;
    }
    if (!tasks_.empty()) {
        return false;
    }
    auto wakeAt = Clock::time_point::max();
    for (const auto& [id, timer] : timers_) {
        wakeAt = std::min(wakeAt, timer.due);
    }
    // A timer started meanwhile (from another thread) may be due before wakeAt.
    const auto timersBefore = timerStarts_;
    const auto ready = [&] { return quit_ || !tasks_.empty() || timerStarts_ != timersBefore; };
    if (wakeAt == Clock::time_point::max()) {
        wake_.wait(lock, ready);
    } else {
        wake_.wait_for(lock, std::max(wakeAt - now_(), Clock::duration::zero()), ready);
    }
    if (quit_) {
        quit_ = false;
        return true;
    }
    return false;
}

void MessageLoop::run()
{
    for (;;) {
        doEvents();
        std::unique_lock lock(mutex_);
        if (idle(lock)) {
            return;
        }
    }
}

void MessageLoop::quit()
{
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
}

TimerId MessageLoop::setTimer(std::chrono::milliseconds interval, TimerCallback callback)
{
    if (interval.count() < 0 || !callback) {
        return 0;
    }
    TimerId id = 0;
    {
        std::lock_guard lock(mutex_);
        do {
            id = ++lastTimer_;
        } while (id == 0 || timers_.contains(id));
        timers_[id] = Timer{interval, now_() + interval, std::move(callback)};
        ++timerStarts_;
    }
    wake_.notify_all();
    return id;
}

bool MessageLoop::killTimer(TimerId id)
{
    std::lock_guard lock(mutex_);
    return timers_.erase(id) > 0;
}

bool MessageLoop::hasTimer(TimerId id) const
{
    std::lock_guard lock(mutex_);
    return timers_.contains(id);
}

std::size_t MessageLoop::pendingTasks() const
{
    std::lock_guard lock(mutex_);
    return tasks_.size();
}

} // namespace platform::win
