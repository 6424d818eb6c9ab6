#include "platform/runtime/detail/DateText.h"

#include "platform/runtime/Strings.h"
#include "platform/runtime/detail/Calendar.h"

#include <cctype>
#include <vector>

namespace platform::runtime::detail {

namespace {

struct Token
{
    enum class Kind
    {
        Number,
        Word,
        Colon
    };
    explicit Token(Kind k) : kind(k) {}
    Kind kind;
    int value = 0;          // numbers
    std::size_t digits = 0; // numbers
    std::string text;       // words
    bool used = false;
};

bool IsWordByte(char c)
{
    return std::isalpha(static_cast<unsigned char>(c)) || (static_cast<unsigned char>(c) & 0x80);
}

std::optional<std::vector<Token>> Tokenize(std::string_view text)
{
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (std::isdigit(static_cast<unsigned char>(c))) {
            Token t(Token::Kind::Number);
            while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
                if (t.digits < 9) {
                    t.value = t.value * 10 + (text[i] - '0');
                }
                ++t.digits;
                ++i;
            }
            tokens.push_back(t);
        } else if (IsWordByte(c)) {
            Token t(Token::Kind::Word);
            while (i < text.size() && IsWordByte(text[i])) {
                t.text += text[i++];
            }
            tokens.push_back(t);
        } else if (c == ':') {
            tokens.emplace_back(Token::Kind::Colon);
            ++i;
        } else if (std::string_view(" \t./-,").find(c) != std::string_view::npos) {
            ++i;
        } else {
            return std::nullopt;
        }
    }
    return tokens;
}

bool IsNumber(const std::vector<Token>& t, std::size_t i)
{
    return i < t.size() && t[i].kind == Token::Kind::Number;
}

bool IsColon(const std::vector<Token>& t, std::size_t i)
{
    return i < t.size() && t[i].kind == Token::Kind::Colon;
}

// 0 for AM, 12 for PM, nothing for other words.
std::optional<int> Meridiem(const std::string& word, const platform::locale::Settings& s)
{
    for (std::string_view am :
         {std::string_view(s.amDesignator), std::string_view("AM"), std::string_view("A")}) {
        if (!am.empty() && TextEquals(word, am)) {
            return 0;
        }
    }
    for (std::string_view pm :
         {std::string_view(s.pmDesignator), std::string_view("PM"), std::string_view("P")}) {
        if (!pm.empty() && TextEquals(word, pm)) {
            return 12;
        }
    }
    return std::nullopt;
}

struct Time
{
    int hour = 0, minute = 0, second = 0;
};

// Finds "h:n[:s] [AM|PM]" or "h AM|PM" and marks its tokens used.
std::optional<std::optional<Time>> TakeTime(std::vector<Token>& t,
                                            const platform::locale::Settings& s)
{
    for (std::size_t i = 0; i < t.size(); ++i) {
        if (!IsNumber(t, i)) {
            continue;
        }
        std::size_t end = i + 1;
        Time time{t[i].value};
        const bool clock = IsColon(t, i + 1) && IsNumber(t, i + 2);
        if (clock) {
            time.minute = t[i + 2].value;
            end = i + 3;
            if (IsColon(t, end) && IsNumber(t, end + 1)) {
                time.second = t[end + 1].value;
                end += 2;
            }
        }
        std::optional<int> meridiem;
        if (end < t.size() && t[end].kind == Token::Kind::Word) {
            meridiem = Meridiem(t[end].text, s);
        }
        if (!clock && !meridiem) {
            continue;
        }
        if (meridiem) {
            // Report texts write a 24-hour time followed by the day-period designator
            // ("1/1/2027 14:00 PM", "00:30 AM"): an hour of 0 or above 12 on a clock time is
            // already on the 24-hour clock, and the designator adds nothing to it.
            const bool twentyFourHour = clock && (time.hour == 0 || time.hour > 12);
            if (!twentyFourHour && (time.hour < 1 || time.hour > 12)) {
                return std::nullopt;
            }
            if (!twentyFourHour) {
                time.hour = time.hour % 12 + *meridiem;
            }
            ++end;
        }
        if (time.hour > 23 || time.minute > 59 || time.second > 59) {
            return std::nullopt;
        }
        for (std::size_t k = i; k < end; ++k) {
            t[k].used = true;
        }
        return std::optional<Time>(time);
    }
    return std::optional<Time>();
}

std::optional<int> MonthFromName(const std::string& word, const platform::locale::Settings& s)
{
    const platform::locale::Settings& english = platform::locale::Get("en-US");
    for (const platform::locale::Settings* names : {&s, &english}) {
        for (int m = 0; m < 12; ++m) {
            if (TextEquals(word, names->monthNames[m]) ||
                TextEquals(word, names->monthAbbreviations[m])) {
                return m + 1;
            }
        }
    }
    return std::nullopt;
}

bool IsDayName(const std::string& word, const platform::locale::Settings& s)
{
    for (int d = 0; d < 7; ++d) {
        if (TextEquals(word, s.dayNames[d]) || TextEquals(word, s.dayAbbreviations[d])) {
            return true;
        }
    }
    return false;
}

// The order of day, month and year in the locale's short date: "dmy", "mdy" or "ymd".
std::string FieldOrder(const platform::locale::Settings& s)
{
    std::string order;
    for (char c : s.shortDatePattern) {
        const char field = c == 'd' ? 'd' : c == 'M' ? 'm' : c == 'y' ? 'y' : '\0';
        if (field && order.find(field) == std::string::npos) {
            order += field;
        }
    }
    return order.size() == 3 ? order : "mdy";
}

int FullYear(const Token& t)
{
    if (t.digits <= 2) {
        return t.value < 30 ? 2000 + t.value : 1900 + t.value;
    }
    return t.value;
}

struct Ymd
{
    int year = 0, month = 0, day = 0;
};

std::optional<Ymd> DateFromNumbers(const std::vector<Token>& n, std::optional<int> monthName,
                                   const platform::locale::Settings& s)
{
    const int currentYear = Year(Today());
    const auto isYear = [](const Token& t) { return t.digits >= 3 || t.value > 31; };
    if (monthName) {
        if (n.size() == 1) {
            return isYear(n[0]) ? Ymd{FullYear(n[0]), *monthName, 1}
                                : Ymd{currentYear, *monthName, n[0].value};
        }
        if (n.size() == 2) {
            return isYear(n[0]) ? Ymd{FullYear(n[0]), *monthName, n[1].value}
                                : Ymd{FullYear(n[1]), *monthName, n[0].value};
        }
        return std::nullopt;
    }
    if (n.size() == 3) {
        if (isYear(n[0])) {
            return Ymd{FullYear(n[0]), n[1].value, n[2].value};
        }
        const std::string order = FieldOrder(s);
        Ymd ymd;
        for (std::size_t i = 0; i < 3; ++i) {
            (order[i] == 'd'   ? ymd.day
             : order[i] == 'm' ? ymd.month
                               : ymd.year) = order[i] == 'y' ? FullYear(n[i]) : n[i].value;
        }
        return ymd;
    }
    if (n.size() == 2) {
        if (isYear(n[1])) { // "12/2023": month and year
            return Ymd{FullYear(n[1]), n[0].value, 1};
        }
        const bool dayFirst = FieldOrder(s).find('d') < FieldOrder(s).find('m');
        return dayFirst ? Ymd{currentYear, n[1].value, n[0].value}
                        : Ymd{currentYear, n[0].value, n[1].value};
    }
    return std::nullopt;
}

} // namespace

std::optional<Date> ParseDate(std::string_view text, const platform::locale::Settings& s)
{
    std::optional<std::vector<Token>> tokens = Tokenize(text);
    if (!tokens || tokens->empty()) {
        return std::nullopt;
    }
    const std::optional<std::optional<Time>> time = TakeTime(*tokens, s);
    if (!time) {
        return std::nullopt;
    }
    std::vector<Token> numbers;
    std::optional<int> monthName;
    for (const Token& t : *tokens) {
        if (t.used) {
            continue;
        }
        if (t.kind == Token::Kind::Number) {
            numbers.push_back(t);
        } else if (t.kind == Token::Kind::Colon) {
            return std::nullopt;
        } else if (std::optional<int> m = MonthFromName(t.text, s); m && !monthName) {
            monthName = m;
        } else if (!IsDayName(t.text, s) && !TextEquals(t.text, "T")) {
            return std::nullopt;
        }
    }
    double serial = 0.0;
    if (!numbers.empty() || monthName) {
        const std::optional<Ymd> ymd = DateFromNumbers(numbers, monthName, s);
        if (!ymd || ymd->month < 1 || ymd->month > 12 || ymd->year < 100 || ymd->year > 9999 ||
            ymd->day < 1 || ymd->day > DaysInMonth(ymd->year, ymd->month)) {
            return std::nullopt;
        }
        serial = static_cast<double>(DaysFromCivil(ymd->year, ymd->month, ymd->day));
    } else if (!*time) {
        return std::nullopt;
    }
    if (*time) {
        const Time& t = **time;
        serial += (t.hour * 3600.0 + t.minute * 60.0 + t.second) / 86400.0;
    }
    return Date::FromLinear(serial);
}

} // namespace platform::runtime::detail
