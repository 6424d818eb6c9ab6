#include "platform/runtime/Currency.h"

#include "platform/runtime/Error.h"

#include <cmath>

namespace platform::runtime {

Currency Currency::FromDouble(double value)
{
    const double scaled = std::nearbyint(value * 10000.0); // default mode: ties to even
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(scaled >= -9223372036854775808.0 && scaled < 9223372036854775808.0)) {
        Raise(errors::Overflow);
    }
    return Currency(static_cast<std::int64_t>(scaled));
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
