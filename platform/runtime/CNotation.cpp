#include "platform/runtime/CNotation.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace platform::runtime {

namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

std::string Formatted(double value, std::chars_format format, int decimals)
{
    // Enough for the longest fixed text of a double (309 digits) and its decimals.
    char buffer[400 + 64];
    const int precision = std::clamp(decimals, 0, 64);
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, format, precision);
    return std::string(buffer, result.ptr);
}

// Whether a number that no double holds lies beyond the largest rather than below the
// smallest: by the power of ten of its first significant digit, which is far above zero (308)
// at the one end and far below it (-324) at the other.
bool TooLarge(std::string_view digits)
{
    const std::size_t e = digits.find_first_of("eE");
    const std::string_view mantissa = digits.substr(0, e);
    long long exponent = 0;
    if (e != std::string_view::npos) {
        std::string_view text = digits.substr(e + 1);
        const bool negative = !text.empty() && text.front() == '-';
        if (!text.empty() && (text.front() == '-' || text.front() == '+'))
            text.remove_prefix(1);
        for (char c : text)
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000LL);
        exponent = negative ? -exponent : exponent;
    }
    const std::size_t point = std::min(mantissa.find('.'), mantissa.size());
    const std::size_t first = mantissa.find_first_of("123456789");
    if (first == std::string_view::npos)
        return false;
    const long long power = first < point ? static_cast<long long>(point - first) - 1
                                          : -static_cast<long long>(first - point);
    return power + exponent > 0;
}

} // namespace

std::string FixedNotation(double value, int decimals)
{
    return Formatted(value, std::chars_format::fixed, decimals);
}

std::string ScientificNotation(double value, int decimals)
{
    return Formatted(value, std::chars_format::scientific, decimals);
}

std::optional<double> ParseNotation(std::string_view text)
{
    while (!text.empty() &&
           std::string_view(" \t\n\v\f\r").find(text.front()) != std::string_view::npos)
        text.remove_prefix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    // from_chars alone would also take "inf", "nan" and a second sign.
    if (text.empty() || !(IsDigit(text.front()) || text.front() == '.'))
        return std::nullopt;
    double value = 0.0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (end != text.data() + text.size())
        return std::nullopt;
    if (error == std::errc::result_out_of_range)
        value = TooLarge(text) ? std::numeric_limits<double>::infinity() : 0.0;
    else if (error != std::errc())
        return std::nullopt;
    return negative ? -value : value;
}

} // namespace platform::runtime
