#include "platform/win/RunProgram.h"

#include "platform/win/detail/Spawn.h"

#include <cstring>

namespace platform::win {

ProgramRun runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds wait)
{
    const std::string name = argv.empty() ? std::string() : argv.front();
    int error = 0;
    const auto pid = detail::spawnProgram(argv, error, true);
    if (!pid)
        return {false, "\"" + name + "\" could not be started: " + std::strerror(error)};
    const auto status = detail::waitForExit(*pid, wait);
    if (!status)
        return {false, "\"" + name + "\" did not finish in time"};
    if (*status != 0)
        return {false, "\"" + name + "\" failed with exit status " + std::to_string(*status)};
    return {true, {}};
}

} // namespace platform::win
