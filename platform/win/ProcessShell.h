#pragma once

#include "platform/win/Shell.h"

#include <chrono>
#include <string>
#include <vector>

namespace platform::win {

/// The shell on real programs, started with posix_spawn and an argument vector (no command
/// interpreter sees the file names). Documents open with the desktop's opener and print with
/// the print spooler; both are launchers that report how they did through their exit status,
/// which is waited for. A launcher still busy when the wait ends counts as started (it is
/// showing the document); it is reaped in the background.
class ProcessShell : public Shell
{
public:
    /// The programs behind the verbs; the document's path is added as the last argument.
    struct Launchers
    {
        std::vector<std::string> open{"xdg-open"};
        std::vector<std::string> print{"lp", "--"};
        /// How long to wait for a launcher's exit status.
        std::chrono::milliseconds wait{std::chrono::seconds(10)};
    };

    /// A shell with the desktop's opener and the print spooler.
    ProcessShell();
    /// A shell with other launchers.
    explicit ProcessShell(Launchers launchers);

    ShellResult openDocument(const std::string& file) override;
    ShellResult printDocument(const std::string& file) override;
    ShellResult run(const std::string& file, const std::string& parameters) override;

    /// Splits a parameter text into arguments: a text in one pair of surrounding double quotes
    /// is one argument, taken without them exactly as it stands (the system quotes a file
    /// name so); otherwise blanks separate, double quotes group (also inside an argument),
    /// \" stands for a quote and \\ before a quote for a backslash.
    static std::vector<std::string> splitParameters(const std::string& parameters);

private:
    ShellResult runAlias(std::vector<std::string> program,
                         const std::vector<std::string>& arguments);
    ShellResult launchFor(const std::vector<std::string>& launcher, const std::string& file);

    Launchers launchers_;
};

} // namespace platform::win
