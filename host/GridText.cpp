#include "host/GridText.h"

#include "platform/forms/FlexGrid.h"

#include <algorithm>
#include <cstddef>
#include <vector>

namespace host {

namespace {

constexpr int kIndentStep = 2;

// Code points of UTF-8 text: bytes that do not continue a sequence.
int Width(const std::string& s)
{
    return static_cast<int>(
        std::count_if(s.begin(), s.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}

std::string Cut(const std::string& s, int maxCell)
{
    if (Width(s) <= maxCell)
        return s;
    int n = 0;
    std::size_t at = 0;
    for (; at < s.size(); ++at) {
        if ((s[at] & 0xC0) != 0x80) {
            if (n == maxCell - 1)
                break;
            ++n;
        }
    }
    return s.substr(0, at) + "~";
}

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

std::vector<Line> Lines(const platform::forms::FlexGrid& fg, const std::vector<int>& vCols,
                        int maxCell)
{
    std::vector<Line> v;
    int nLevel = -1; // the level of the last node row above
    for (int r = 0; r < fg.Rows(); ++r) {
        const bool bHeader = r < fg.FixedRows();
        if (!bHeader && !fg.RowIsVisible(r))
            continue;
        Line line;
        std::string sIndent;
        if (!bHeader && fg.IsSubtotal(r)) {
            nLevel = fg.RowOutlineLevel(r);
            line.mark = nLevel == 0 ? "==" : "--";
            sIndent = std::string(static_cast<std::size_t>(nLevel * kIndentStep), ' ') +
                      NodePrefix(fg, r);
        } else if (!bHeader) {
            line.mark = "  ";
            sIndent = std::string(static_cast<std::size_t>((nLevel + 1) * kIndentStep), ' ');
        } else {
            line.mark = "  ";
        }
        for (std::size_t i = 0; i < vCols.size(); ++i) {
            std::string sText = Cut(fg.TextMatrix(r, vCols[i]), maxCell);
            line.cells.push_back(i == 0 ? sIndent + sText : sText);
        }
        v.push_back(std::move(line));
    }
    return v;
}

} // namespace

std::string GridText(const platform::forms::FlexGrid& fg, int maxCell)
{
    const std::vector<int> vCols = ShownColumns(fg);
    const std::vector<Line> vLines = Lines(fg, vCols, maxCell);
    std::vector<int> vWidths(vCols.size(), 0);
    for (const auto& line : vLines)
        for (std::size_t i = 0; i < line.cells.size(); ++i)
            vWidths[i] = std::max(vWidths[i], Width(line.cells[i]));

    std::string out;
    const int nHeader = std::min(fg.FixedRows(), static_cast<int>(vLines.size()));
    for (int n = 0; n < static_cast<int>(vLines.size()); ++n) {
        const Line& line = vLines[static_cast<std::size_t>(n)];
        std::string s = line.mark;
        for (std::size_t i = 0; i < line.cells.size(); ++i) {
            s += (i == 0 ? " " : " | ") + line.cells[i];
            if (i + 1 < line.cells.size())
                s += std::string(static_cast<std::size_t>(vWidths[i] - Width(line.cells[i])), ' ');
        }
        out += s + "\n";
        if (n + 1 == nHeader) {
            int nRule = 2;
            for (int w : vWidths)
                nRule += w + 3;
            out += std::string(static_cast<std::size_t>(nRule), '-') + "\n";
        }
    }
    return out;
}

} // namespace host
