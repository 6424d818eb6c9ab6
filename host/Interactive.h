#pragma once

#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

namespace host {

class AddInLibrary;
class AnswerSource;

/// What the client around the report window offers the person.
struct ClientButtons
{
    /// Clicks the report button (on the ribbon or on the add-in's toolbar).
    std::function<void()> fnClickReportButton;
    /// Clicks the button on the add-in's toolbar; empty where the client has a ribbon.
    std::function<void()> fnClickToolbar;
    /// The item windows the add-in opened since the last call, as text (may be empty).
    std::function<std::string()> fnItemWindows;
    /// A command of the item windows ("mail ..."); nothing for another command, empty where
    /// the client has no such windows.
    std::function<std::optional<std::string>(const std::string&)> fnItemWindowCommand;
    /// Notes that the person changed the template's folders by a command (may be empty).
    std::function<void()> fnFoldersChosen;
    /// Runs before each command of the report window (may be empty).
    std::function<void()> fnCommandStarts;
    /// What to say when a command closed the report window; empty: that the view is kept.
    std::function<std::string()> fnWindowClosed;
    /// What happened meanwhile without a window of its own (a print that failed after it was
    /// sent), said after each command (may be empty).
    std::function<std::string()> fnLaterNews;
};

/// Lets a person work the report window command by command (see the help text): a template
/// name after "template", a menu or tool bar command key ("refresh", "expand", "exit", ...),
/// "menu" to list the menu bar and the tool bar, "show" to print the window again, "report"
/// to click the report button again (also after the window was closed), "toolbar" to click
/// the button on the add-in's toolbar of a client without a ribbon, "help", and "quit"
/// (or the end of input) to leave. A command prints the item windows it opened, then what it
/// changed on the window, or a short confirmation. Lines are cut to `nWidth` columns.
/// Answers false when the input ended while the window was open (without "quit" or a command
/// that closed it): the person's view was left unsaved, and the run ends with InputFailed.
bool RunInteractive(const AddInLibrary& oLibrary, AnswerSource& oAnswers, std::ostream& out,
                    int nWidth, const ClientButtons& oClient);

} // namespace host
