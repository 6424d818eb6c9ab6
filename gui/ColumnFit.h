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

/// What one group caption needs of the outline column: its indent, box and text take `width`
/// pixels from the outline cell's left edge, and it may run on over the blank cells after it
/// as far as column `filled`, the first whose cell in its row is not blank.
struct CaptionNeed
{
    int filled = 0;
    int width = 0;
    bool operator==(const CaptionNeed&) const = default;
};

/// The widest caption of the grid's node rows (subtotal rows) for each first filled column,
/// as the view draws a caption in the outline column: indented by the rank of its row's level
/// among the levels in use, bold. A caption with no filled cell after it runs on as far as it
/// needs and asks nothing.
std::vector<CaptionNeed> CaptionNeeds(const platform::forms::FlexGrid& grid, const QWidget& widget);

/// The width the outline column shows at the least, given what its captions need and the
/// shown width of each column: the widest caption less the blank cells it runs on over.
int OutlineWidth(const platform::forms::FlexGrid& grid, const std::vector<CaptionNeed>& needs,
                 const std::vector<int>& shownWidths);

} // namespace gui
