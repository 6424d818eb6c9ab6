// Filling the report grid from 100,000 records with three grouping levels and two totals.
#include "TestView.h"

#include "common/modLanguage.h"
#include "engine/Records.h"
#include "grid/Flexgrid2.h"
#include "grid/cGrid.h"
#include "platform/forms/FlexGrid.h"
#include "platform/locale/Locale.h"
#include "platform/runtime/Array.h"
#include "platform/runtime/Date.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <string>

namespace rt = platform::runtime;

namespace {

const std::string kCategories = "{00020329-0000-0000-C000-000000000046}/Keywords";

std::shared_ptr<engine::Field> MakeColumn(const std::string& sKey, engine::PT_PROPERTY_TYPE lType)
{
    auto oField = std::make_shared<engine::Field>();
    oField->Init(sKey, 0, lType, rt::Variant(), "", sKey);
    return oField;
}

// A copy of a column with a value, as a read gives each record its fields.
std::shared_ptr<engine::Field> MakeField(const engine::Field& oColumn, rt::Variant v)
{
    auto oField = oColumn.CloneField();
    oField->SetFieldValue(std::move(v));
    return oField;
}

std::shared_ptr<engine::Records> MakeRecords(int n)
{
    auto oRecords = std::make_shared<engine::Records>();
    const char* aCategories[] = {"Kunde", "Projekt", "Privat", "Reise", "Büro"};
    const double dStart = rt::DateSerial(2024, 1, 1).Serial();
    const auto oSubject = MakeColumn("Subject", engine::PT_STRING8);
    const auto oStart = MakeColumn("Start", engine::PT_SYSTIME);
    const auto oCategories = MakeColumn(kCategories, engine::PT_MV_STRING8);
    const auto oDuration = MakeColumn("Duration", engine::PT_LONG);
    const auto oAmount = MakeColumn("Amount", engine::PT_DOUBLE);
    for (int i = 0; i < n; ++i) {
        auto oRecord = std::make_shared<engine::Record>();
        oRecord->SetClass(1);
        rt::Array a(rt::VarType::Variant, {rt::ArrayBounds{0, 0}});
        a(0) = rt::Variant(std::string(aCategories[i % 5]));
        oRecord->AppendField(
            MakeField(*oSubject, rt::Variant("Termin " + std::to_string(i % 997))));
        oRecord->AppendField(
            MakeField(*oStart, rt::Variant(rt::Date(dStart + (i % 730) + (i % 24) / 24.0))));
        oRecord->AppendField(MakeField(*oCategories, rt::Variant(a)));
        oRecord->AppendField(MakeField(*oDuration, rt::Variant(std::int32_t(15 + i % 240))));
        oRecord->AppendField(MakeField(*oAmount, rt::Variant(i % 100 / 4.0)));
        oRecords->Append(oRecord);
    }
    return oRecords;
}

// A line of /proc/self/status in KiB ("VmRSS", "VmHWM"); 0 when it cannot be read.
double StatusKiB(const std::string& sName)
{
    std::ifstream oStatus("/proc/self/status");
    std::string sLine;
    while (std::getline(oStatus, sLine)) {
        if (sLine.rfind(sName + ":", 0) == 0) {
            return std::atof(sLine.c_str() + sName.size() + 1);
        }
    }
    return 0;
}

void BM_FillGrid(benchmark::State& state)
{
    setenv("TZ", "Europe/Berlin", 1);
    tzset();
    platform::locale::SetCurrent("de-DE");
    common::modLanguage::SetLanguageID(common::modLanguage::LANG_GERMAN);
    grid::Flexgrid2::InitGridStrings();
    const auto oRecords = MakeRecords(static_cast<int>(state.range(0)));
    TestView oView;
    oView.AddColumn("Subject", "Betreff", 8, 1);
    oView.AddColumn("Start", "Beginn", 7, 5);
    oView.AddColumn(kCategories, "Kategorien", 12, 11);
    oView.AddColumn("Duration", "Dauer", 3, 7, 2);
    oView.AddColumn("Amount", "Betrag", 5, 1, 2);
    oView.Group(0, "Start", 6);
    oView.Group(1, "Start", 4);
    oView.Group(2, kCategories);
    oView.Sort(0, "Subject");
    double dAddedMiB = 0;
    for (auto _ : state) {
        // The peak of the resident memory restarts here, so that the fill's own memory shows.
        std::ofstream("/proc/self/clear_refs") << "5";
        const double dBefore = StatusKiB("VmRSS");
        platform::forms::FlexGrid fg;
        grid::cGrid oGrid;
        oGrid.ShowItems(fg, oRecords, oView);
        benchmark::DoNotOptimize(fg.Rows());
        dAddedMiB = std::max(dAddedMiB, (StatusKiB("VmHWM") - dBefore) / 1024);
    }
    state.counters["added_MiB"] = dAddedMiB;
}

} // namespace

BENCHMARK(BM_FillGrid)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(1);
// The large grid; run it alone (--benchmark_filter=BM_FillGrid/1000000) to read its memory.
BENCHMARK(BM_FillGrid)->Arg(1000000)->Unit(benchmark::kMillisecond)->Iterations(1);
