#pragma once

#include <functional>
#include <iosfwd>

namespace host {

class AddInLibrary;
class AnswerSource;

/// Lets a person work the report window command by command (see the help text): a template
/// name after "template", a menu or tool bar command key ("refresh", "expand", "exit", ...),
/// "menu" to list the menu bar and the tool bar, "show" to print the window again, "report"
/// to click the report button again (also after the window was closed), "help", and "quit"
/// (or the end of input) to leave. A command prints what it changed on the window, or a short
/// confirmation. Lines are cut to `nWidth` columns.
void RunInteractive(const AddInLibrary& oLibrary, AnswerSource& oAnswers, std::ostream& out,
                    int nWidth, const std::function<void()>& fnClickReportButton);

} // namespace host
