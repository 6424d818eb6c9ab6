#include "platform/forms/detail/Aggregates.h"

#include "platform/forms/detail/CellValues.h"

namespace platform::forms::detail {
namespace {

Aggregate Number(double value)
{
    return {FormatNumber(value), value};
}

} // namespace

std::optional<double> AggregateNumber(std::string_view text, int type)
{
    if (text.empty()) {
        return std::nullopt;
    }
    if (type == ColumnType::Date) {
        if (auto date = ParseDate(text)) {
            return date;
        }
    }
    return ParseNumber(text);
}

Aggregate Accumulator::Result(SubtotalFunction function, double columnTotal,
                              const FlexGrid::Impl& impl, int column) const
{
    switch (function) {
    case SubtotalFunction::Sum:
        return Number(m_sum);
    case SubtotalFunction::Count:
        return Number(m_count);
    case SubtotalFunction::Average:
        return m_numbers == 0 ? Aggregate{} : Number(m_sum / m_numbers);
    case SubtotalFunction::Percent:
        // A column that totals 0 has no shares: the cell stays empty rather than dividing
        // by zero.
        return columnTotal == 0 ? Aggregate{} : Number(m_sum / columnTotal * 100.0);
    case SubtotalFunction::Max:
    case SubtotalFunction::Min:
        // The extreme cell's own text, so that a date stays in the form it was written in.
        return m_extremeRow < 0
                   ? Aggregate{}
                   : Aggregate{std::string(impl.rows[size_t(m_extremeRow)].Text(column)),
                               m_extreme};
    default:
        return {};
    }
}

std::string SubtotalCaption(const std::string& pattern, std::string_view text)
{
    std::string caption;
    size_t start = 0;
    for (size_t pos; (pos = pattern.find("%s", start)) != std::string::npos; start = pos + 2) {
        caption.append(pattern, start, pos - start).append(text);
    }
    return caption.append(pattern, start, std::string::npos);
}

void SetAggregate(GridRow& row, int column, Aggregate aggregate)
{
    row.SetText(column, aggregate.text);
    if (aggregate.value) {
        row.cells.SetExact(column, *aggregate.value);
    }
}

std::optional<double> CellNumber(const GridRow& row, int column, int type, RowTexts::Keep keep)
{
    return row.Value(column, type, keep).Number();
}

} // namespace platform::forms::detail
