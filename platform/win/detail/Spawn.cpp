#include "platform/win/detail/Spawn.h"

#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace platform::win::detail {
namespace {

// Frees the spawn attributes on every way out.
class FileActions
{
public:
    FileActions() { ::posix_spawn_file_actions_init(&actions_); }
    ~FileActions() { ::posix_spawn_file_actions_destroy(&actions_); }
    FileActions(const FileActions&) = delete;
    FileActions& operator=(const FileActions&) = delete;
    posix_spawn_file_actions_t* get() { return &actions_; }

private:
    posix_spawn_file_actions_t actions_{};
};

// A program starts with no signal blocked and each with its default action, as a shell starts
// it, whatever this process blocks (the host waits for its ending signals on a thread).
class Attributes
{
public:
    Attributes()
    {
        ::posix_spawnattr_init(&attr_);
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGUSR2, SIGPIPE})
            sigaddset(&defaults, signal);
        ::posix_spawnattr_setsigmask(&attr_, &none);
        ::posix_spawnattr_setsigdefault(&attr_, &defaults);
        ::posix_spawnattr_setflags(&attr_, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    }
    ~Attributes() { ::posix_spawnattr_destroy(&attr_); }
    Attributes(const Attributes&) = delete;
    Attributes& operator=(const Attributes&) = delete;
    posix_spawnattr_t* get() { return &attr_; }

private:
    posix_spawnattr_t attr_{};
};

} // namespace

std::optional<pid_t> spawnProgram(const std::vector<std::string>& argv, int& error, bool quiet)
{
    if (argv.empty() || argv.front().empty()) {
        error = EINVAL;
        return std::nullopt;
    }
    std::vector<char*> args;
    for (const auto& arg : argv) {
        args.push_back(const_cast<char*>(arg.c_str()));
    }
    args.push_back(nullptr);
    FileActions actions;
    ::posix_spawn_file_actions_addopen(actions.get(), STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (quiet) {
        ::posix_spawn_file_actions_addopen(actions.get(), STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_addopen(actions.get(), STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }
    pid_t pid = 0;
    Attributes attributes;
    error = ::posix_spawnp(&pid, args[0], actions.get(), attributes.get(), args.data(), environ);
    if (error != 0) {
        return std::nullopt;
    }
    return pid;
}

std::optional<int> waitForExit(pid_t pid, std::chrono::milliseconds wait)
{
    const auto until = std::chrono::steady_clock::now() + wait;
    for (;;) {
        int status = 0;
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
        }
        if (done < 0 && errno != EINTR) {
            // Someone else collected it; nothing tells how it ended.
            return std::nullopt;
        }
        if (std::chrono::steady_clock::now() >= until) {
            reapInBackground(pid);
            return std::nullopt;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

void reapInBackground(pid_t pid)
{
    std::thread([pid] {
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    }).detach();
}

} // namespace platform::win::detail
