#include "platform/win/RunProgram.h"

#include "platform/win/detail/Spawn.h"

namespace platform::win {

ProgramRun runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds wait)
{
    ProgramRun run;
    const auto pid = detail::spawnProgram(argv, run.error, true);
    if (!pid) {
        run.outcome = ProgramRun::Outcome::NotStarted;
        return run;
    }
    const auto status = detail::waitForExit(*pid, wait);
    if (!status) {
        run.outcome = ProgramRun::Outcome::TimedOut;
        return run;
    }
    run.exitStatus = *status;
    run.outcome = *status == 0 ? ProgramRun::Outcome::Succeeded : ProgramRun::Outcome::Failed;
    return run;
}

} // namespace platform::win
