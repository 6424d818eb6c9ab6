#pragma once

#include <optional>
#include <string>

namespace platform::forms {
class FlexGrid;
class Form;
} // namespace platform::forms

namespace host {

/// The commands a person works the report window's grid with, as the help lists them.
std::string GridCommandHelp();

/// Works the report window's grid by one command line as a person would with mouse and keys:
/// "find TEXT", "row R", "open [R]", "menu R", "selectall", "move COL POS", "width COL TWIPS"
/// (rows and columns numbered from 0 as the grid numbers them, the header row 0; a column may
/// also be named by its header text). Returns a short reply, or nothing when the line is no
/// grid command. Raises CommandRefused for a row or column outside the grid or a bad number.
std::optional<std::string> ApplyGridCommand(platform::forms::Form& oWindow,
                                            platform::forms::FlexGrid& fg,
                                            const std::string& sCommand);

} // namespace host
