#include "gui/ColumnFit.h"

#include "gui/TextFit.h"
#include "gui/Units.h"
#include "platform/forms/FlexGrid.h"

#include <QFontMetricsF>
#include <QStyle>
#include <QWidget>

#include <algorithm>
#include <cmath>
#include <string>
#include <string_view>

namespace gui {

namespace pf = platform::forms;

namespace {

// Texts of one length measured per column and weight: figures of one length differ little
// in width, and a column of a hundred thousand dates must not be measured date by date.
constexpr int kMostMeasuredOfALength = 64;

// Numbers, sums, durations, percentages and dates as the add-in writes them: digits with
// separators and signs, nothing else.
bool IsFigure(const std::string& text)
{
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

} // namespace

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
