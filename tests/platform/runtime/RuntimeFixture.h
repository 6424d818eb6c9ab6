#pragma once

#include "platform/locale/Locale.h"
#include "platform/runtime/Date.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <optional>

// Pins the time zone and the locale, and takes the clock back to the system afterwards.
class RuntimeFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        setenv("TZ", "Europe/Berlin", 1);
        tzset();
        platform::locale::SetCurrent("de-DE");
    }
    void TearDown() override { platform::runtime::SetClock({}); }
};

// The runtime error number that `f` raises, or nothing when it returns normally.
template <class F> std::optional<std::int32_t> RaisedNumber(F&& f)
{
    try {
        f();
    } catch (const platform::runtime::Error& e) {
        return e.Number();
    }
    return std::nullopt;
}
