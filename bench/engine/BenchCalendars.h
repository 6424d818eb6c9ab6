#pragma once

#include "platform/store/Profile.h"
#include "platform/store/RecurrencePattern.h"

#include <filesystem>
#include <memory>
#include <string>

namespace engine {
class Records;
}

namespace bench {

/// A generated profile in a temporary folder, made the current profile while it lives and
/// removed with it. With TV_BENCH_KEEP set, the profile lives in that folder instead, is kept,
/// and a later run (of this or of another build) reads it again rather than generating it.
struct BenchProfile
{
    std::filesystem::path dir;
    std::shared_ptr<platform::store::Profile> profile;
    std::string storeId;
    std::string calendarId;

    /// Pins TZ and the locale and creates the folder; the builders below fill it.
    explicit BenchProfile(const std::string& name);
    ~BenchProfile();
    BenchProfile(const BenchProfile&) = delete;
    BenchProfile& operator=(const BenchProfile&) = delete;
    /// Makes the profile the one the messaging library opens.
    void MakeCurrent() const;
    /// Opens a kept profile of an earlier run; false when there is none.
    bool OpenKept();
    bool keep = false;
};

/// A calendar as a busy user keeps it: `singles` single appointments and `series` recurring
/// ones (daily, weekly on several days, monthly, last weekday of the month; some ended, some
/// without end) over `years` years up to the end of 2026, with deleted and moved occurrences
/// (moved within the series, past its end, and before its first occurrence). Deterministic.
void BuildBusyCalendar(BenchProfile& target, int singles, int series, int years);

/// The busy calendar above (the same items), grown `factor` times by as many more years
/// before it at the same density, all of them over (singles and ended series) before its
/// first year begins: a read of a window in the recent years returns the same records
/// whatever the factor.
void BuildGrownCalendar(BenchProfile& target, int singles, int series, int years, int factor);

/// A calendar of `series` recurring appointments that never end, begun in 2023 and 2024, with
/// deleted and moved occurrences, and nothing else: its reads are all occurrences.
void BuildSeriesCalendar(BenchProfile& target, int series);

/// The columns of a calendar report: subject, start, end, duration and folder name.
void AddCalendarColumns(engine::Records& records);

/// The sample profile with `calendarItems` single appointments around 2024-06-15.
void BuildSampleProfile(BenchProfile& target, int calendarItems);

} // namespace bench
