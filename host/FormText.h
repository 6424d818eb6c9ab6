#pragma once

#include <string>

namespace platform::forms {
class CommonDialog;
class FlexGrid;
class Form;
class MenuItem;
struct MessageBoxRecord;
} // namespace platform::forms

namespace host {

/// A modal form as terminal text: its caption, then one line per visible control with its
/// name, kind, caption or text, value and "(disabled)" when it is; a grid lists its rows
/// below its line (see GridRowsText). Lines are cut to `width` columns.
std::string FormText(const platform::forms::Form& form, int width);

/// The lines of FormText before they are wrapped, one a control (or a grid row), each ending
/// in "\n": what a command changed is found by comparing these, so that a control's line is
/// shown whole with its name when only a wrapped part of it changed.
std::string FormLines(const platform::forms::Form& form, int width);

/// A grid's rows as numbered lines: the grid's row number, "*" when selected, the check box
/// of the first cell that has one ("[x]", "[ ]"), the outline (indented by level, "[+]" or
/// "[-]" before a node's caption) and the shown cells joined by " | ". The header rows come
/// first without numbers.
std::string GridRowsText(const platform::forms::FlexGrid& grid, int width);

/// The names of a message box's buttons by its style ("Yes", "No", ...).
std::string MessageBoxButtons(int buttons);

/// A message box: title, prompt and its buttons.
std::string MessageBoxText(const platform::forms::MessageBoxRecord& box, int width);

/// A common dialog: its title and fields, and how to answer it.
std::string DialogText(const platform::forms::CommonDialog& dialog, int width);

/// A pop-up menu's entries: key, caption and "(disabled)".
std::string PopupText(const platform::forms::MenuItem& menu, int width);

} // namespace host
