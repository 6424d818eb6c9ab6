#pragma once

#include "engine/detail/modOutlookCalendar.h"

#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>
#include <random>
#include <string>

namespace engine::test {

namespace rt = platform::runtime;

/// Pins the time zone (Berlin, with real daylight-saving changes), the German locale, a fresh
/// data folder (XDG_CONFIG_HOME) and today's date; the client's first day of the week is
/// Monday unless a test says otherwise.
class EngineFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
        std::random_device rd;
        m_dataDir = std::filesystem::temp_directory_path() /
                    ("tv-engine-" + std::to_string(rd()) + std::to_string(rd()));
        std::filesystem::create_directories(m_dataDir / "config");
        setenv("XDG_CONFIG_HOME", (m_dataDir / "config").c_str(), 1);
        PinToday(2024, 5, 15);
        SetFirstDayOfWeek(1);
    }

    void TearDown() override
    {
        rt::SetClock({});
        detail::modOutlookCalendar::SetFirstDayOfWeekSource({});
        std::error_code ec;
        std::filesystem::remove_all(m_dataDir, ec);
    }

    /// Today becomes this day (at 10:30, so that windows must drop the time of day).
    static void PinToday(int y, int m, int d)
    {
        const rt::Date now = rt::Date::FromLinear(
            static_cast<double>(rt::DateSerial(y, m, d).DayNumber()) + 10.5 / 24.0);
        rt::SetClock([now] { return now; });
    }

    /// The client's first day of the week: 0 Sunday ... 6 Saturday, -1 unknown.
    static void SetFirstDayOfWeek(long lDay)
    {
        detail::modOutlookCalendar::SetFirstDayOfWeekSource([lDay] { return lDay; });
    }

    /// A local date and time.
    static rt::Date At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0)
    {
        return rt::Date::FromLinear(static_cast<double>(rt::DateSerial(y, mo, d).DayNumber()) +
                                    (h * 3600.0 + mi * 60.0 + s) / 86400.0);
    }

    const std::filesystem::path& DataDir() const { return m_dataDir; }

private:
    std::filesystem::path m_dataDir;
};

/// The runtime error number that f raises, or nothing when it returns normally.
template <class F> std::optional<std::int32_t> RaisedNumber(F&& f)
{
    try {
        f();
    } catch (const rt::Error& e) {
        return e.Number();
    }
    return std::nullopt;
}

} // namespace engine::test
