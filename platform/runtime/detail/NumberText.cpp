#include "platform/runtime/detail/NumberText.h"

#include "platform/runtime/CNotation.h"
#include "platform/runtime/Error.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <string>

namespace platform::runtime::detail {

namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool StartsWith(std::string_view text, std::string_view prefix)
{
    return !prefix.empty() && text.substr(0, prefix.size()) == prefix;
}

int DigitValue(char c, int radix)
{
    int value = -1;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
}

std::string_view TrimBlanks(std::string_view text)
{
    while (!text.empty() && (IsBlank(text.front()))) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()))) {
        text.remove_suffix(1);
    }
    return text;
}

// Removes the currency symbol from either end; returns true when it was there.
bool StripSymbol(std::string_view& text, std::string_view symbol)
{
    if (symbol.empty()) {
        return false;
    }
    if (StartsWith(text, symbol)) {
        text = TrimBlanks(text.substr(symbol.size()));
        return true;
    }
    if (text.size() >= symbol.size() && text.substr(text.size() - symbol.size()) == symbol) {
        text = TrimBlanks(text.substr(0, text.size() - symbol.size()));
        return true;
    }
    return false;
}

// Reads "[digits with grouping][decimal digits][exponent]" into a number in C notation.
std::optional<std::string> Mantissa(std::string_view text, const platform::locale::Settings& s)
{
    std::string ascii;
    std::size_t i = 0;
    bool digits = false;
    while (i < text.size()) {
        if (std::isdigit(static_cast<unsigned char>(text[i]))) {
            ascii += text[i++];
            digits = true;
        } else if (digits && StartsWith(text.substr(i), s.groupingSeparator)) {
            i += s.groupingSeparator.size();
        } else {
            break;
        }
    }
    if (StartsWith(text.substr(i), s.decimalSeparator)) {
        i += s.decimalSeparator.size();
        ascii += '.';
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ascii += text[i++];
            digits = true;
        }
    }
    if (!digits) {
        return std::nullopt;
    }
    if (i < text.size() && std::string_view("eEdD").find(text[i]) != std::string_view::npos) {
        ascii += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
            ascii += text[i++];
        }
        bool exponentDigits = false;
        while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
            ascii += text[i++];
            exponentDigits = true;
        }
        if (!exponentDigits) {
            return std::nullopt;
        }
    }
    if (i != text.size()) {
        return std::nullopt;
    }
    return ascii;
}

} // namespace

std::string GeneralNumber(double value, int digits, std::string_view decimalSeparator)
{
    if (value == 0.0) {
        return "0"; // also for -0.0
    }
    // to_chars with a precision gives what printf's %.*g gives in the C locale, without the
    // locale look-ups; only the letters are lower case ("e", "inf", "nan").
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, digits);
    std::string text;
    text.reserve(static_cast<std::size_t>(result.ptr - buffer) + decimalSeparator.size());
    for (const char* p = buffer; p != result.ptr; ++p) {
        if (*p == '.') {
            text += decimalSeparator;
        } else {
            text += *p >= 'a' && *p <= 'z' ? static_cast<char>(*p - 'a' + 'A') : *p;
        }
    }
    return text;
}

std::optional<double> ParseRadix(std::string_view digits, int radix, std::size_t* used)
{
    std::uint64_t value = 0;
    std::size_t count = 0;
    while (count < digits.size() && DigitValue(digits[count], radix) >= 0) {
        value = value * static_cast<unsigned>(radix) +
                static_cast<unsigned>(DigitValue(digits[count], radix));
        if (value > 0xFFFFFFFFu) {
            Raise(errors::Overflow);
        }
        ++count;
    }
    if (used) {
        *used = count;
    }
    if (count == 0) {
        return std::nullopt;
    }
    // Values that fit 16 bits are Integers, the rest Longs; both are signed.
    if (value <= 0xFFFFu) {
        return static_cast<double>(static_cast<std::int16_t>(static_cast<std::uint16_t>(value)));
    }
    return static_cast<double>(static_cast<std::int32_t>(static_cast<std::uint32_t>(value)));
}

// "&H" hex, "&O" or "&" octal; `used` receives the characters read, prefix included.
static std::optional<double> ParseAmpersand(std::string_view text, std::size_t* used = nullptr)
{
    std::size_t prefix = 1;
    int radix = 8;
    if (text.size() > 1 && (text[1] == 'H' || text[1] == 'h')) {
        radix = 16;
        prefix = 2;
    } else if (text.size() > 1 && (text[1] == 'O' || text[1] == 'o')) {
        prefix = 2;
    }
    std::size_t digits = 0;
    std::optional<double> value = ParseRadix(text.substr(prefix), radix, &digits);
    if (used) {
        *used = prefix + digits;
    }
    return value;
}

std::optional<double> ParseNumber(std::string_view text, const platform::locale::Settings& s)
{
    text = TrimBlanks(text);
    if (!text.empty() && text.front() == '&') {
        std::size_t used = 0;
        std::optional<double> value = ParseAmpersand(text, &used);
        return used == text.size() ? value : std::nullopt;
    }
    bool negative = false;
    if (text.size() >= 2 && text.front() == '(' && text.back() == ')') {
        negative = true;
        text = TrimBlanks(text.substr(1, text.size() - 2));
    }
    bool symbol = StripSymbol(text, s.currencySymbol);
    if (!negative && !text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text = TrimBlanks(text.substr(1));
    } else if (!negative && !text.empty() && (text.back() == '-' || text.back() == '+')) {
        negative = text.back() == '-';
        text = TrimBlanks(text.substr(0, text.size() - 1));
    }
    if (!symbol) {
        StripSymbol(text, s.currencySymbol);
    }
    const std::optional<std::string> mantissa = Mantissa(text, s);
    if (!mantissa) {
        return std::nullopt;
    }
    const double value = ParseNotation(*mantissa).value_or(0.0);
    if (std::isinf(value)) {
        Raise(errors::Overflow);
    }
    return negative ? -value : value;
}

double Val(std::string_view text)
{
    // Val ignores blanks everywhere, so drop them before reading.
    std::string compact;
    for (char c : text) {
        if (!IsBlank(c)) {
            compact += c;
        }
    }
    if (!compact.empty() && compact.front() == '&') {
        return ParseAmpersand(compact).value_or(0.0);
    }
    std::string ascii;
    std::size_t i = 0;
    if (i < compact.size() && (compact[i] == '+' || compact[i] == '-')) {
        ascii += compact[i++];
    }
    bool digits = false;
    bool point = false;
    for (; i < compact.size(); ++i) {
        const char c = compact[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            ascii += c;
            digits = true;
        } else if (c == '.' && !point) {
            ascii += c;
            point = true;
        } else {
            break;
        }
    }
    if (!digits) {
        return 0.0;
    }
    // An exponent counts only with at least one digit after it.
    if (i < compact.size() && std::string_view("eEdD").find(compact[i]) != std::string_view::npos) {
        std::string exponent = "e";
        std::size_t j = i + 1;
        if (j < compact.size() && (compact[j] == '+' || compact[j] == '-')) {
            exponent += compact[j++];
        }
        const std::size_t firstDigit = j;
        while (j < compact.size() && std::isdigit(static_cast<unsigned char>(compact[j]))) {
            exponent += compact[j++];
        }
        if (j > firstDigit) {
            ascii += exponent;
        }
    }
    // Read in C notation: strtod would take the point only where the process locale has it.
    const double value = ParseNotation(ascii).value_or(0.0);
    if (std::isinf(value)) {
        Raise(errors::Overflow);
    }
    return value;
}

} // namespace platform::runtime::detail
