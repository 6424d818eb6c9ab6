#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform::win {

/// How a program run to its end went.
struct ProgramRun
{
    /// True when the program was started and ended with exit status 0 within the wait.
    bool succeeded = false;
    /// A sentence on the failure for logs and messages (not found, exit status, still
    /// running); empty on success.
    std::string detail;
};

/// Runs a program (argv[0], searched on PATH when it has no "/") with the argument vector, no
/// command interpreter in between, its input from and its output to /dev/null, and waits up
/// to `wait` for it to end. A program still running then is left to end on its own (and
/// reaped) and counts as failed.
ProgramRun runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds wait);

/// Ends at once (SIGKILL) every program that a runProgram call waits for now, for a process
/// that must end without waiting for them. Those calls answer a failure.
void endRunningPrograms();

} // namespace platform::win
