#pragma once

#include <vector>

class QWidget;

namespace platform::forms {
class FlexGrid;
}

namespace gui {

/// The pixels each column of the grid needs at the least to show in the widget's font what a
/// person must read whole (0 where nothing): the widest figure of a column that stands numbers
/// to the right (a number, sum, duration or date cut off reads as another value; a cut word
/// still reads as cut), bold in total rows, and the widest entry of a column's drop-down list
/// with its arrow, so that any choice shows whole once picked. Hidden columns need 0.
///
/// Reads each cell of those columns once; of many figures of one length only a bounded number
/// is measured, the widest figure being among the longest.
std::vector<int> WholeWidths(const platform::forms::FlexGrid& grid, const QWidget& widget);

} // namespace gui
