#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace platform::win {

/// How a program run to its end went. The caller words a failure for its reader, in the
/// reader's language.
struct ProgramRun
{
    enum class Outcome
    {
        Succeeded,  ///< started and ended with exit status 0 within the wait
        NotStarted, ///< could not be started; `error` says why (errno: ENOENT when not found)
        TimedOut,   ///< still running when the wait was over
        Failed,     ///< ended with `exitStatus` other than 0 (128 + n: ended by signal n)
    };

    Outcome outcome = Outcome::NotStarted;
    int error = 0;
    int exitStatus = 0;

    bool succeeded() const { return outcome == Outcome::Succeeded; }
};

/// Runs a program (argv[0], searched on PATH when it has no "/") with the argument vector, no
/// command interpreter in between, its input from and its output to /dev/null, and waits up
/// to `wait` for it to end. A program still running then is left to end on its own (and
/// reaped) and counts as timed out.
ProgramRun runProgram(const std::vector<std::string>& argv, std::chrono::milliseconds wait);

/// Ends at once (SIGKILL) every program that a runProgram call waits for now, for a process
/// that must end without waiting for them. Those calls answer a failure.
void endRunningPrograms();

} // namespace platform::win
