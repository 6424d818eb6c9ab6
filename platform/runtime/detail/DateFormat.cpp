#include "platform/runtime/detail/FormatPatterns.h"

#include "platform/runtime/detail/Calendar.h"
#include "platform/runtime/detail/DateText.h"

#include <cctype>
#include <vector>

namespace platform::runtime::detail {

namespace {

enum class Tok
{
    Literal,
    General,
    Day,
    Weekday,
    Week,
    Month,
    Minute,
    Quarter,
    DayOfYear,
    Year,
    Hour,
    Second,
    LongTime,
    Meridiem,
};

struct Token
{
    Token(Tok k, std::size_t n = 1, std::string t = {}) : kind(k), count(n), text(std::move(t)) {}
    Tok kind;
    std::size_t count;
    std::string text; // literal text, or the designator style for Meridiem
};

char Lower(char c)
{
    return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
}

std::size_t RunOf(std::string_view p, std::size_t i)
{
    std::size_t n = 1;
    while (i + n < p.size() && Lower(p[i + n]) == Lower(p[i])) {
        ++n;
    }
    return n;
}

bool StartsWithNoCase(std::string_view text, std::string_view prefix)
{
    if (text.size() < prefix.size()) {
        return false;
    }
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (Lower(text[i]) != Lower(prefix[i])) {
            return false;
        }
    }
    return true;
}

// The AM/PM forms: "AM/PM", "am/pm", "A/P", "a/p" keep their case; "AMPM" uses the locale's.
std::size_t MeridiemLength(std::string_view p)
{
    if (StartsWithNoCase(p, "am/pm")) {
        return 5;
    }
    if (StartsWithNoCase(p, "a/p")) {
        return 3;
    }
    if (StartsWithNoCase(p, "ampm")) {
        return 4;
    }
    return 0;
}

void Literal(std::vector<Token>& tokens, std::string text)
{
    tokens.push_back({Tok::Literal, 1, std::move(text)});
}

std::vector<Token> Tokenize(std::string_view p, const platform::locale::Settings& s)
{
    std::vector<Token> tokens;
    for (std::size_t i = 0; i < p.size();) {
        const char c = p[i];
        const char l = Lower(c);
        if (c == '"') {
            const std::size_t end = p.find('"', i + 1);
            const std::size_t stop = end == std::string_view::npos ? p.size() : end;
            Literal(tokens, std::string(p.substr(i + 1, stop - i - 1)));
            i = stop + 1;
            continue;
        }
        if (c == '\\') {
            if (i + 1 < p.size()) {
                Literal(tokens, std::string(1, p[i + 1]));
            }
            i += 2;
            continue;
        }
        if (const std::size_t n = MeridiemLength(p.substr(i)); n > 0) {
            tokens.push_back({Tok::Meridiem, 1, std::string(p.substr(i, n))});
            i += n;
            continue;
        }
        const std::size_t n = RunOf(p, i);
        switch (l) {
        case ':':
            Literal(tokens, s.timeSeparator);
            i += 1;
            continue;
        case '/':
            Literal(tokens, s.dateSeparator);
            i += 1;
            continue;
        case 'c':
            tokens.push_back({Tok::General});
            i += 1;
            continue;
        case 'd':
            tokens.push_back({Tok::Day, n});
            break;
        case 'w':
            tokens.push_back({n >= 2 ? Tok::Week : Tok::Weekday, n});
            break;
        case 'm':
            tokens.push_back({Tok::Month, n});
            break;
        case 'q':
            tokens.push_back({Tok::Quarter, 1});
            i += 1;
            continue;
        case 'y':
            if (n == 3) { // "yyy" is "yy" then "y"
                tokens.push_back({Tok::Year, 2});
                tokens.push_back({Tok::DayOfYear, 1});
            } else {
                tokens.push_back({n == 1 ? Tok::DayOfYear : Tok::Year, n});
            }
            break;
        case 'h':
            tokens.push_back({Tok::Hour, n});
            break;
        case 'n':
            tokens.push_back({Tok::Minute, n});
            break;
        case 's':
            tokens.push_back({Tok::Second, n});
            break;
        case 't':
            if (n >= 5) {
                tokens.push_back({Tok::LongTime, n});
                break;
            }
            Literal(tokens, std::string(p.substr(i, n)));
            break;
        default:
            Literal(tokens, std::string(1, c));
            i += 1;
            continue;
        }
        i += n;
    }
    // "m" right after an hour, or right before a second, is the minute.
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (tokens[i].kind != Tok::Month || tokens[i].count > 2) {
            continue;
        }
        std::size_t before = i;
        while (before > 0 && tokens[before - 1].kind == Tok::Literal) {
            --before;
        }
        std::size_t after = i + 1;
        while (after < tokens.size() && tokens[after].kind == Tok::Literal) {
            ++after;
        }
        if ((before > 0 && tokens[before - 1].kind == Tok::Hour) ||
            (after < tokens.size() && tokens[after].kind == Tok::Second)) {
            tokens[i].kind = Tok::Minute;
        }
    }
    return tokens;
}

std::string Padded(int value, std::size_t count)
{
    std::string text = std::to_string(value);
    if (count >= 2 && text.size() < 2) {
        text.insert(0, 1, '0');
    }
    return text;
}

std::string MeridiemText(const std::string& style, int hour, const platform::locale::Settings& s)
{
    const bool am = hour < 12;
    if (StartsWithNoCase(style, "ampm")) {
        return am ? s.amDesignator : s.pmDesignator;
    }
    // "AM/PM" -> "AM" or "PM", "a/p" -> "a" or "p": the pattern's own letters and case.
    const std::size_t slash = style.find('/');
    return am ? style.substr(0, slash) : style.substr(slash + 1);
}

} // namespace

bool IsDatePattern(std::string_view pattern)
{
    bool quoted = false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '"') {
            quoted = !quoted;
        } else if (quoted) {
            continue;
        } else if (c == '\\') {
            ++i;
        } else if (std::string_view("dwmqyhnsc").find(Lower(c)) != std::string_view::npos ||
                   MeridiemLength(pattern.substr(i)) > 0 ||
                   StartsWithNoCase(pattern.substr(i), "ttttt")) {
            return true;
        }
    }
    return false;
}

std::string FormatDatePattern(Date date, std::string_view pattern, DayOfWeek firstDay,
                              FirstWeekOfYear firstWeek, const platform::locale::Settings& s)
{
    const std::vector<Token> tokens = Tokenize(pattern, s);
    bool twelveHours = false;
    for (const Token& t : tokens) {
        twelveHours = twelveHours || t.kind == Tok::Meridiem;
    }
    const DateFields f = Fields(date);
    std::string out;
    for (const Token& t : tokens) {
        switch (t.kind) {
        case Tok::Literal:
            out += t.text;
            break;
        case Tok::General:
            out += GeneralDate(date, s);
            break;
        case Tok::Day:
            if (t.count >= 6) {
                out += RenderPicture(date, s.longDatePattern, s);
            } else if (t.count == 5) {
                out += RenderPicture(date, s.shortDatePattern, s);
            } else if (t.count >= 3) {
                const int weekday = Weekday(date);
                out += t.count == 4 ? s.dayNames[weekday - 1] : s.dayAbbreviations[weekday - 1];
            } else {
                out += Padded(f.day, t.count);
            }
            break;
        case Tok::Weekday:
            out += std::to_string(Weekday(date, firstDay));
            break;
        case Tok::Week:
            out += std::to_string(DatePart("ww", date, firstDay, firstWeek));
            break;
        case Tok::Month:
            if (t.count >= 4) {
                out += s.monthNames[f.month - 1];
            } else if (t.count == 3) {
                out += s.monthAbbreviations[f.month - 1];
            } else {
                out += Padded(f.month, t.count);
            }
            break;
        case Tok::Minute:
            out += Padded(f.minute, t.count);
            break;
        case Tok::Quarter:
            out += std::to_string((f.month - 1) / 3 + 1);
            break;
        case Tok::DayOfYear:
            out += std::to_string(DatePart("y", date));
            break;
        case Tok::Year:
            out += t.count == 2 ? Padded(f.year % 100, 2) : std::to_string(f.year);
            break;
        case Tok::Hour: {
            const int hour = twelveHours ? (f.hour % 12 == 0 ? 12 : f.hour % 12) : f.hour;
            out += Padded(hour, t.count);
            break;
        }
        case Tok::Second:
            out += Padded(f.second, t.count);
            break;
        case Tok::LongTime:
            out += RenderPicture(date, s.longTimePattern, s);
            break;
        case Tok::Meridiem:
            out += MeridiemText(t.text, f.hour, s);
            break;
        }
    }
    return out;
}

} // namespace platform::runtime::detail
