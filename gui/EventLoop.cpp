#include "gui/EventLoop.h"

#include "platform/runtime/DoEvents.h"
#include "platform/win/MessageLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <chrono>
#include <exception>
#include <memory>

namespace gui {
namespace {

// How often Qt's loop gives the platform's loop a turn: short enough for the add-in's timers
// to keep their intervals within a few milliseconds.
constexpr int kPumpMilliseconds = 5;

// A read calls DoEvents once per item: 100,000 times in a large one, where a turn of Qt's loop
// (a poll of every source) took a fifth of the read. Within such a run of calls, each within
// kRunGap of the one before, Qt's events are processed by the first kRunCalls calls and then
// once per kRunGap, which keeps the windows painted and their input arriving. A call after a
// pause starts a new run, so that code that calls DoEvents once, to let a change show, sees it
// shown; the platform's own loop runs on every call.
class DoEventsPace
{
public:
    bool QtEventsDue()
    {
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastCall >= kRunGap)
            m_calls = 0;
        m_lastCall = now;
        if (++m_calls <= kRunCalls || now - m_lastProcessed >= kRunGap) {
            m_lastProcessed = now;
            return true;
        }
        return false;
    }

private:
    static constexpr auto kRunGap = std::chrono::milliseconds(1);
    static constexpr int kRunCalls = 64;
    std::chrono::steady_clock::time_point m_lastCall{};
    std::chrono::steady_clock::time_point m_lastProcessed{};
    int m_calls = 0;
};

} // namespace

EventLoop::EventLoop()
{
    // Made here so that its own DoEvents handler is installed first and replaced below.
    platform::win::MessageLoop::main();
    connect(&m_pump, &QTimer::timeout, this, &EventLoop::Pump);
    m_pump.start(kPumpMilliseconds);
    // The runtime calls a copy of the handler: the pace is kept outside it.
    platform::runtime::SetDoEventsHandler([pace = std::make_shared<DoEventsPace>()] {
        if (pace->QtEventsDue())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        platform::win::MessageLoop::main().doEvents();
    });
}

EventLoop::~EventLoop()
{
    platform::runtime::SetDoEventsHandler([] { platform::win::MessageLoop::main().doEvents(); });
}

void EventLoop::Pump()
{
    // An error that a task or timer of the add-in let out must not unwind through Qt's loop;
    // the rest of the queue runs on the next turn.
    try {
        platform::win::MessageLoop::main().doEvents();
    } catch (const std::exception& e) {
        qWarning("tallyman: %s", e.what());
    }
}

void EventLoop::RunFor(std::chrono::milliseconds duration)
{
    QEventLoop loop;
    QTimer::singleShot(static_cast<int>(duration.count()), &loop, &QEventLoop::quit);
    loop.exec();
}

bool EventLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout)
{
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < timeout.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents,
                                        kPumpMilliseconds);
    }
    return done();
}

} // namespace gui
