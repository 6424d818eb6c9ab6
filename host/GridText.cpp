#include "host/GridText.h"

#include "host/AnswerSource.h"
#include "host/TextFit.h"
#include "platform/forms/FlexGrid.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace host {

namespace {

constexpr std::size_t kIndentStep = 2;

constexpr int kNarrowest = 6;
// The mark column and the blank after it; " | " between cells.
constexpr int kMarkWidth = 3;
constexpr int kSeparator = 3;

struct Line
{
    std::string mark;
    std::vector<std::string> cells;
};

std::vector<int> ShownColumns(const platform::forms::FlexGrid& fg)
{
    std::vector<int> v;
    for (int c = 0; c < fg.Cols(); ++c)
        if (!fg.ColHidden(c))
            v.push_back(c);
    return v;
}

std::string NodePrefix(const platform::forms::FlexGrid& fg, int row)
{
    return fg.IsCollapsed(row) == platform::forms::OutlineState::Expanded ? "[-] " : "[+] ";
}

std::vector<Line> Lines(const platform::forms::FlexGrid& fg, const std::vector<int>& vCols)
{
    std::vector<Line> v;
    // The levels of the node rows above that own the current row: a node's depth in the tree
    // is their number, whatever column numbers its level holds.
    std::vector<int> vOpen;
    for (int r = 0; r < fg.Rows(); ++r) {
        const bool bHeader = r < fg.FixedRows();
        if (!bHeader && !fg.RowIsVisible(r))
            continue;
        const char* szMark = "  ";
        std::string sIndent;
        if (!bHeader && fg.IsSubtotal(r)) {
            const int nLevel = fg.RowOutlineLevel(r);
            while (!vOpen.empty() && vOpen.back() >= nLevel)
                vOpen.pop_back();
            szMark = nLevel == 0 ? "==" : "--";
            sIndent = std::string(vOpen.size() * kIndentStep, ' ') + NodePrefix(fg, r);
            vOpen.push_back(nLevel);
        } else if (!bHeader) {
            sIndent = std::string(vOpen.size() * kIndentStep, ' ');
        }
        Line line{szMark, {}};
        for (std::size_t i = 0; i < vCols.size(); ++i) {
            // A store's text may hold control characters: shown, and measured as shown.
            std::string sText = Escaped(fg.TextMatrix(r, vCols[i]));
            line.cells.push_back(i == 0 ? sIndent + sText : sText);
        }
        v.push_back(std::move(line));
    }
    return v;
}

int TotalWidth(const std::vector<int>& vWidths)
{
    int n = kMarkWidth;
    for (int w : vWidths)
        n += w + kSeparator;
    return n - kSeparator;
}

// Narrows the widest of the columns from `first` on, each down to `floor`, until the table
// fits the width or none of them can give more.
void Narrow(std::vector<int>& vWidths, std::size_t first, int floor, int width)
{
    while (TotalWidth(vWidths) > width) {
        auto widest =
            std::max_element(vWidths.begin() + static_cast<std::ptrdiff_t>(first), vWidths.end());
        if (widest == vWidths.end() || *widest <= floor)
            return;
        // Down to the next widest column at most, so that the wide ones share the cut.
        int next = floor;
        for (auto it = vWidths.begin() + static_cast<std::ptrdiff_t>(first); it != vWidths.end();
             ++it)
            if (it != widest && *it < *widest)
                next = std::max(next, *it);
        *widest = std::max(*widest - (TotalWidth(vWidths) - width), next);
    }
}

// Fits the table to the width: the other columns give way first, so that the outline and
// the group captions in the first column stay readable as long as possible.
void FitWidths(std::vector<int>& vWidths, int width)
{
    constexpr int kOutlineFloor = 24;
    Narrow(vWidths, 1, kNarrowest + 2, width);
    if (!vWidths.empty() && vWidths.front() > kOutlineFloor)
        Narrow(vWidths, 0, kOutlineFloor, width);
    Narrow(vWidths, 1, kNarrowest, width);
    Narrow(vWidths, 0, kNarrowest, width);
}

// A cell cut to its column; blanks past the column (an indented empty cell) are no text.
std::string FitCell(std::string sCell, int width)
{
    while (!sCell.empty() && sCell.back() == ' ' && TextWidth(sCell) > width)
        sCell.pop_back();
    return FitText(sCell, width);
}

} // namespace

std::string GridText(const platform::forms::FlexGrid& fg, int width)
{
    const std::vector<int> vCols = ShownColumns(fg);
    const std::vector<Line> vLines = Lines(fg, vCols);
    std::vector<int> vWidths(vCols.size(), 0);
    for (const auto& line : vLines)
        for (std::size_t i = 0; i < line.cells.size(); ++i)
            vWidths[i] = std::max(vWidths[i], TextWidth(line.cells[i]));
    FitWidths(vWidths, width);

    std::string out;
    const int nHeader = std::min(fg.FixedRows(), static_cast<int>(vLines.size()));
    for (int n = 0; n < static_cast<int>(vLines.size()); ++n) {
        const Line& line = vLines[static_cast<std::size_t>(n)];
        std::string s = line.mark;
        for (std::size_t i = 0; i < line.cells.size(); ++i) {
            const std::string sCell = FitCell(line.cells[i], vWidths[i]);
            s += (i == 0 ? " " : " | ") +
                 (i + 1 < line.cells.size() ? PadText(sCell, vWidths[i]) : sCell);
        }
        out += FitText(s, width) + "\n";
        if (n + 1 == nHeader) {
            int nRule = kMarkWidth - 1;
            for (int w : vWidths)
                nRule += w + kSeparator;
            out += std::string(static_cast<std::size_t>(std::min(nRule, width)), '-') + "\n";
        }
    }
    return out;
}

} // namespace host
