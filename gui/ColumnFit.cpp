#include "gui/ColumnFit.h"

#include "gui/GridDelegate.h"
#include "gui/TextFit.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"

#include <QFontMetricsF>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <set>
#include <string>
#include <string_view>

namespace gui {

namespace pf = platform::forms;

namespace {

// Texts of one length measured per column and weight: figures of one length differ little
// in width, and a column of a hundred thousand dates must not be measured date by date.
constexpr int kMostMeasuredOfALength = 64;

// Numbers, sums, durations, percentages and dates as the add-in writes them: digits with
// separators and signs, nothing else; a total may come after its function's name in brackets
// ("[Summe] 12:00").
bool IsFigure(std::string_view text)
{
    if (text.starts_with('[')) {
        const auto close = text.find(']');
        if (close == std::string_view::npos)
            return false;
        text.remove_prefix(close + 1);
    }
    bool digit = false;
    for (const char ch : text) {
        if (ch >= '0' && ch <= '9')
            digit = true;
        else if (std::string_view(" .,:;%+-/()").find(ch) == std::string_view::npos)
            return false;
    }
    return digit;
}

bool StandsRight(pf::Alignment alignment)
{
    return alignment == pf::Alignment::RightTop || alignment == pf::Alignment::RightCenter ||
           alignment == pf::Alignment::RightBottom || alignment == pf::Alignment::General;
}

// The widest figure of one weight, measured among the longest ones.
class WidestFigure
{
public:
    explicit WidestFigure(const QFontMetricsF& metrics) : m_metrics(metrics) {}
    void Add(const std::string& text)
    {
        const int length = int(text.size());
        if (length < m_longest - 1)
            return;
        if (length > m_longest) {
            m_longest = length;
            m_measured = 0;
        } else if (m_measured >= kMostMeasuredOfALength) {
            return;
        }
        ++m_measured;
        m_widest = std::max(m_widest, int(std::ceil(m_metrics.horizontalAdvance(ToQ(text)))));
    }
    int Widest() const { return m_widest; }

private:
    const QFontMetricsF& m_metrics;
    int m_longest = 0;
    int m_measured = 0;
    int m_widest = 0;
};

// The pixels a cell keeps beside its text: the style's margin either side, and the cell's
// right grid line.
int TextRoom(const QWidget& widget)
{
    return 2 * (widget.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &widget) + 1) +
           1;
}

// The widest figure of each of the columns given, in one walk over the rows: a row's cells
// lie together, and a large grid's rows lie scattered in memory once sorted.
std::vector<int> WidestFiguresOf(const pf::FlexGrid& grid, const std::vector<int>& cols,
                                 const QWidget& widget)
{
    QFont bold = widget.font();
    bold.setBold(true);
    const QFontMetricsF plainMetrics(widget.font()), boldMetrics(bold);
    std::vector<WidestFigure> plain(cols.size(), WidestFigure(plainMetrics));
    std::vector<WidestFigure> total(cols.size(), WidestFigure(boldMetrics));
    constexpr int kAhead = 16;
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        grid.PrefetchRow(r + kAhead);
        const bool subtotal = grid.IsSubtotal(r);
        for (size_t i = 0; i < cols.size(); ++i) {
            const std::string text = grid.TextMatrix(r, cols[i]);
            if (!IsFigure(text))
                continue;
            // Total rows are drawn bold, as are cells the add-in made bold.
            if (subtotal || grid.CellFontBold(r, cols[i]))
                total[i].Add(text);
            else
                plain[i].Add(text);
        }
    }
    std::vector<int> widths(cols.size(), 0);
    for (size_t i = 0; i < cols.size(); ++i) {
        const int widest = std::max(plain[i].Widest(), total[i].Widest());
        widths[i] = widest > 0 ? widest + TextRoom(widget) : 0;
    }
    return widths;
}

int WidestChoiceOf(const std::string& list, const QWidget& widget)
{
    if (list.empty())
        return 0;
    const QFontMetricsF metrics(widget.font());
    int widest = 0;
    for (const QString& entry : ToQ(list).split(QLatin1Char('|')))
        widest = std::max(widest, int(std::ceil(metrics.horizontalAdvance(entry))));
    // The cell's editor is a drop-down list: the choice shows whole beside its arrow too.
    return std::max(ComboBoxWidth(widget, widest), widest + TextRoom(widget));
}

// A cell that shows nothing: no text but blanks (total rows put a blank into their empty
// cells), no picture, no box.
bool IsBlank(const pf::FlexGrid& grid, int row, int col)
{
    return grid.TextMatrix(row, col).find_first_not_of(' ') == std::string::npos &&
           !grid.CellPicture(row, col) && grid.CellChecked(row, col) == pf::CheckState::None;
}

// The first shown column after the outline column whose cell in the row is not blank; -1
// when there is none.
int FirstFilled(const pf::FlexGrid& grid, int row)
{
    for (int c = grid.OutlineCol() + 1; c < grid.Cols(); ++c)
        if (!grid.ColHidden(c) && !IsBlank(grid, row, c))
            return c;
    return -1;
}

} // namespace

std::vector<CaptionNeed> CaptionNeeds(const pf::FlexGrid& grid, const QWidget& widget)
{
    struct Caption
    {
        int level, filled;
        std::string text;
        bool box, picture;
    };
    std::vector<Caption> captions;
    std::set<int> levels;
    const int outline = grid.OutlineCol();
    if (outline < 0 || outline >= grid.Cols() || grid.ColHidden(outline))
        return {};
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r) {
        if (!grid.IsSubtotal(r))
            continue;
        levels.insert(grid.RowOutlineLevel(r));
        if (const int filled = FirstFilled(grid, r); filled >= 0)
            captions.push_back({grid.RowOutlineLevel(r), filled, grid.TextMatrix(r, outline),
                                grid.CellChecked(r, outline) != pf::CheckState::None,
                                grid.CellPicture(r, outline) != nullptr});
    }
    // Captions are drawn bold, indented by their level's rank among the levels in use.
    QFont bold = widget.font();
    bold.setBold(true);
    const QFontMetricsF metrics(bold);
    const int room = TextRoom(widget);
    const QStyle* style = widget.style();
    const int box = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, &widget) + room;
    const int picture = style->pixelMetric(QStyle::PM_SmallIconSize, nullptr, &widget) + room;
    std::vector<CaptionNeed> needs;
    for (const Caption& caption : captions) {
        const int rank = int(std::distance(levels.begin(), levels.find(caption.level)));
        const int width = GridDelegate::Indent(rank) +
                          int(std::ceil(metrics.horizontalAdvance(ToQ(caption.text)))) + room +
                          (caption.box ? box : 0) + (caption.picture ? picture : 0);
        auto same = std::find_if(needs.begin(), needs.end(), [&](const CaptionNeed& need) {
            return need.filled == caption.filled;
        });
        if (same == needs.end())
            needs.push_back({caption.filled, width});
        else
            same->width = std::max(same->width, width);
    }
    return needs;
}

int OutlineWidth(const pf::FlexGrid& grid, const std::vector<CaptionNeed>& needs,
                 const std::vector<int>& shownWidths)
{
    int widest = 0;
    for (const CaptionNeed& need : needs) {
        int blanks = 0;
        for (int c = grid.OutlineCol() + 1; c < need.filled && c < int(shownWidths.size()); ++c)
            blanks += grid.ColHidden(c) ? 0 : shownWidths[size_t(c)];
        widest = std::max(widest, need.width - blanks);
    }
    return widest;
}

std::vector<int> WholeWidths(const pf::FlexGrid& grid, const QWidget& widget)
{
    std::vector<int> widths(size_t(std::max(grid.Cols(), 0)), 0);
    std::vector<int> figureCols;
    for (int c = 0; c < grid.Cols(); ++c) {
        if (grid.ColHidden(c))
            continue;
        widths[size_t(c)] = WidestChoiceOf(grid.ColComboList(c), widget);
        if (StandsRight(grid.ColAlignment(c)))
            figureCols.push_back(c);
    }
    const std::vector<int> figures = WidestFiguresOf(grid, figureCols, widget);
    for (size_t i = 0; i < figureCols.size(); ++i)
        widths[size_t(figureCols[i])] = std::max(widths[size_t(figureCols[i])], figures[i]);
    return widths;
}

} // namespace gui
