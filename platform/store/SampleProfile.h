#pragma once

#include "platform/store/LocalTime.h"
#include "platform/store/Profile.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

namespace platform::store {

/// What the sample profile holds.
struct SampleProfileOptions
{
    /// Seeds every choice: the same seed and anchor give the same logical content (entry ids
    /// included).
    std::uint64_t seed = 1;
    /// Dates are laid out around this day (the host passes today, tests a fixed date).
    CivilDate anchor{2024, 6, 15};
    /// Single appointments in the default calendar; 100000 makes the benchmark profile.
    int calendarItems = 1500;
    /// When both are set, the report definitions (see WriteSampleReports) are written into
    /// this data folder as "reports.xml", unless that file already exists.
    std::filesystem::path dataFolder;
    std::string reportsXml;
    /// The language of the report definitions' names and captions: "de" or "en" (the
    /// user's language when the profile is made for a new user).
    std::string language = "de";
};

/// Generates the sample profile into a new folder (see Profile::Create) and answers it.
///
/// Stores: "Persönliche Ordner" (kind 2, default) with every default folder, a second calendar
/// "Projekte" and task folder "Privat" with user-defined fields; "Archiv" (kind 1) with older
/// appointments, tasks and journal entries; "Öffentliche Ordner" (kind 5) with a shared
/// calendar and task folder. Appointments single, all-day and recurring (daily, weekly on
/// several days, every n weeks, monthly on day 31, last Friday, yearly, year-nth), with
/// deleted and moved occurrences; tasks in every status with due dates, percent complete and
/// work; journal entries of several types; mail, contacts and notes. Every item carries the
/// properties that reports show for its class, categories with German umlauts among them.
/// The default store holds the master category list (props::PR_MASTER_CATEGORY_LIST) and
/// every store its owner's name (PR_MAILBOX_OWNER_NAME); the profile's user name is set.
std::shared_ptr<Profile> GenerateSampleProfile(const std::filesystem::path& folder,
                                               const SampleProfileOptions& options);

} // namespace platform::store
