#pragma once

#include <string>

namespace platform::forms {
class FlexGrid;
}

namespace host {

/// The report grid as terminal text: the header rows, a rule, then every row that shows.
/// Hidden columns are left out. Outline nodes are indented by their level and marked in a
/// leading mark column: "==" for the grand total (level 0), "--" for subtotal rows, with
/// "[+]" before a collapsed node's caption and "[-]" before an expanded one; data rows are
/// indented one step below the node above them. The table fits `width` terminal columns:
/// while it is wider, the widest column is narrowed (to no less than 6 columns), and cells
/// longer than their column are cut and end in "…"; lines still too wide are cut at the end.
std::string GridText(const platform::forms::FlexGrid& fg, int width = 120);

} // namespace host
