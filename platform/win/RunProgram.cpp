#include "platform/win/RunProgram.h"

#include "platform/win/detail/Spawn.h"

#include <csignal>
#include <mutex>
#include <set>

namespace platform::win {

namespace {

// The programs that runProgram waits for, so that a process that must end now ends them too.
struct Running
{
    std::mutex mutex;
    std::set<pid_t> pids;
};

Running& TheRunning()
{
    // Never destroyed: a program may still be waited for while the process ends.
    static auto* running = new Running;
    return *running;
}

// Notes the program while it is waited for.
class Waited
{
public:
    explicit Waited(pid_t pid) : pid_(pid)
    {
        std::lock_guard lock(TheRunning().mutex);
        TheRunning().pids.insert(pid_);
    }
    ~Waited()
    {
        std::lock_guard lock(TheRunning().mutex);
        TheRunning().pids.erase(pid_);
    }
    Waited(const Waited&) = delete;
    Waited& operator=(const Waited&) = delete;

private:
    pid_t pid_;
};

} // namespace

ProgramRun runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds wait)
{
    ProgramRun run;
    const auto pid = detail::spawnProgram(argv, run.error, true);
    if (!pid) {
        run.outcome = ProgramRun::Outcome::NotStarted;
        return run;
    }
    std::optional<int> status;
    {
        const Waited waited(*pid);
        status = detail::waitForExit(*pid, wait);
    }
    if (!status) {
        run.outcome = ProgramRun::Outcome::TimedOut;
        return run;
    }
    run.exitStatus = *status;
    run.outcome = *status == 0 ? ProgramRun::Outcome::Succeeded : ProgramRun::Outcome::Failed;
    return run;
}

} // namespace platform::win

namespace platform::win {

void endRunningPrograms()
{
    std::lock_guard lock(TheRunning().mutex);
    for (const pid_t pid : TheRunning().pids)
        ::kill(pid, SIGKILL);
}

} // namespace platform::win
