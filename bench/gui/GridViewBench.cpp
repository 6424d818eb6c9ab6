// The report grid as a widget on Qt's offscreen platform with a 100,000-row report: showing it
// (the view over the grid made, laid out and painted once), scrolling it by one page and to
// its end, collapsing all its groups and sorting it by a column, each until the page is
// painted. The grid is filled and grouped before the clock runs. The counters say how many
// widgets the view holds: a model/view keeps that to its scroll bars and headers, whatever
// the rows.
#include "gui/GridView.h"
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"

#include <QApplication>
#include <QScrollBar>

#include <benchmark/benchmark.h>

#include <clocale>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

namespace pf = platform::forms;

constexpr int kRows = 100000;
// Columns: 0 outline, 1 category, 2 subject, 3 date, 4 hours, 5 place.
constexpr int kCategory = 1, kSubject = 2, kDate = 3, kHours = 4, kPlace = 5, kCols = 6;

std::unique_ptr<pf::FlexGrid> ReportGrid()
{
    static const char* categories[] = {"Projekt", "Privat", "Büro", "Kunde", "Reise", "Schulung"};
    auto grid = std::make_unique<pf::FlexGrid>();
    grid->SetRedraw(false);
    grid->SetCols(kCols);
    grid->SetRows(kRows + 1);
    for (const auto& [col, text] : {std::pair{kCategory, "Kategorie"},
                                    {kSubject, "Betreff"},
                                    {kDate, "Beginn"},
                                    {kHours, "Dauer"},
                                    {kPlace, "Ort"}})
        grid->SetTextMatrix(0, col, text);
    for (int r = 1; r <= kRows; ++r) {
        const unsigned h = unsigned(r) * 2654435761u;
        grid->SetTextMatrix(r, kCategory, categories[(r * 6) / (kRows + 1)]);
        grid->SetTextMatrix(r, kSubject, "Besprechung " + std::to_string(h % 997));
        grid->SetTextMatrix(r, kDate, std::to_string(1 + (h >> 16) % 28) + ".01.2027");
        grid->SetTextMatrix(r, kHours, std::to_string((h >> 12) % 600));
        grid->SetTextMatrix(r, kPlace, "Raum " + std::to_string((h >> 8) % 40));
    }
    grid->Subtotal(pf::SubtotalFunction::Sum, kCategory, kHours, "%s", kCategory);
    grid->Subtotal(pf::SubtotalFunction::Sum, 0, kHours, "Total %s", 0);
    for (int c = 1; c < kCols; ++c)
        grid->SetColWidth(c, 1800);
    grid->SetRedraw(true);
    return grid;
}

// Lays the view out and paints what shows, as the first paint on a screen would.
void Paint(gui::GridView& view)
{
    QApplication::processEvents();
    view.viewport()->repaint();
}

// The report in a view on the screen, painted once.
struct ShownReport
{
    ShownReport() : grid(ReportGrid()), view(*grid)
    {
        view.resize(1000, 700);
        view.show();
        Paint(view);
    }
    std::unique_ptr<pf::FlexGrid> grid;
    gui::GridView view;
};

void BM_ShowReport100k(benchmark::State& state)
{
    const auto grid = ReportGrid();
    for (auto _ : state) {
        gui::GridView view(*grid);
        view.resize(1000, 700);
        view.show();
        Paint(view);
        benchmark::DoNotOptimize(view.model()->rowCount());
        state.PauseTiming();
        view.hide();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ShowReport100k)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_ScrollOnePage(benchmark::State& state)
{
    ShownReport shown;
    auto& grid = shown.grid;
    auto& view = shown.view;
    auto* bar = view.verticalScrollBar();
    for (auto _ : state) {
        const int next = bar->value() + bar->pageStep();
        bar->setValue(next > bar->maximum() ? 0 : next);
        view.viewport()->repaint();
    }
    state.counters["top_row"] = grid->TopRow();
}
BENCHMARK(BM_ScrollOnePage)->Unit(benchmark::kMillisecond);

// The view's widgets: the same few for any number of rows.
double Widgets(const gui::GridView& view)
{
    return double(view.findChildren<QWidget*>().size());
}

void BM_ScrollToEnd(benchmark::State& state)
{
    ShownReport shown;
    auto& view = shown.view;
    for (auto _ : state) {
        view.scrollToBottom();
        Paint(view);
        state.PauseTiming();
        view.scrollToTop();
        Paint(view);
        state.ResumeTiming();
    }
    state.counters["widgets"] = Widgets(view);
}
BENCHMARK(BM_ScrollToEnd)->Unit(benchmark::kMillisecond);

// Every group node closed and opened again as the report window's commands do: the grid's
// redraw off, each node's state, the redraw on.
void SetAllNodes(pf::FlexGrid& grid, pf::OutlineState state)
{
    grid.SetRedraw(false);
    for (int r = grid.FixedRows(); r < grid.Rows(); ++r)
        if (grid.IsSubtotal(r) && grid.RowOutlineLevel(r) >= 0)
            grid.SetIsCollapsed(r, state);
    grid.SetRedraw(true);
}

void BM_CollapseAllGroups(benchmark::State& state)
{
    ShownReport shown;
    auto& grid = shown.grid;
    auto& view = shown.view;
    for (auto _ : state) {
        SetAllNodes(*grid, pf::OutlineState::Collapsed);
        Paint(view);
        state.PauseTiming();
        state.counters["rows_shown"] = view.model()->rowCount();
        SetAllNodes(*grid, pf::OutlineState::Expanded);
        Paint(view);
        state.ResumeTiming();
    }
    state.counters["widgets"] = Widgets(view);
}
BENCHMARK(BM_CollapseAllGroups)->Unit(benchmark::kMillisecond);

void BM_SortByColumn(benchmark::State& state)
{
    ShownReport shown;
    auto& grid = shown.grid;
    auto& view = shown.view;
    bool ascending = false;
    for (auto _ : state) {
        // By the subject, one way and then the other, so that every run moves the rows.
        ascending = !ascending;
        grid->Select(grid->FixedRows(), kSubject, grid->FixedRows(), kSubject);
        grid->Sort(ascending ? pf::SortSetting::GenericAscending
                             : pf::SortSetting::GenericDescending);
        Paint(view);
    }
    state.counters["widgets"] = Widgets(view);
}
BENCHMARK(BM_SortByColumn)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    platform::locale::SetCurrent("de-DE");
    QApplication app(argc, argv);
    // As the client with windows does: the benchmark library writes its figures with the C
    // library, in the notation of the reports that read them.
    std::setlocale(LC_NUMERIC, "C");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
