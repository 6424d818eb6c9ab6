#include "platform/runtime/detail/DateText.h"

#include "platform/runtime/detail/Calendar.h"

#include <cctype>
#include <cstdio>
#include <vector>

namespace platform::runtime::detail {

namespace {

std::string TwoDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%02d", value);
    return buffer;
}

std::string FourDigits(int value)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d", value);
    return buffer;
}

std::size_t Run(std::string_view s, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < s.size() && s[i + n] == s[i]) {
        ++n;
    }
    return n;
}

int Hour12(int hour)
{
    return hour % 12 == 0 ? 12 : hour % 12;
}

std::string PictureToken(char c, std::size_t n, const DateFields& f, int weekday,
                         const platform::locale::Settings& s)
{
    switch (c) {
    case 'd':
        if (n >= 4) {
            return s.dayNames[weekday - 1];
        }
        if (n == 3) {
            return s.dayAbbreviations[weekday - 1];
        }
        return n == 2 ? TwoDigits(f.day) : std::to_string(f.day);
    case 'M':
        if (n >= 4) {
            return s.monthNames[f.month - 1];
        }
        if (n == 3) {
            return s.monthAbbreviations[f.month - 1];
        }
        return n == 2 ? TwoDigits(f.month) : std::to_string(f.month);
    case 'y':
        if (n <= 2) {
            return n == 2 ? TwoDigits(f.year % 100) : std::to_string(f.year % 100);
        }
        return FourDigits(f.year);
    case 'h':
        return n >= 2 ? TwoDigits(Hour12(f.hour)) : std::to_string(Hour12(f.hour));
    case 'H':
        return n >= 2 ? TwoDigits(f.hour) : std::to_string(f.hour);
    case 'm':
        return n >= 2 ? TwoDigits(f.minute) : std::to_string(f.minute);
    case 's':
        return n >= 2 ? TwoDigits(f.second) : std::to_string(f.second);
    case 't': {
        const std::string& designator = f.hour < 12 ? s.amDesignator : s.pmDesignator;
        return n >= 2 ? designator : designator.substr(0, 1);
    }
    default:
        return std::string(n, c);
    }
}

} // namespace

std::string RenderPicture(Date date, std::string_view picture, const platform::locale::Settings& s)
{
    const DateFields f = Fields(date);
    const int weekday = WeekdaySundayBased(DaysFromCivil(f.year, f.month, f.day));
    std::string out;
    std::size_t i = 0;
    while (i < picture.size()) {
        const char c = picture[i];
        if (c == '\'') {
            const std::size_t end = picture.find('\'', i + 1);
            if (end == i + 1) {
                out += '\''; // '' is a quote
            } else {
                out.append(picture.substr(
                    i + 1, (end == std::string_view::npos ? picture.size() : end) - i - 1));
            }
            i = end == std::string_view::npos ? picture.size() : end + 1;
            continue;
        }
        if (std::string_view("dMyhHmst").find(c) != std::string_view::npos) {
            const std::size_t n = Run(picture, i);
            out += PictureToken(c, n, f, weekday, s);
            i += n;
            continue;
        }
        out += c;
        ++i;
    }
    return out;
}

std::string GeneralDate(Date date, const platform::locale::Settings& s)
{
    const double linear = date.Linear();
    const bool hasDay = linear >= 1.0 || linear < 0.0;
    const bool hasTime =
        Fields(date).hour != 0 || Fields(date).minute != 0 || Fields(date).second != 0;
    if (!hasDay) {
        return RenderPicture(date, s.longTimePattern, s);
    }
    if (!hasTime) {
        return RenderPicture(date, s.shortDatePattern, s);
    }
    return RenderPicture(date, s.shortDatePattern, s) + " " +
           RenderPicture(date, s.longTimePattern, s);
}

} // namespace platform::runtime::detail
