// A report grid's group-and-total pass over 100,000 rows: three group levels, two aggregate
// columns, the grand total, and a sort inside the groups afterwards.
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace platform::forms;

constexpr int kRows = 100000;
// Columns: 0 outline, 1 category, 2 city, 3 date, 4 amount, 5 hours, 6 s1, 7-9 g1-g3,
// 10-11 value columns.
constexpr int kCategory = 1, kCity = 2, kDate = 3, kAmount = 4, kHours = 5, kS1 = 6, kG1 = 7,
              kValue1 = 10, kValue2 = 11, kCols = 12;

void FillRows(FlexGrid& grid)
{
    const char* categories[] = {"Projekt", "Privat", "Büro", "Kunde", "Reise", "Schulung"};
    grid.SetCols(kCols);
    grid.SetFixedRows(1);
    grid.SetRows(kRows + 1);
    for (int r = 1; r <= kRows; ++r) {
        const unsigned h = unsigned(r) * 2654435761u;
        grid.SetTextMatrix(r, kCategory, categories[h % 6]);
        grid.SetTextMatrix(r, kCity, "Stadt " + std::to_string((h >> 8) % 40));
        const int day = 1 + int((h >> 16) % 28), month = 1 + int((h >> 20) % 12);
        grid.SetTextMatrix(r, kDate,
                           (day < 10 ? "0" : "") + std::to_string(day) + "." +
                               (month < 10 ? "0" : "") + std::to_string(month) + ".2026");
        const std::string amount = std::to_string((h >> 4) % 10000) + ",5";
        const std::string hours = std::to_string((h >> 12) % 600);
        grid.SetTextMatrix(r, kAmount, amount);
        grid.SetTextMatrix(r, kHours, hours);
        grid.SetTextMatrix(r, kValue1, amount);
        grid.SetTextMatrix(r, kValue2, hours);
        grid.SetRowData(r, r);
    }
    grid.SetColDataType(kDate, ColumnType::Date);
    grid.SetColDataType(kValue1, ColumnType::Double);
    grid.SetColDataType(kValue2, ColumnType::Long);
}

void GroupAndTotal(FlexGrid& grid)
{
    const int last = grid.Rows() - 1;
    // Key columns by one range copy each, as the report does.
    for (int level = 0; level < 3; ++level) {
        const int from = level == 0 ? kCategory : level == 1 ? kCity : kDate;
        grid.SetRangeTexts({1, kG1 + level, last, kG1 + level},
                           grid.RangeTexts({1, from, last, from}));
        grid.SetColDataType(kG1 + level, grid.ColDataType(from));
        grid.SetColSort(kG1 + level, ColumnSort::Ascending);
    }
    grid.Select(1, kG1, 1, kG1 + 2);
    grid.Sort(SortSetting::UseColSort);
    for (int level = 0; level < 3; ++level) {
        grid.Subtotal(SubtotalFunction::Sum, kG1 + level, kValue1, "%s", kG1);
        grid.Subtotal(SubtotalFunction::Average, kG1 + level, kValue2, "%s", kG1);
    }
    grid.Subtotal(SubtotalFunction::Sum, 0, kValue1, "Total %s", 0);
    grid.Subtotal(SubtotalFunction::Average, 0, kValue2, "Total %s", 0);
    // Then the view's sort level inside the groups.
    grid.SetRangeTexts({1, kS1, grid.Rows() - 1, kS1},
                       grid.RangeTexts({1, kAmount, grid.Rows() - 1, kAmount}));
    grid.SetColDataType(kS1, ColumnType::Double);
    grid.SetColSort(kS1, ColumnSort::Descending);
    grid.Select(1, kS1);
    grid.Sort(SortSetting::UseColSort);
}

void BM_GroupAndTotal100k(benchmark::State& state)
{
    platform::locale::SetCurrent("de-DE");
    for (auto _ : state) {
        state.PauseTiming();
        auto grid = std::make_unique<FlexGrid>();
        FillRows(*grid);
        state.ResumeTiming();
        GroupAndTotal(*grid);
        benchmark::DoNotOptimize(grid->Rows());
        state.PauseTiming();
        state.counters["rows"] = grid->Rows();
        grid.reset(); // the teardown is not part of the pass
        state.ResumeTiming();
    }
}
BENCHMARK(BM_GroupAndTotal100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_Subtotal100kOneLevel(benchmark::State& state)
{
    platform::locale::SetCurrent("de-DE");
    FlexGrid grid;
    FillRows(grid);
    grid.SetColSort(kCategory, ColumnSort::Ascending);
    grid.Select(1, kCategory);
    grid.Sort(SortSetting::UseColSort);
    for (auto _ : state) {
        grid.Subtotal(SubtotalFunction::Sum, kCategory, kValue1, "%s", kCategory);
        state.PauseTiming();
        grid.Subtotal(SubtotalFunction::Clear);
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Subtotal100kOneLevel)->Unit(benchmark::kMillisecond);

} // namespace
