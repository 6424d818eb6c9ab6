#include "platform/win/ProcessShell.h"

#include "platform/win/detail/ShellRules.h"
#include "platform/win/detail/Spawn.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace platform::win {
namespace {

using detail::ShellTarget;
using detail::ShellVerb;

ShellResult failure(int error, std::string detail)
{
    return {false, error, std::move(detail)};
}

// A local path as an absolute one, so that a name starting with "-" is never an option.
std::string argumentFor(const std::string& file, ShellTarget target)
{
    if (target == ShellTarget::Url) {
        return file;
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(file, error);
    return error ? file : absolute.string();
}

// Starts a program, or a launcher when `wait` is given, whose exit status then decides.
ShellResult start(const std::vector<std::string>& argv,
                  std::optional<std::chrono::milliseconds> wait)
{
    int error = 0;
    const auto pid = detail::spawnProgram(argv, error);
    if (!pid) {
        return failure(error, "cannot start \"" + argv.front() + "\": " + std::strerror(error));
    }
    if (!wait) {
        detail::reapInBackground(*pid);
        return {true, 0, {}};
    }
    const auto status = detail::waitForExit(*pid, *wait);
    if (status && *status != 0) {
        return failure(EIO, "\"" + argv.front() + "\" could not handle \"" + argv.back() +
                                "\" (exit status " + std::to_string(*status) + ")");
    }
    return {true, 0, {}};
}

} // namespace

ProcessShell::ProcessShell() = default;

ProcessShell::ProcessShell(Launchers launchers) : launchers_(std::move(launchers)) {}

ShellResult ProcessShell::launchFor(const std::vector<std::string>& launcher,
                                    const std::string& file)
{
    auto argv = launcher;
    argv.push_back(file);
    return start(argv, launchers_.wait);
}

ShellResult ProcessShell::openDocument(const std::string& file)
{
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Open, file, {}, target)) {
        return *refused;
    }
    if (target == ShellTarget::Program) {
        return start({file}, std::nullopt);
    }
    return launchFor(launchers_.open, argumentFor(file, target));
}

ShellResult ProcessShell::printDocument(const std::string& file)
{
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Print, file, {}, target)) {
        return *refused;
    }
    return launchFor(launchers_.print, argumentFor(file, target));
}

ShellResult ProcessShell::run(const std::string& file, const std::string& parameters)
{
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Run, file, parameters, target)) {
        return *refused;
    }
    if (target != ShellTarget::Program) {
        return launchFor(launchers_.open, argumentFor(file, target));
    }
    auto argv = splitParameters(parameters);
    argv.insert(argv.begin(), file);
    return start(argv, std::nullopt);
}
std::vector<std::string> ProcessShell::splitParameters(const std::string& parameters)
{
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;
    bool quoted = false;
    for (std::size_t i = 0; i < parameters.size(); ++i) {
        const char c = parameters[i];
        if (c == '\\') {
            // Backslashes are literal unless they come before a quote.
            std::size_t count = 0;
            while (i < parameters.size() && parameters[i] == '\\') {
                ++count;
                ++i;
            }
            if (i < parameters.size() && parameters[i] == '"') {
                current.append(count / 2, '\\');
                if (count % 2 == 1) {
                    current += '"';
                } else {
                    quoted = !quoted;
                }
            } else {
                current.append(count, '\\');
                --i;
            }
            inArgument = true;
        } else if (c == '"') {
            quoted = !quoted;
            inArgument = true;
        } else if ((c == ' ' || c == '\t') && !quoted) {
            if (inArgument) {
                arguments.push_back(std::move(current));
                current.clear();
                inArgument = false;
            }
        } else {
            current += c;
            inArgument = true;
        }
    }
    if (inArgument) {
        arguments.push_back(std::move(current));
    }
    return arguments;
}

} // namespace platform::win
