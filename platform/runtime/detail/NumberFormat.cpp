#include "platform/runtime/detail/FormatPatterns.h"

#include "platform/runtime/CNotation.h"

#include <cmath>
#include <cstdlib>
#include <vector>

namespace platform::runtime::detail {

namespace {

// One element of a number pattern section.
struct Element
{
    enum class Kind
    {
        Digit,
        Point,
        Exponent,
        Literal
    };
    Kind kind;
    char placeholder = '0'; // '0' or '#'
    bool exponentPlus = false;
    std::string text; // literals
};

struct Section
{
    std::vector<Element> elements;
    bool grouping = false;
    int scale = 0; // thousands to divide by
    bool percent = false;
    bool exponent = false;
};

std::vector<std::string_view> SplitSections(std::string_view pattern)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0;
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '"') {
            quoted = !quoted;
        } else if (!quoted && pattern[i] == '\\') {
            ++i;
        } else if (!quoted && pattern[i] == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

bool IsPlaceholder(char c)
{
    return c == '0' || c == '#';
}

// Reads a section; commas between digit placeholders group, commas after the last integer
// placeholder scale.
Section ParseSection(std::string_view p)
{
    Section section;
    bool seenPoint = false;
    bool seenDigit = false;
    for (std::size_t i = 0; i < p.size(); ++i) {
        const char c = p[i];
        if (c == '"') {
            const std::size_t end = p.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? p.size() : end;
            section.elements.push_back(
                {Element::Kind::Literal, '0', false, std::string(p.substr(i + 1, stop - i - 1))});
            i = stop;
        } else if (c == '\\' && i + 1 < p.size()) {
            section.elements.push_back(
                {Element::Kind::Literal, '0', false, std::string(1, p[++i])});
        } else if (IsPlaceholder(c)) {
            section.elements.push_back({Element::Kind::Digit, c, false, {}});
            seenDigit = true;
        } else if (c == '.' && !seenPoint && !section.exponent) {
            section.elements.push_back({Element::Kind::Point, '0', false, {}});
            seenPoint = true;
        } else if (c == ',' && !seenPoint && !section.exponent) {
            std::size_t j = i;
            while (j < p.size() && p[j] == ',') {
                ++j;
            }
            if (seenDigit && j < p.size() && IsPlaceholder(p[j])) {
                section.grouping = true;
            } else if (seenDigit) {
                section.scale += static_cast<int>(j - i);
            }
            i = j - 1;
        } else if ((c == 'E' || c == 'e') && i + 2 < p.size() &&
                   (p[i + 1] == '+' || p[i + 1] == '-') && IsPlaceholder(p[i + 2]) &&
                   !section.exponent) {
            section.elements.push_back({Element::Kind::Exponent, '0', p[i + 1] == '+', {}});
            section.exponent = true;
            ++i;
        } else {
            if (c == '%') {
                section.percent = true;
            }
            section.elements.push_back({Element::Kind::Literal, '0', false, std::string(1, c)});
        }
    }
    return section;
}

struct Counts
{
    int integer = 0;     // placeholders before the point
    int minInteger = 0;  // from the first '0' on
    int fraction = 0;    // placeholders after the point
    int minFraction = 0; // up to the last '0'
    int exponent = 0;    // placeholders of the exponent
};

Counts Count(const Section& section)
{
    Counts counts;
    enum
    {
        Integer,
        Fraction,
        Exponent
    } part = Integer;
    for (const Element& e : section.elements) {
        if (e.kind == Element::Kind::Point) {
            part = Fraction;
        } else if (e.kind == Element::Kind::Exponent) {
            part = Exponent;
        } else if (e.kind == Element::Kind::Digit) {
            if (part == Integer) {
                ++counts.integer;
                if (e.placeholder == '0' || counts.minInteger > 0) {
                    ++counts.minInteger;
                }
            } else if (part == Fraction) {
                ++counts.fraction;
                if (e.placeholder == '0') {
                    counts.minFraction = counts.fraction;
                }
            } else {
                ++counts.exponent;
            }
        }
    }
    return counts;
}

// Splits a value into mantissa and power of ten for an exponent pattern with `integer`
// integer places.
std::pair<double, int> Scientific(double value, int integerPlaces, int decimals)
{
    if (value == 0.0) {
        return {0.0, 0};
    }
    const int places = std::max(1, integerPlaces);
    int exponent = static_cast<int>(std::floor(std::log10(value))) - (places - 1);
    double mantissa = value / std::pow(10.0, exponent);
    // Rounding may carry into one more integer digit (9.99 -> 10.0).
    const DecimalDigits digits = RoundDecimal(mantissa, decimals);
    if (static_cast<int>(digits.integer.size()) > places) {
        ++exponent;
        mantissa = value / std::pow(10.0, exponent);
    }
    return {mantissa, exponent};
}

std::string Render(const Section& section, double magnitude, const platform::locale::Settings& s)
{
    const Counts counts = Count(section);
    double value = magnitude * (section.percent ? 100.0 : 1.0) / std::pow(1000.0, section.scale);
    int exponent = 0;
    if (section.exponent) {
        std::tie(value, exponent) = Scientific(value, counts.integer, counts.fraction);
    }
    const DecimalDigits digits = RoundDecimal(value, counts.fraction);
    std::string integer = digits.integer;
    if (static_cast<int>(integer.size()) < counts.minInteger) {
        integer.insert(0, static_cast<std::size_t>(counts.minInteger) - integer.size(), '0');
    }
    if (section.grouping) {
        integer = Group(integer, s.groupingSeparator);
    }
    std::string fraction = digits.fraction;
    while (static_cast<int>(fraction.size()) > counts.minFraction && fraction.back() == '0') {
        fraction.pop_back();
    }
    std::string exponentDigits = std::to_string(std::abs(exponent));
    if (static_cast<int>(exponentDigits.size()) < counts.exponent) {
        exponentDigits.insert(0, static_cast<std::size_t>(counts.exponent) - exponentDigits.size(),
                              '0');
    }

    std::string out;
    enum
    {
        Integer,
        Fraction,
        Exponent
    } part = Integer;
    int integerSeen = 0;
    std::size_t fractionAt = 0;
    bool exponentDone = false;
    for (const Element& e : section.elements) {
        switch (e.kind) {
        case Element::Kind::Literal:
            out += e.text == "%" ? s.percentSymbol : e.text;
            break;
        case Element::Kind::Point:
            out += s.decimalSeparator;
            part = Fraction;
            break;
        case Element::Kind::Exponent:
            out += exponent < 0 ? "E-" : (e.exponentPlus ? "E+" : "E");
            part = Exponent;
            break;
        case Element::Kind::Digit:
            if (part == Integer) {
                // The whole integer goes where the first placeholder stands.
                if (integerSeen++ == 0) {
                    out += integer;
                }
            } else if (part == Fraction) {
                if (fractionAt < fraction.size()) {
                    out += fraction[fractionAt++];
                }
            } else if (!exponentDone) {
                out += exponentDigits;
                exponentDone = true;
            }
            break;
        }
    }
    return out;
}

bool IsZeroWhenRounded(double magnitude, const Section& section)
{
    const Counts counts = Count(section);
    if (section.exponent) {
        return magnitude == 0.0;
    }
    const double value =
        magnitude * (section.percent ? 100.0 : 1.0) / std::pow(1000.0, section.scale);
    const DecimalDigits digits = RoundDecimal(value, counts.fraction);
    return digits.integer.empty() && digits.fraction.find_first_not_of('0') == std::string::npos;
}

} // namespace

DecimalDigits RoundDecimal(double value, int decimals)
{
    const std::string text = ScientificNotation(std::fabs(value), 14);
    std::string digits;
    const char* p = text.c_str();
    for (; *p && *p != 'e'; ++p) {
        if (*p >= '0' && *p <= '9') {
            digits += *p;
        }
    }
    const int exponent = *p == 'e' ? std::atoi(p + 1) : 0;
    // digits d1 d2 ... d15 stand for 0.d1d2... x 10^(exponent + 1).
    const int pointAt = exponent + 1;
    std::string integer;
    std::string fraction;
    if (pointAt <= 0) {
        fraction = std::string(static_cast<std::size_t>(-pointAt), '0') + digits;
    } else if (pointAt >= static_cast<int>(digits.size())) {
        integer = digits + std::string(static_cast<std::size_t>(pointAt) - digits.size(), '0');
    } else {
        integer = digits.substr(0, static_cast<std::size_t>(pointAt));
        fraction = digits.substr(static_cast<std::size_t>(pointAt));
    }
    const auto places = static_cast<std::size_t>(std::max(0, decimals));
    const bool roundUp = fraction.size() > places && fraction[places] >= '5';
    fraction.resize(places, '0');
    if (roundUp) {
        std::string all = integer + fraction;
        int i = static_cast<int>(all.size()) - 1;
        for (; i >= 0 && all[static_cast<std::size_t>(i)] == '9'; --i) {
            all[static_cast<std::size_t>(i)] = '0';
        }
        if (i < 0) {
            all.insert(0, 1, '1');
        } else {
            ++all[static_cast<std::size_t>(i)];
        }
        integer = all.substr(0, all.size() - places);
        fraction = all.substr(all.size() - places);
    }
    const std::size_t firstNonZero = integer.find_first_not_of('0');
    integer = firstNonZero == std::string::npos ? std::string() : integer.substr(firstNonZero);
    return {integer, fraction};
}

std::string Group(const std::string& digits, std::string_view separator)
{
    std::string out;
    const std::size_t n = digits.size();
    for (std::size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) {
            out += separator;
        }
        out += digits[i];
    }
    return out;
}

std::string FormatNumberPattern(double value, std::string_view pattern,
                                const platform::locale::Settings& s)
{
    const std::vector<std::string_view> texts = SplitSections(pattern);
    std::vector<Section> sections;
    for (std::string_view text : texts) {
        sections.push_back(ParseSection(text));
    }
    const auto usable = [&](std::size_t i) { return i < texts.size() && !texts[i].empty(); };
    if (value == 0.0 && usable(2)) {
        return Render(sections[2], 0.0, s);
    }
    if (value < 0.0 && usable(1)) {
        return Render(sections[1], -value, s);
    }
    const std::string text = Render(sections[0], std::fabs(value), s);
    // A negative value that rounds to zero shows no minus sign.
    if (value < 0.0 && !IsZeroWhenRounded(-value, sections[0])) {
        return s.minusSign + text;
    }
    return text;
}

} // namespace platform::runtime::detail
