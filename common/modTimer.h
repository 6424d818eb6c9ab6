#pragma once

#include <cstdint>
#include <memory>

namespace common {

/// The object the start-up timer calls back (the add-in's root object).
class ITimerCallback
{
public:
    virtual ~ITimerCallback() = default;
    /// Called on each tick until the callback stops the timer.
    virtual void OnStartTimer() = 0;
};

} // namespace common

/// The one start-up timer: a thread timer of the user-interface thread, fired from the
/// host's message loop.
namespace common::modTimer {

/// The timer message.
inline constexpr std::uint32_t WM_TIMER = 0x113;

/// Starts the timer with the callback and the interval. False, with nothing changed, when a
/// timer already runs or none can be had. The timer holds the callback without owning it.
bool StartTimer(const std::shared_ptr<ITimerCallback>& oCallback, std::int32_t lInterval);

/// Stops the timer, if one runs, and forgets its callback.
void StopTimer();

/// The timer procedure: on a timer message calls the callback, or stops the timer when the
/// callback is gone; other messages do nothing.
void TimerProc(std::int64_t lHwnd, std::uint32_t uMsg, std::int64_t lTimerID, std::uint32_t lTime);

/// The running timer's identifier, 0 when none runs.
std::int64_t TimerID();

} // namespace common::modTimer
