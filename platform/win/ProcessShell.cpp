#include "platform/win/ProcessShell.h"

#include "platform/locale/Locale.h"

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

// The shell's words follow the language of the current locale.
std::string say(const char* english, const char* german)
{
    return locale::Current().languageCode == "de" ? german : english;
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
    // A launcher reports by its exit status; what it writes is for no one (it would land in
    // the middle of the caller's terminal).
    const auto pid = detail::spawnProgram(argv, error, wait.has_value());
    if (!pid) {
        return failure(error, say("cannot start \"", "\"") + argv.front() +
                                  say("\": ", "\" kann nicht gestartet werden: ") +
                                  std::strerror(error));
    }
    if (!wait) {
        detail::reapInBackground(*pid);
        return {true, 0, {}};
    }
    const auto status = detail::waitForExit(*pid, *wait);
    if (status && *status != 0) {
        return failure(EIO, "\"" + argv.front() + say("\" could not handle \"", "\" konnte \"") +
                                argv.back() +
                                say("\" (exit status ", "\" nicht öffnen (Exit-Status ") +
                                std::to_string(*status) + ")");
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

ShellResult ProcessShell::openDocument(const std::string& quotedFile)
{
    const auto file = detail::unquoted(quotedFile);
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Open, file, {}, target)) {
        return *refused;
    }
    if (target == ShellTarget::Program) {
        return start({file}, std::nullopt);
    }
    return launchFor(launchers_.open, argumentFor(file, target));
}

ShellResult ProcessShell::printDocument(const std::string& quotedFile)
{
    const auto file = detail::unquoted(quotedFile);
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Print, file, {}, target)) {
        return *refused;
    }
    return launchFor(launchers_.print, argumentFor(file, target));
}

ShellResult ProcessShell::run(const std::string& quotedFile, const std::string& parameters)
{
    const auto file = detail::unquoted(quotedFile);
    const auto target = detail::classifyShellTarget(file);
    if (auto refused = detail::refuseShellRequest(ShellVerb::Run, file, parameters, target)) {
        return *refused;
    }
    if (auto alias = detail::programAlias(file)) {
        return runAlias(*alias, splitParameters(parameters));
    }
    if (target != ShellTarget::Program) {
        return launchFor(launchers_.open, argumentFor(file, target));
    }
    auto argv = splitParameters(parameters);
    argv.insert(argv.begin(), file);
    return start(argv, std::nullopt);
}
ShellResult ProcessShell::runAlias(std::vector<std::string> program,
                                   const std::vector<std::string>& arguments)
{
    if (program.empty()) {
        // The desktop's opener takes one document at a time and reports on it.
        if (arguments.size() != 1) {
            return failure(ENOTSUP, "the desktop's opener takes exactly one file");
        }
        const auto target = detail::classifyShellTarget(arguments.front());
        if (target == ShellTarget::Missing) {
            return failure(ENOENT, "there is no file \"" + arguments.front() + "\"");
        }
        return launchFor(launchers_.open, argumentFor(arguments.front(), target));
    }
    program.insert(program.end(), arguments.begin(), arguments.end());
    return start(program, std::nullopt);
}

std::vector<std::string> ProcessShell::splitParameters(const std::string& parameters)
{
    if (parameters.size() >= 2 && parameters.front() == '"' && parameters.back() == '"') {
        // One name in quotes is one argument, taken as it stands: quotes, blanks and shell
        // characters inside it belong to the name.
        return {detail::unquoted(parameters)};
    }
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
