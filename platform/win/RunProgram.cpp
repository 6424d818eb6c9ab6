#include "platform/win/RunProgram.h"

#include "platform/win/detail/Spawn.h"

#include <csignal>
#include <cstring>
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
    const std::string name = argv.empty() ? std::string() : argv.front();
    int error = 0;
    const auto pid = detail::spawnProgram(argv, error, true);
    if (!pid)
        return {false, "\"" + name + "\" could not be started: " + std::strerror(error)};
    std::optional<int> status;
    {
        const Waited waited(*pid);
        status = detail::waitForExit(*pid, wait);
    }
    if (!status)
        return {false, "\"" + name + "\" did not finish in time"};
    if (*status != 0)
        return {false, "\"" + name + "\" failed with exit status " + std::to_string(*status)};
    return {true, {}};
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
