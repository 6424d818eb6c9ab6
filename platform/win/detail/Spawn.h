#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace platform::win::detail {

/// Starts a program (argv[0], searched on PATH when it has no "/") with the argument vector,
/// standard input from /dev/null (and standard output and error too when `quiet`). Returns
/// its process id, or nothing with `error` set.
std::optional<pid_t> spawnProgram(const std::vector<std::string>& argv, int& error,
                                  bool quiet = false);

/// Waits up to `wait` for a process to end; its exit status (128 + signal for a killed one),
/// or nothing when it still runs, in which case it is reaped in the background.
std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds wait);

/// Lets a process run on and collects its exit in the background, so it leaves no zombie.
void reapInBackground(pid_t pid);

} // namespace platform::win::detail
