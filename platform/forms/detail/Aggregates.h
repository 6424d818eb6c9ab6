#pragma once

#include "platform/forms/detail/GridModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace platform::forms::detail {

/// The number a cell stands for in an aggregate: a date column's cells read as dates first,
/// every cell as a number in the locale's form; none for an empty cell or any other text.
std::optional<double> AggregateNumber(std::string_view text, int type);

/// The number a grid cell stands for in an aggregate: AggregateNumber of its text, kept beside
/// it as keep says; the exact value of a computed aggregate.
std::optional<double> CellNumber(const GridRow& row, int column, int type,
                                 RowTexts::Keep keep = RowTexts::Keep::Yes);

/// The result of an aggregate for one group: its text and, for numbers, its exact value.
struct Aggregate
{
    std::string text;
    std::optional<double> value;
};

/// Gathers the cells of one group, one cell at a time, and gives the group's aggregate.
class Accumulator
{
public:
    /// Takes a non-empty cell of data row `row`; number is what the cell reads as.
    void Add(std::optional<double> number, int row, bool wantMax)
    {
        ++m_count;
        if (!number) {
            return;
        }
        ++m_numbers;
        m_sum += *number;
        if (m_extremeRow < 0 || (wantMax ? *number > m_extreme : *number < m_extreme)) {
            m_extreme = *number;
            m_extremeRow = row;
        }
    }

    /// The aggregate by function over the cells taken; Percent relates the sum to
    /// columnTotal. The extremes give the extreme cell's own text from column of impl.
    Aggregate Result(SubtotalFunction function, double columnTotal, const FlexGrid::Impl& impl,
                     int column) const;

private:
    double m_sum = 0, m_extreme = 0;
    int m_numbers = 0, m_count = 0, m_extremeRow = -1;
};

/// The caption of a subtotal row: pattern with every "%s" replaced by text.
std::string SubtotalCaption(const std::string& pattern, std::string_view text);

/// Writes an aggregate into a subtotal row's cell, with its exact value.
void SetAggregate(GridRow& row, int column, Aggregate aggregate);

} // namespace platform::forms::detail
