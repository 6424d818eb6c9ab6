#pragma once

#include "host/ExitCodes.h"

#include <atomic>
#include <functional>
#include <iosfwd>
#include <list>
#include <mutex>
#include <string>
#include <thread>
#include <utility>

namespace host {

/// How a run of the host ends, whichever way it ends: a clean end, an answers file or input
/// that ends the run, or SIGINT, SIGTERM or SIGHUP. Each way runs the same steps once (the
/// host undoes its own changes to the templates, waits for the prints it announced and tells
/// how they went) and leaves with the code that says what happened (ExitCodes.h).
///
/// One per process, made at the start of main before any other thread: it blocks those
/// signals in every thread and waits for them on a thread of its own, so that the steps run
/// as ordinary code, not in a signal handler. A second signal while the steps run ends the
/// process at once.
class RunEnd
{
public:
    /// The end steps say on out what they did; the end by a signal is said on err.
    RunEnd(std::ostream& out, std::ostream& err);
    ~RunEnd();
    RunEnd(const RunEnd&) = delete;
    RunEnd& operator=(const RunEnd&) = delete;

    /// The run's end of this process; null when there is none (a test that runs a host in
    /// its own process).
    static RunEnd* Current();

    using Step = std::function<void()>;
    /// A step of the end while the handle lives.
    class Handle
    {
    public:
        Handle() = default;
        Handle(RunEnd* pEnd, std::list<Step>::iterator it) : m_pEnd(pEnd), m_it(it) {}
        Handle(Handle&& o) noexcept : m_pEnd(std::exchange(o.m_pEnd, nullptr)), m_it(o.m_it) {}
        Handle& operator=(Handle&& o) noexcept;
        ~Handle();

    private:
        RunEnd* m_pEnd = nullptr;
        std::list<Step>::iterator m_it;
    };
    /// Adds a step; the steps run newest first. The step must not throw.
    [[nodiscard]] Handle AtEnd(Step fnStep);

    /// Notes a code the run is to end with; the most pressing one noted wins (see ExitCode).
    void Note(ExitCode eCode);
    /// Runs the steps (once) and answers the code the run ends with.
    int Finish();
    /// Ends the process now: the steps (once), the streams flushed, then exit with eCode or
    /// a more pressing code noted before.
    [[noreturn]] void Leave(ExitCode eCode);

    /// The more pressing of two exit codes: a signal's first, then the lowest one that is not
    /// zero.
    static int MorePressing(int nA, int nB);

private:
    void WaitForSignals();
    void RunSteps();
    [[noreturn]] void EndBySignal(int nSignal);

    std::ostream& m_out;
    std::ostream& m_err;
    std::mutex m_mutex; // held while the steps run
    std::mutex m_stepsMutex;
    std::list<Step> m_steps;
    bool m_bDone = false;
    std::atomic<int> m_nCode{0};
    std::thread m_thread;
};

} // namespace host

namespace host {

/// The prints that went to the printer in the background and failed since the last call, one
/// line each in the host's language (the file, the queue and why); empty when none failed.
std::string PrintFailureText();
/// Waits for the prints that went to the printer in the background, saying so on out while
/// one is under way, then tells those that failed.
void WaitForPrints(std::ostream& out);

} // namespace host
