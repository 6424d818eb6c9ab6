// Numbers shown by the grid control: the digits printf gives in the C locale (%.0f for whole
// numbers below 1E15, else %.15g), with the locale's decimal separator.
#include "platform/forms/detail/CellValues.h"
#include "platform/locale/Locale.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>

namespace {

using platform::forms::detail::FormatNumber;

// The reference text of `value` with `decimal` for the point.
std::string PrintfText(double value, const std::string& decimal)
{
    char buffer[64];
    if (std::fabs(value) < 1e15 && value == std::trunc(value)) {
        std::snprintf(buffer, sizeof buffer, "%.0f", value);
    } else {
        std::snprintf(buffer, sizeof buffer, "%.15g", value);
    }
    std::string text = buffer;
    if (const auto pos = text.find('.'); pos != std::string::npos) {
        text.replace(pos, 1, decimal);
    }
    return text;
}

TEST(CellValuesTest, NumbersShowAsPrintfDigitsInBothLocales)
{
    const double edges[] = {0.0,  -0.0,   1.0,   -1.0,    0.5,   -2.675, 1e15 - 1,
                            1e15, -1e15,  1e16,  1.5e-7,  1e-5,  1e-4,   123456.789,
                            1e21, 1e300,  -1e-300, 0.1 + 0.2, 999999999999999.9};
    for (const auto& [locale, decimal] :
         {std::pair<const char*, std::string>{"de-DE", ","}, {"en-US", "."}}) {
        platform::locale::SetCurrent(locale);
        for (const double value : edges) {
            EXPECT_EQ(FormatNumber(value), value == 0 ? "0" : PrintfText(value, decimal))
                << locale << " " << value;
        }
        std::uint64_t state = 0x2545F4914F6CDD1Du;
        for (int i = 0; i < 5000; ++i) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            const double mantissa = static_cast<double>(state >> 11) / 9007199254740992.0;
            double value = mantissa * std::pow(10.0, static_cast<int>(state % 41) - 20);
            if (i % 2 == 0) {
                value = -std::round(value); // whole numbers, negative
            }
            if (value != 0) {
                ASSERT_EQ(FormatNumber(value), PrintfText(value, decimal)) << locale << value;
            }
        }
    }
}

} // namespace
