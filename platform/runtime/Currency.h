#pragma once

#include <compare>
#include <cstdint>

namespace platform::runtime {

/// The runtime's Currency: a 64-bit fixed-point number with four decimals
/// (-922337203685477.5808 to 922337203685477.5807).
class Currency
{
public:
    /// Zero.
    constexpr Currency() = default;

    /// The amount given in ten-thousandths (12345 is 1.2345).
    static constexpr Currency FromScaled(std::int64_t scaled) { return Currency(scaled); }
    /// The nearest Currency to `value`, ties to even in the fourth decimal.
    /// Throws Error 6 (overflow) outside the range or for NaN.
    static Currency FromDouble(double value);

    /// The amount in ten-thousandths.
    constexpr std::int64_t Scaled() const noexcept { return scaled_; }
    /// The amount as a double (may lose the last digits of large amounts).
    double ToDouble() const noexcept { return static_cast<double>(scaled_) / 10000.0; }

    /// Sum; throws Error 6 on overflow.
    friend Currency operator+(Currency a, Currency b);
    /// Difference; throws Error 6 on overflow.
    friend Currency operator-(Currency a, Currency b);
    friend constexpr bool operator==(Currency, Currency) = default;
    friend constexpr auto operator<=>(Currency, Currency) = default;

private:
    constexpr explicit Currency(std::int64_t scaled) : scaled_(scaled) {}
    std::int64_t scaled_ = 0;
};

} // namespace platform::runtime
