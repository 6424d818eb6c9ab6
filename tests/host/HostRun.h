#pragma once

// Runs the host executable as a person would from a shell and collects what it prints.
#include <array>
#include <cstdio>
#include <filesystem>
#include <string>
#include <sys/wait.h>

namespace host_test {

struct RunResult
{
    int exitCode = -1;
    std::string output;
};

/// Runs a shell command line and collects its output (stdout and stderr).
inline RunResult RunShell(const std::string& sCommand)
{
    RunResult r;
    FILE* pPipe = popen((sCommand + " 2>&1").c_str(), "r");
    if (!pPipe)
        return r;
    std::array<char, 4096> buf{};
    while (std::fgets(buf.data(), static_cast<int>(buf.size()), pPipe))
        r.output += buf.data();
    const int status = pclose(pPipe);
    r.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return r;
}

/// Runs tallyman with sArgs, a fresh data folder oDataRoot, TZ pinned and an English locale
/// (whatever the caller's own is); sInput, when given, is what the person types (one command a
/// line, no quotes); sEnv is put before the command and so may name another locale.
inline RunResult RunTallyman(const std::filesystem::path& oDataRoot, const std::string& sArgs,
                             const std::string& sInput = {}, const std::string& sEnv = {})
{
    const std::string sFeed = sInput.empty() ? "" : "printf '" + sInput + "' | ";
    return RunShell(sFeed + "LC_ALL= LC_MESSAGES= LANG=C.UTF-8 " + sEnv + " XDG_CONFIG_HOME='" + oDataRoot.string() +
                    "' TZ=Europe/Berlin '" TV_TALLYMAN_PATH "' " + sArgs);
}

} // namespace host_test
