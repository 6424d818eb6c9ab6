#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace platform::forms {
class FlexGrid;
class Form;
} // namespace platform::forms

namespace host {

/// A command that does not fit the form on screen (no such control, a disabled one, a row
/// outside the grid, ...). Nothing was done. The reason is kept with its control characters
/// shown as escapes (see Escaped): what() hands it on as a C string, which a NUL of the
/// command it quotes would cut short.
class CommandRefused : public std::runtime_error
{
public:
    explicit CommandRefused(const std::string& sWhy);
};

/// The first column of a grid that is not hidden: where a row shows its caption.
int FirstShownCol(const platform::forms::FlexGrid& fg);

/// The blank-separated words of a command line; a word in double quotes may hold blanks ("Due
/// Date"), and "" inside quotes is one quote. Raises CommandRefused for a quote not closed.
std::vector<std::string> CommandWords(const std::string& sLine);

/// The commands a person works a form with, as the help lists them.
std::string FormCommandHelp();

/// Works the form as a person would by one command line (see FormCommandHelp) and returns a
/// short confirmation. Raises CommandRefused when the command does not fit the form.
std::string ApplyFormCommand(platform::forms::Form& form, const std::string& sCommand);

} // namespace host
