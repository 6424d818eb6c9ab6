#pragma once

#include <iosfwd>

namespace host {

class AddInLibrary;

/// Lets a person work the report window line by line: a template name after "template",
/// a menu command key ("refresh", "expand", "collapse", "helpbtn", "exit", ...), "show" to
/// print the window again, "quit" (or the end of input) to leave. After each action the
/// window is printed anew.
void RunInteractive(const AddInLibrary& oLibrary, std::istream& in, std::ostream& out);

} // namespace host
