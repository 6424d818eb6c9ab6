#pragma once

#include <array>

namespace host {

/// The exit codes of a `tallyman` run. `--help` and the README list them; a script that drives
/// the host by an answers file relies on them, so a code never changes its meaning.
/// Where several apply, the run ends with the most pressing one: a signal's code first, then
/// the lowest of 3, 4 and 5.
enum class ExitCode : int
{
    /// The run ended as asked and everything the person asked to keep was kept.
    Ok = 0,
    /// The run could not start or go on: the profile or the report definitions cannot be read.
    CannotStart = 1,
    /// The command line is wrong.
    Usage = 2,
    /// The answers file or the input ended, or held a line that does not fit.
    InputFailed = 3,
    /// Something the person asked for was not kept or not done: the view, the templates, a
    /// report file (saved by a command or automatically), a mail or a print.
    NotKept = 4,
    /// A folder of the report could not be read; the report shows the other folders.
    FolderUnread = 5,
};

/// Every code of ExitCode in the order `--help` and the README list them.
inline constexpr std::array kExitCodes = {ExitCode::Ok,      ExitCode::CannotStart,
                                          ExitCode::Usage,   ExitCode::InputFailed,
                                          ExitCode::NotKept, ExitCode::FolderUnread};

/// The code of a run ended by signal nSignal after its clean-up: 128 plus the signal's number.
constexpr int SignalExitCode(int nSignal)
{
    return 128 + nSignal;
}

/// The code as the process returns it.
constexpr int ToInt(ExitCode eCode)
{
    return static_cast<int>(eCode);
}

} // namespace host
