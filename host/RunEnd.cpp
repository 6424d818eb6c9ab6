#include "host/RunEnd.h"

#include "host/HostTexts.h"
#include "platform/printing/BackgroundPrint.h"
#include "platform/runtime/ReplacingFile.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <ostream>
#include <pthread.h>
#include <string>

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

// Taken for good by the thread that ends the process, so that only one of them ends it.
std::mutex& ExitMutex()
{
    static auto* pMutex = new std::mutex;
    return *pMutex;
}

// Held while a line of the end goes to the error stream, and for good by the thread that cuts
// the end short: the ending thread and the listener may both tell at once (a terminal or
// `timeout` sends a signal to the process and then to its group), and neither line may come
// in pieces or run into the other.
std::mutex& LineMutex()
{
    static auto* pMutex = new std::mutex;
    return *pMutex;
}

std::string Line(const std::string& sText)
{
    return "tallyman: " + sText + "\n";
}

// Waits for good: another thread ends the process.
[[noreturn]] void WaitForTheEnd()
{
    for (;;)
        std::this_thread::sleep_for(std::chrono::hours(1));
}

} // namespace

RunEnd::RunEnd(std::ostream& out, std::ostream& err) : m_out(out), m_err(err)
{
    sigset_t set = EndingSignals();
    sigaddset(&set, kStopWaiting);
    // Every thread started from here on inherits the mask; only the listener takes them.
    pthread_sigmask(SIG_BLOCK, &set, nullptr);
    g_pCurrent = this;
    m_listener = std::thread([this] { WaitForSignals(); });
}

RunEnd::~RunEnd()
{
    pthread_kill(m_listener.native_handle(), kStopWaiting);
    m_listener.join();
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

bool RunEnd::BeginEnd()
{
    std::unique_lock lock(m_stateMutex);
    switch (m_eState) {
    case State::Running:
        m_eState = State::Ending;
        return true;
    case State::Signaled:
        // The ending thread runs the steps and ends the process.
        lock.unlock();
        WaitForTheEnd();
    case State::Ending:
    case State::Done:
        break;
    }
    return false;
}

void RunEnd::RunSteps()
{
    {
        std::lock_guard lock(m_stepsMutex);
        for (const auto& fnStep : m_steps)
            fnStep();
    }
    m_out << std::flush;
    std::unique_lock lock(m_stateMutex);
    m_eState = State::Done;
    if (m_bCutShort) {
        // A signal cut the steps short: the thread that heard it ends the process.
        lock.unlock();
        WaitForTheEnd();
    }
}

int RunEnd::Finish()
{
    if (BeginEnd())
        RunSteps();
    return m_nCode.load();
}

void RunEnd::Leave(ExitCode eCode)
{
    Note(eCode);
    if (BeginEnd())
        RunSteps();
    Exit(m_nCode.load());
}

void RunEnd::Exit(int nCode)
{
    ExitMutex().lock();
    m_out << std::flush;
    m_err << std::flush;
    // What a held thread began to write since is not left behind.
    platform::runtime::ReplacingFile::EndOtherWrites();
    std::_Exit(nCode);
}

void RunEnd::EndBySignal(int nSignal)
{
    // No other thread puts a file into place from now on; a save under way is either whole
    // or not done.
    platform::runtime::ReplacingFile::EndOtherWrites();
    {
        std::lock_guard lock(LineMutex());
        m_err << Line(Say(HostText::EndedBySignal, {SignalName(nSignal)})) << std::flush;
    }
    RunSteps();
    Exit(SignalExitCode(nSignal));
}

void RunEnd::CutShort(int nSignal)
{
    ExitMutex().lock();
    int nFirst = 0;
    bool bSecond = false;
    {
        std::lock_guard lock(m_stateMutex);
        bSecond = m_nFirstSignal != 0;
        nFirst = bSecond ? m_nFirstSignal : nSignal;
        m_nFirstSignal = nFirst;
        m_bCutShort = true;
    }
    // The steps under way go no further: their saves are held (what they did not put back,
    // a note still holds for the next start), the prints they wait for are cut off.
    platform::runtime::ReplacingFile::EndOtherWrites();
    const char* pName = SignalName(nSignal);
    std::string sLines =
        Line(Say(bSecond ? HostText::EndCutShort : HostText::EndedBySignal, {pName}));
    for (const auto& oPrint :
         platform::printing::CutOffBackgroundPrints(Say(HostText::PrintCutOff, {pName})))
        sLines += Line(Say(HostText::NotPrinted, {oPrint.file, oPrint.printer, oPrint.reason}));
    // A line of the ending thread under way is finished first; none begins after.
    LineMutex().lock();
    m_out << std::flush;
    m_err << sLines << std::flush;
    std::_Exit(SignalExitCode(nFirst));
}

void RunEnd::Heard(int nSignal)
{
    {
        std::lock_guard lock(m_stateMutex);
        if (m_eState == State::Running) {
            m_eState = State::Signaled;
            m_nFirstSignal = nSignal;
            // The steps run on a thread of their own, so that the listener hears the next
            // signal while they wait.
            std::thread([this, nSignal] { EndBySignal(nSignal); }).detach();
            return;
        }
    }
    CutShort(nSignal);
}

void RunEnd::WaitForSignals()
{
    sigset_t set = EndingSignals();
    sigaddset(&set, kStopWaiting);
    for (;;) {
        int nSignal = 0;
        if (sigwait(&set, &nSignal) != 0 || nSignal == 0)
            continue;
        if (nSignal == kStopWaiting) {
            // An ending signal that came with the stop still ends the run by its own code.
            const sigset_t ending = EndingSignals();
            const timespec none{};
            nSignal = sigtimedwait(&ending, nullptr, &none);
            if (nSignal <= 0)
                return;
        }
        Heard(nSignal);
    }
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
