#include "host/RunEnd.h"

#include "host/HostTexts.h"
#include "platform/printing/BackgroundPrint.h"
#include "platform/runtime/ReplacingFile.h"

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <pthread.h>

namespace host {

namespace {

RunEnd* g_pCurrent = nullptr;

// Stops the thread that waits for the signals when the run's end goes first.
constexpr int kStopWaiting = SIGUSR2;

sigset_t EndingSignals()
{
    sigset_t set;
    sigemptyset(&set);
    for (const int nSignal : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, nSignal);
    return set;
}

const char* SignalName(int nSignal)
{
    switch (nSignal) {
    case SIGINT:
        return "SIGINT";
    case SIGTERM:
        return "SIGTERM";
    case SIGHUP:
        return "SIGHUP";
    default:
        return "?";
    }
}

} // namespace

RunEnd::RunEnd(std::ostream& out, std::ostream& err) : m_out(out), m_err(err)
{
    sigset_t set = EndingSignals();
    sigaddset(&set, kStopWaiting);
    // Every thread started from here on inherits the mask; only the waiting thread takes them.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    g_pCurrent = this;
    m_thread = std::thread([this] { WaitForSignals(); });
}

RunEnd::~RunEnd()
{
    pthread_kill(m_thread.native_handle(), kStopWaiting);
    m_thread.join();
    g_pCurrent = nullptr;
}

RunEnd* RunEnd::Current()
{
    return g_pCurrent;
}

RunEnd::Handle& RunEnd::Handle::operator=(Handle&& o) noexcept
{
    if (this != &o) {
        this->~Handle();
        m_pEnd = std::exchange(o.m_pEnd, nullptr);
        m_it = o.m_it;
    }
    return *this;
}

RunEnd::Handle::~Handle()
{
    if (!m_pEnd)
        return;
    std::lock_guard lock(m_pEnd->m_stepsMutex);
    m_pEnd->m_steps.erase(m_it);
    m_pEnd = nullptr;
}

RunEnd::Handle RunEnd::AtEnd(Step fnStep)
{
    std::lock_guard lock(m_stepsMutex);
    m_steps.push_front(std::move(fnStep));
    return Handle(this, m_steps.begin());
}

int RunEnd::MorePressing(int nA, int nB)
{
    const auto bSignal = [](int n) { return n > 128; };
    if (bSignal(nA) || bSignal(nB))
        return bSignal(nA) ? nA : nB;
    if (nA == 0 || nB == 0)
        return nA == 0 ? nB : nA;
    return nA < nB ? nA : nB;
}

void RunEnd::Note(ExitCode eCode)
{
    int nNow = m_nCode.load();
    while (!m_nCode.compare_exchange_weak(nNow, MorePressing(nNow, ToInt(eCode))))
        ;
}

void RunEnd::RunSteps()
{
    if (m_bDone)
        return;
    m_bDone = true;
    std::lock_guard lock(m_stepsMutex);
    for (const auto& fnStep : m_steps)
        fnStep();
    m_out << std::flush;
}

int RunEnd::Finish()
{
    std::lock_guard lock(m_mutex);
    RunSteps();
    return m_nCode.load();
}

void RunEnd::Leave(ExitCode eCode)
{
    Note(eCode);
    // Held for good: a signal that comes now waits for this end.
    m_mutex.lock();
    RunSteps();
    m_out << std::flush;
    m_err << std::flush;
    std::_Exit(m_nCode.load());
}

void RunEnd::EndBySignal(int nSignal)
{
    m_mutex.lock();
    // No other thread puts a file into place from now on; a save under way is either whole
    // or not done.
    platform::runtime::ReplacingFile::EndOtherWrites();
    m_err << "tallyman: " << Say(HostText::EndedBySignal, {SignalName(nSignal)}) << "\n"
          << std::flush;
    // A second signal ends the process at once, the steps unfinished.
    const sigset_t set = EndingSignals();
    for (const int n : {SIGINT, SIGTERM, SIGHUP})
        std::signal(n, SIG_DFL);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    RunSteps();
    m_out << std::flush;
    m_err << std::flush;
    std::_Exit(SignalExitCode(nSignal));
}

void RunEnd::WaitForSignals()
{
    sigset_t set = EndingSignals();
    sigaddset(&set, kStopWaiting);
    int nSignal = 0;
    while (sigwait(&set, &nSignal) != 0 || nSignal == 0)
        ;
    if (nSignal == kStopWaiting) {
        // An ending signal that came with the stop still ends the run by its own code.
        const sigset_t ending = EndingSignals();
        const timespec none{};
        nSignal = sigtimedwait(&ending, nullptr, &none);
        if (nSignal <= 0)
            return;
    }
    EndBySignal(nSignal);
}

std::string PrintFailureText()
{
    std::string sText;
    for (const auto& oFailure : platform::printing::TakeBackgroundPrintFailures())
        sText +=
            Say(HostText::NotPrinted, {oFailure.file, oFailure.printer, oFailure.reason}) + "\n";
    return sText;
}

void WaitForPrints(std::ostream& out)
{
    if (platform::printing::BackgroundPrintsRunning())
        out << Say(HostText::WaitingForPrints) << "\n" << std::flush;
    platform::printing::WaitForBackgroundPrints();
    out << PrintFailureText() << std::flush;
}

} // namespace host
