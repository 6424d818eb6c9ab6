#include "platform/runtime/Currency.h"

#include "platform/runtime/CNotation.h"
#include "platform/runtime/Error.h"

#include <cmath>
#include <cstdlib>

namespace platform::runtime {

Currency Currency::FromDouble(double value)
{
    if (!std::isfinite(value)) {
        Raise(errors::Overflow);
    }
    // Round the value's 15 significant decimal digits, not its binary approximation, so that
    // 0.00015 is the tie it looks like (binary: 0.000149999...).
    const std::string text = ScientificNotation(std::fabs(value), 14);
    unsigned __int128 digits = 0;
    const char* p = text.c_str();
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits = digits * 10 + static_cast<unsigned>(*p - '0');
        }
    }
    // value = digits * 10^(exponent - 14); in ten-thousandths: digits * 10^(exponent - 10).
    const int shift = std::atoi(p + 1) - 10;
    unsigned __int128 scaled = digits;
    if (shift > 0) {
        if (shift > 8) {
            Raise(errors::Overflow);
        }
        for (int i = 0; i < shift; ++i) {
            scaled *= 10;
        }
    } else if (shift < 0) {
        if (shift < -16) {
            return Currency();
        }
        unsigned __int128 divisor = 1;
        for (int i = 0; i < -shift; ++i) {
            divisor *= 10;
        }
        scaled = digits / divisor;
        const unsigned __int128 rest = digits % divisor;
        if (rest * 2 > divisor || (rest * 2 == divisor && scaled % 2 != 0)) {
            ++scaled; // half to even
        }
    }
    const unsigned __int128 limit = value < 0 ? (static_cast<unsigned __int128>(1) << 63)
                                              : (static_cast<unsigned __int128>(1) << 63) - 1;
    if (scaled > limit) {
        Raise(errors::Overflow);
    }
    const auto magnitude = static_cast<std::uint64_t>(scaled);
    return Currency(value < 0 ? static_cast<std::int64_t>(0 - magnitude)
                              : static_cast<std::int64_t>(magnitude));
}

Currency operator+(Currency a, Currency b)
{
    std::int64_t result = 0;
    if (__builtin_add_overflow(a.scaled_, b.scaled_, &result)) {
        Raise(errors::Overflow);
    }
    return Currency(result);
}

Currency operator-(Currency a, Currency b)
{
    std::int64_t result = 0;
    if (__builtin_sub_overflow(a.scaled_, b.scaled_, &result)) {
        Raise(errors::Overflow);
    }
    return Currency(result);
}

} // namespace platform::runtime
