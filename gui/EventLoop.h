#pragma once

#include <QObject>
#include <QTimer>

#include <chrono>
#include <functional>

namespace gui {

/// One event loop for the desktop and the platform: while it lives, Qt's event loop also
/// runs the platform's message loop (posted tasks and thread timers, on a short pump timer),
/// and the runtime's DoEvents processes Qt's pending events as well as the platform's. So a
/// read that calls DoEvents keeps the windows painted and their clicks arriving, and the
/// add-in's timers fire while a modal dialog or the client window waits for the person.
/// Make it after the QApplication; one at a time.
class EventLoop : public QObject
{
    Q_OBJECT
public:
    EventLoop();
    ~EventLoop() override;
    EventLoop(const EventLoop&) = delete;
    EventLoop& operator=(const EventLoop&) = delete;

    /// Runs Qt's loop (and with it the platform's) for the given time.
    static void RunFor(std::chrono::milliseconds duration);
    /// Runs Qt's loop until done() is true or the time is up; answers done().
    static bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout);

private:
    void Pump();
    QTimer m_pump;
};

} // namespace gui
