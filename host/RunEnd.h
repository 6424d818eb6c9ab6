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
/// signals in every thread and waits for them on a thread of its own that only listens. A
/// signal while the run goes on hands the steps to a thread of their own (the ending thread),
/// which becomes the one thread that may still put a file into place
/// (ReplacingFile::EndOtherWrites). A signal while the steps run, on whichever thread, cuts
/// the end short at once: the prints under way are cut off and told, the writes under way
/// are held and their temporary files removed, and the process ends with the code of the
/// first signal. The listener takes no lock that a step holds while it waits, so no signal can
/// hang the end.
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
    /// Runs the steps (once) and answers the code the run ends with. When a signal ends the
    /// run meanwhile, the process ends on the thread that ends it and this never returns.
    int Finish();
    /// Ends the process now: the steps (once), the streams flushed, then exit with eCode or
    /// a more pressing code noted before.
    [[noreturn]] void Leave(ExitCode eCode);

    /// The more pressing of two exit codes: a signal's first, then the lowest one that is not
    /// zero.
    static int MorePressing(int nA, int nB);

private:
    enum class State
    {
        Running,  // no end has begun
        Ending,   // the steps run on the thread of a clean end
        Signaled, // the steps run on the ending thread
        Done,     // the steps ran; the process is about to leave
    };

    void WaitForSignals();
    void Heard(int nSignal);
    bool BeginEnd();
    void RunSteps();
    [[noreturn]] void EndBySignal(int nSignal);
    [[noreturn]] void CutShort(int nSignal);
    [[noreturn]] void Exit(int nCode);

    std::ostream& m_out;
    std::ostream& m_err;
    std::mutex m_stateMutex; // held only to read or change the state
    State m_eState = State::Running;
    int m_nFirstSignal = 0;
    bool m_bCutShort = false;
    std::mutex m_stepsMutex;
    std::list<Step> m_steps;
    std::atomic<int> m_nCode{0};
    std::thread m_listener;
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
