// The report window on Qt's offscreen platform over a profile of 100,000 appointments, as a
// person works it: opening the window (the add-in's first read, its progress window and the
// grid's fill), a refresh (read and fill again), a re-sort in the sorting dialog and a refill
// (the grid filled again without reading), and the find box (a hit near the end of the
// report, and a text found nowhere). The profile is generated once, before the clock runs.
// Beside the re-sort and the refill stands the same fill into a grid that no window shows,
// and the ratio of the two.
#include "gui/ClientWindow.h"
#include "gui/FormView.h"
#include "host/AddInLibrary.h"
#include "host/GuiHost.h"
#include "host/ProfileSetup.h"
#include "platform/forms/FlexGrid.h"
#include "platform/forms/Form.h"
#include "platform/forms/MenuBar.h"
#include "platform/forms/StandardControls.h"
#include "platform/store/SampleProfile.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace {

namespace fs = std::filesystem;
namespace pf = platform::forms;

constexpr int kItems = 100000;

// The shipped report definitions, the standard template's window widened to every item.
std::string ShippedReports()
{
    std::ifstream in(fs::path(TV_ADDIN_PATH).parent_path() / "samples" / "reports.xml",
                     std::ios::binary);
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    for (const auto& [from, to] :
         {std::pair<std::string, std::string>{"{{monthstart:0}}", "1990-01-01 00:00:00"},
          {"{{monthend:1}}", "2060-12-31 00:00:00"}}) {
        const auto at = text.find(from);
        if (at == std::string::npos)
            throw std::runtime_error("the shipped templates have no " + from);
        text.replace(at, from.size(), to);
    }
    return text;
}

// Answers the message box a find without a hit shows, as the person's OK does.
void AnswerMessageBoxes()
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->accept();
    });
    timer->start(1);
}

// A settings folder whose sample profile holds kItems single appointments in its calendar.
// With TV_BENCH_KEEP set, the folder named there is kept, and a later run reads it again
// rather than generating it (for profiling the window alone).
struct BigProfile
{
    BigProfile()
    {
        if (const char* keep = std::getenv("TV_BENCH_KEEP"); keep && *keep) {
            root = keep;
            kept = true;
        } else {
            std::string sTemplate = (fs::temp_directory_path() / "tvbenchreport-XXXXXX").string();
            if (!mkdtemp(sTemplate.data()))
                throw std::runtime_error("no temporary folder");
            root = sTemplate;
        }
        setenv("XDG_CONFIG_HOME", root.c_str(), 1);
        const fs::path folder = host::SampleProfileFolder();
        if (kept && fs::exists(folder))
            return;
        fs::create_directories(folder.parent_path());
        platform::store::SampleProfileOptions options;
        options.calendarItems = kItems;
        options.dataFolder = folder.parent_path();
        options.reportsXml = ShippedReports();
        options.language = "de";
        platform::store::GenerateSampleProfile(folder, options);
    }
    ~BigProfile()
    {
        std::error_code ec;
        if (!kept)
            fs::remove_all(root, ec);
    }
    fs::path root;
    bool kept = false;
};

BigProfile& Profile()
{
    static BigProfile profile;
    return profile;
}

void Settle()
{
    for (int i = 0; i < 3; ++i)
        QApplication::processEvents();
}

// The client with the report window open and read.
struct OpenReport
{
    OpenReport() : host(Options(), TV_ADDIN_PATH, out)
    {
        host.Start();
        QTest::mouseClick(host.Client()->RibbonButton(), Qt::LeftButton);
        Settle();
        if (!host.ReportView())
            throw std::runtime_error("the report window did not open: " + out.str());
    }
    ~OpenReport() { host.Stop(); }
    static host::HostOptions Options()
    {
        Profile();
        host::HostOptions options;
        options.sLanguage = "de";
        return options;
    }
    pf::Form& Window() const { return host.ReportView()->Form(); }
    pf::FlexGrid& Grid() const { return *host.Library()->ReportGrid(); }
    std::ostringstream out;
    host::GuiHost host;
};

void BM_OpenReportWindow100k(benchmark::State& state)
{
    for (auto _ : state) {
        state.PauseTiming();
        auto oHost =
            std::make_unique<host::GuiHost>(OpenReport::Options(), TV_ADDIN_PATH, std::cerr);
        oHost->Start();
        state.ResumeTiming();
        QTest::mouseClick(oHost->Client()->RibbonButton(), Qt::LeftButton);
        Settle();
        state.PauseTiming();
        if (!oHost->ReportView())
            state.SkipWithError("the report window did not open");
        else
            state.counters["rows"] = oHost->Library()->ReportGrid()->Rows();
        oHost->Stop();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenReportWindow100k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_Refresh100k(benchmark::State& state)
{
    OpenReport report;
    auto& menu = dynamic_cast<pf::MenuBar&>(*report.Window().FindControl("MenuBar1"));
    for (auto _ : state) {
        menu.Click("refresh");
        Settle();
    }
    state.counters["rows"] = report.Grid().Rows();
}
BENCHMARK(BM_Refresh100k)->Unit(benchmark::kMillisecond)->Iterations(1);

// Runs `act` on the form of that name once it shows (from a timer of its own, so that it runs
// also inside the modal loop of a window that an earlier `act` opened).
void WhenFormShown(const QString& sForm, std::function<void(gui::FormView&)> act)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, sForm, act] {
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (auto* view = qobject_cast<gui::FormView*>(widget);
                view && view->isVisible() && view->objectName() == sForm) {
                timer->stop();
                timer->deleteLater();
                act(*view);
                return;
            }
    });
    timer->start(1);
}

void Press(gui::FormView& view, const char* sControl)
{
    if (auto* button = qobject_cast<QAbstractButton*>(view.WidgetOf(sControl)))
        button->click();
    else
        throw std::runtime_error(std::string("no ") + sControl + " in " +
                                 view.objectName().toStdString());
}

using Clock = std::chrono::steady_clock;

// The time a step took on the clock, and the processor time the thread spent on it: on a busy
// machine the first counts the turns the thread waited for a processor too.
struct Took
{
    double dWall = 0;
    double dCpu = 0;
};

double ThreadCpuSeconds()
{
    timespec oNow{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &oNow);
    return double(oNow.tv_sec) + double(oNow.tv_nsec) / 1e9;
}

class Stopwatch
{
public:
    Took Stop() const
    {
        return {std::chrono::duration<double>(Clock::now() - m_tWall).count(),
                ThreadCpuSeconds() - m_dCpu};
    }

private:
    Clock::time_point m_tWall = Clock::now();
    double m_dCpu = ThreadCpuSeconds();
};

// The same fill as the window's, from its records by its template, into a grid that no window
// shows: what the grid control itself costs, without the view. The grid is filled once
// beforehand, so that the fill timed is a refill, as the window's are.
class HeadlessFill
{
public:
    explicit HeadlessFill(OpenReport& report) : m_report(report)
    {
        if (!report.host.Library()->FillGrid(m_grid))
            throw std::runtime_error("the add-in filled no grid");
    }
    Took Refill()
    {
        const Stopwatch watch;
        m_report.host.Library()->FillGrid(m_grid);
        const Took took = watch.Stop();
        if (m_grid.Rows() != m_report.Grid().Rows())
            throw std::runtime_error("the grid without a window got other rows than the window's");
        return took;
    }

private:
    OpenReport& m_report;
    pf::FlexGrid m_grid;
};

// Beside a time of the window's: the same fill into a grid without a window, and how many
// times that the window's time is (the figure to keep low), on the clock and in processor time.
void CompareWithHeadless(benchmark::State& state, const Took& window, const Took& headless)
{
    state.counters["window_ms"] = window.dWall * 1000;
    state.counters["headless_ms"] = headless.dWall * 1000;
    state.counters["window_per_headless"] = headless.dWall > 0 ? window.dWall / headless.dWall : 0;
    state.counters["window_cpu_ms"] = window.dCpu * 1000;
    state.counters["headless_cpu_ms"] = headless.dCpu * 1000;
    state.counters["cpu_window_per_headless"] = headless.dCpu > 0 ? window.dCpu / headless.dCpu : 0;
}

// The window's grid filled again from the records it holds (as a changed caption or width in
// the view dialog does), until the window has shown it; beside it the same fill without a
// window.
void BM_Refill100k(benchmark::State& state)
{
    OpenReport report;
    HeadlessFill headless(report);
    Took window, alone;
    for (auto _ : state) {
        const Stopwatch watch;
        report.host.Library()->FillGrid(report.Grid());
        Settle();
        window = watch.Stop();
        state.SetIterationTime(window.dWall);
        state.PauseTiming();
        alone = headless.Refill();
        state.ResumeTiming();
    }
    CompareWithHeadless(state, window, alone);
    state.counters["rows"] = report.Grid().Rows();
}
BENCHMARK(BM_Refill100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

// The view dialog's sorting dialog turns the first sort level the other way round; the time is
// taken from the view dialog's OK, when the grid is filled again from the records it holds.
// Beside it, the same fill by the re-sorted template without a window.
void BM_ReSort100k(benchmark::State& state)
{
    OpenReport report;
    HeadlessFill headless(report);
    Took window, alone;
    auto& menu = dynamic_cast<pf::MenuBar&>(*report.Window().FindControl("MenuBar1"));
    auto& grid = report.Grid();
    bool bDescending = false;
    // The first item's start: the rows above it are group captions and totals.
    const auto firstItem = [&grid] {
        int r = grid.FixedRows();
        while (r < grid.Rows() && grid.IsSubtotal(r))
            ++r;
        return grid.TextMatrix(r, 2);
    };
    const std::string sFirstBefore = firstItem();
    for (auto _ : state) {
        bDescending = !bDescending;
        std::optional<Stopwatch> watch;
        WhenFormShown("frmView", [&](gui::FormView& view) {
            WhenFormShown("frmSort", [&](gui::FormView& sort) {
                Press(sort, bDescending ? "optDesc0" : "optAsc0");
                Press(sort, "cmdOK");
            });
            Press(view, "cmdSort");
            watch.emplace();
            Press(view, "cmdOK");
        });
        menu.Click("setview");
        Settle();
        if (!watch) {
            state.SkipWithError("the view dialog did not show");
            break;
        }
        window = watch->Stop();
        state.SetIterationTime(window.dWall);
        alone = headless.Refill();
    }
    if (bDescending && firstItem() == sFirstBefore)
        state.SkipWithError("the report was not sorted the other way round");
    CompareWithHeadless(state, window, alone);
    state.counters["rows"] = grid.Rows();
}
BENCHMARK(BM_ReSort100k)->Unit(benchmark::kMillisecond)->Iterations(1)->UseManualTime();

void Find(benchmark::State& state, bool bHit)
{
    OpenReport report;
    auto& grid = report.Grid();
    auto& box = dynamic_cast<pf::TextBox&>(*report.Window().FindControl("txtFind"));
    auto& button = dynamic_cast<pf::CommandButton&>(*report.Window().FindControl("cmdFind"));
    const std::string sText = bHit ? grid.TextMatrix(grid.Rows() - 2, 2) : "nirgends zu finden";
    for (auto _ : state) {
        state.PauseTiming();
        grid.SetRow(grid.FixedRows());
        box.SetText(sText);
        state.ResumeTiming();
        button.Click();
        Settle();
    }
    state.counters["row"] = grid.Row();
}

void BM_FindNearTheEnd100k(benchmark::State& state)
{
    Find(state, true);
}
BENCHMARK(BM_FindNearTheEnd100k)->Unit(benchmark::kMillisecond)->Iterations(1);

void BM_FindNothing100k(benchmark::State& state)
{
    Find(state, false);
}
BENCHMARK(BM_FindNothing100k)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

int main(int argc, char** argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("TZ", "Europe/Berlin", 1);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tallyman"));
    AnswerMessageBoxes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
