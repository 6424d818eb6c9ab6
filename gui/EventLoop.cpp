#include "gui/EventLoop.h"

#include "platform/runtime/DoEvents.h"
#include "platform/win/MessageLoop.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <exception>

namespace gui {
namespace {

// How often Qt's loop gives the platform's loop a turn: short enough for the add-in's timers
// to keep their intervals within a few milliseconds.
constexpr int kPumpMilliseconds = 5;

} // namespace

EventLoop::EventLoop()
{
    // Made here so that its own DoEvents handler is installed first and replaced below.
    platform::win::MessageLoop::main();
    connect(&m_pump, &QTimer::timeout, this, &EventLoop::Pump);
    m_pump.start(kPumpMilliseconds);
    platform::runtime::SetDoEventsHandler([] {
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
