#include "common/modTimer.h"

#include "platform/win/MessageLoop.h"

#include <chrono>

namespace common::modTimer {
namespace {

namespace win = platform::win;

struct State
{
    win::TimerId lTimerID = 0;
    std::weak_ptr<ITimerCallback> oCallback;
};

State& S()
{
    static State oState;
    return oState;
}

} // namespace

bool StartTimer(const std::shared_ptr<ITimerCallback>& oCallback, std::int32_t lInterval)
{
    auto& s = S();
    if (s.lTimerID != 0)
        return false;
    s.lTimerID =
        win::MessageLoop::main().setTimer(std::chrono::milliseconds(lInterval),
                                          [](win::TimerId lID) { TimerProc(0, WM_TIMER, lID, 0); });
    if (s.lTimerID == 0)
        return false;
    s.oCallback = oCallback;
    return true;
}

void StopTimer()
{
    auto& s = S();
    if (s.lTimerID == 0)
        return;
    win::MessageLoop::main().killTimer(s.lTimerID);
    s.lTimerID = 0;
    s.oCallback.reset();
}

void TimerProc(std::int64_t, std::uint32_t uMsg, std::int64_t, std::uint32_t)
{
    if (uMsg != WM_TIMER)
        return;
    auto oCallback = S().oCallback.lock();
    if (!oCallback) {
        StopTimer();
        return;
    }
    oCallback->OnStartTimer();
}

std::int64_t TimerID()
{
    return S().lTimerID;
}

} // namespace common::modTimer
